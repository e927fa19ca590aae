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

void put16(u8 *img, int off, u16 v)
{
    img[off] = u8(v & 0xFF);
    img[off + 1] = u8(v >> 8);
}

// Six windows on; 40 crops on HDMI1, which window 0 shows (crop 40).
void fill(QelRamPara *p)
{
    u8 *img = p->ram_para;
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        put16(img, Img::window(w, Img::W_ON), 1);
        img[Img::window(w, Img::W_SOURCE)] = u8(w);
        img[Img::window(w, Img::W_CROP_FLAG)] = 0;
    }
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        put16(img, Img::crop(k), u16(0x8000 | (k << 8) | 2));
        put16(img, Img::crop(k) + 6, 640);
        put16(img, Img::crop(k) + 8, 360);
    }
    img[Img::window(0, Img::W_SOURCE)] = 39;
    img[Img::window(0, Img::W_CROP_FLAG)] = 0x80;
    put16(img, Img::INPUT_TIMING + 6 * 2, 1920);
    put16(img, Img::INPUT_TIMING + 6 * 2 + 2, 1080);
    put16(img, Img::INPUT_TIMING + 6 * 2 + 4, 60);
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
