#include <QDialog>
#include <cstdio>
#include <cstring>

#include "bench/bench.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/input/inputchoose.h"
#include "ui_inputchoose.h"

namespace {

double g_open_ns = 0;

// Six windows on; 40 crops on HDMI1, which window 0 shows (crop 40).
void fill(QelRamPara *p)
{
    u8 *img = p->ram_para;
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        WindowEdit win(img, w);
        win.setOn(true);
        win.setInput(u8(w));
    }
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        CropEdit crop(img, k);
        crop.setCropWord(Img::cropWord(2, k + 1));
        crop.setRect(0, 0, 640, 360);
    }
    WindowEdit(img, 0).setCropRecord(39);
    Img::wr16(img, Img::INPUT_TIMING + 6 * 2, 1920);
    Img::wr16(img, Img::INPUT_TIMING + 6 * 2 + 2, 1080);
    Img::wr16(img, Img::INPUT_TIMING + 6 * 2 + 4, 60);
    std::memcpy(p->ram_para_shadow, img, Img::SIZE);
}

}

QEL_BENCH("open input choice, 40 crops, 6 windows on")
{
    TestRoot root;
    fill(QelRamPara::pInstance());
    const double ns = benchTime(200, [] {
        InputChoose dlg;
        dlg.show();
    });
    QelRamPara::destroyInstance();
    g_open_ns = ns;
    return ns;
}

QEL_BENCH("input choice: form only")
{
    const double ns = benchTime(200, [] {
        QDialog dlg;
        Ui::InputChoose form;
        form.setupUi(&dlg);
        dlg.show();
    });
    if (g_open_ns > 0 && ns > 0)
        printf("%-60s %10.1f x\n", "input choice: screen / form only (ratio)", g_open_ns / ns);
    return ns;
}
