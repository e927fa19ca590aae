#include <QCoreApplication>
#include <QPushButton>

#include "bench/bench.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/picture/custommode.h"

namespace {

// Sixteen saved modes, each with six windows on, the display on with its own
// menu copy, and a name.
void saveSixteenModes(const TestRoot &root, QelRamPara *p)
{
    QByteArray names = R"({"namelist":{"usermode":[)";
    for (int s = 0; s < 16; ++s) {
        USER_MODE_PARA &m = p->user_mode[s];
        m.flag[0] = m.flag[1] = 0xAA;
        for (int w = 0; w < 6; ++w) {
            WindowEdit win(m.para, w, Img::USER_PAYLOAD);
            win.setOn(true);
            win.setInput(u8(w));
            win.setWidth(1920);
            win.setHeight(1080);
        }
        Img::wr16(m.para, Img::payload(Img::OSD_ON), 1);
        root.write(QelRamPara::userModeOsdPath(s),
                   R"({"osdcount":1,"osdlist":[{"x":0,"y":0,"w":1920,"h":64,"effect":4,"speed":3,)"
                   R"("back_color":"0x000000","font_color":"0xFFFFFF","texts":"one\ntwo\nthree\nfour"}]})");
        names += QStringLiteral(R"(%1{"id":%2,"valid":"on","name":"Stage %2"})").arg(s ? "," : "").arg(s).toUtf8();
    }
    root.write(QStringLiteral("/data/configs/alias.json"), names + "]}}");
    p->set_u16(Img::CURRENT_MODE, 1);
}

}

QEL_BENCH("user modes: switch the preview between two slots")
{
    TestRoot root;
    saveSixteenModes(root, QelRamPara::pInstance());
    CustomMode screen;
    screen.show();
    QCoreApplication::processEvents();   // the tiles below the first view
    QPushButton *a = screen.findChild<QPushButton *>(QStringLiteral("3"));
    QPushButton *b = screen.findChild<QPushButton *>(QStringLiteral("7"));
    int n = 0;
    const double ns = benchTime(200, [&] { (n++ % 2 ? a : b)->click(); });
    QelRamPara::destroyInstance();
    return ns;
}
