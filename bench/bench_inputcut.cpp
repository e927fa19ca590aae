#include <QDialog>
#include <cstdio>
#include <cstring>

#include "bench/bench.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/input/inputcut.h"
#include "ui_inputcut.h"

namespace {

double g_open_ns = 0;

// 40 crops on HDMI1, the input the screen opens on, which has a signal.
void fill(QelRamPara *p)
{
    u8 *img = p->ram_para;
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        CropEdit crop(img, k);
        crop.setCropWord(Img::cropWord(2, k + 1));
        crop.setRect(0, 0, 640, 360);
    }
    InputTiming<u8>(img, 2).set(1920, 1080, 60);
    std::memcpy(p->ram_para_shadow, img, Img::SIZE);
}

}

QEL_BENCH("open input crop, 40 crops on the shown input")
{
    TestRoot root;
    fill(QelRamPara::pInstance());
    const double ns = benchTime(200, [] {
        InputCut dlg;
        dlg.show();
    });
    QelRamPara::destroyInstance();
    g_open_ns = ns;
    return ns;
}

QEL_BENCH("input crop: form only")
{
    const double ns = benchTime(200, [] {
        QDialog dlg;
        Ui::InputCut form;
        form.setupUi(&dlg);
        dlg.show();
    });
    if (g_open_ns > 0 && ns > 0)
        printf("%-60s %10.1f x\n", "input crop: screen / form only (ratio)", g_open_ns / ns);
    return ns;
}
