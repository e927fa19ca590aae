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
        CropEdit crop(p->ram_para, k);
        crop.setCropWord(Img::cropWord(slot, number));
        crop.setRect(0, 0, 320, 180);
    }
    for (int w = 0; w < 6; ++w) {
        WindowEdit win(p->ram_para, w);
        win.setOn(true);
        if (w % 2)
            win.setCropRecord(u8(w * 5));
        else
            win.setInput(u8(w));
        win.setWidth(320);
        win.setHeight(180);
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
