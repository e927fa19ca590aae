#include <QDialog>

#include "bench/bench.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/picture/imagelayout.h"
#include "ui_imagelayout.h"

namespace {

// 40 crops spread over the six inputs, all six windows on, every other one
// fed by a crop.
void fillImage(QelRamPara *p)
{
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const int slot = k % 6;
        const int number = k / 6 + 1;
        p->set_u16(Img::crop(k), u16(0x8000 | ((number - 1) << 8) | slot));
        p->set_u16(Img::crop(k) + 6, 320);
        p->set_u16(Img::crop(k) + 8, 180);
    }
    for (int w = 0; w < 6; ++w) {
        p->set_u16(Img::window(w, Img::W_ON), 1);
        p->set_u16(Img::window(w, Img::W_SOURCE), w % 2 ? u16(0x8000 | (w * 5)) : u16(w));
        p->set_u16(Img::window(w, Img::W_W), 320);
        p->set_u16(Img::window(w, Img::W_H), 180);
    }
}

}

QEL_BENCH("open window layout, 40 crops, 6 windows on")
{
    TestRoot root;
    fillImage(QelRamPara::pInstance());
    const double ns = benchTime(200, [] {
        ImageLayout *s = new ImageLayout;
        delete s;
    });
    QelRamPara::destroyInstance();
    return ns;
}

QEL_BENCH("open window layout, form alone")
{
    TestRoot root;
    fillImage(QelRamPara::pInstance());
    const double ns = benchTime(200, [] {
        QDialog *d = new QDialog;
        Ui::ImageLayout ui;
        ui.setupUi(d);
        delete d;
    });
    QelRamPara::destroyInstance();
    return ns;
}
