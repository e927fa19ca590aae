// Tours of the picture screens: window layout, picture quality, test
// patterns, user modes.
#include <QCoreApplication>

#include "tools/screenshots/tour_kit.h"

namespace tour {

// Window 1 with its point-to-point list and its fields' keypads, then
// window 4, which is off.
void window_layout(ScreenTour &t)
{
    t.view();
    t.list(QStringLiteral("comboBox_P2P"), QStringLiteral("dbd"));
    t.keypads({{QStringLiteral("lineEdit_X"), QStringLiteral("x"), QString()},
               {QStringLiteral("lineEdit_Y"), QStringLiteral("y"), QString()},
               {QStringLiteral("lineEdit_W"), QStringLiteral("w"), QString()},
               {QStringLiteral("lineEdit_H"), QStringLiteral("h"), QString()}});
    if (t.press(QStringLiteral("3"), QStringLiteral("layout_frame")))
        t.view(QStringLiteral("window4"), QStringLiteral("button_state"));
}

void picture_quality(ScreenTour &t)
{
    t.view(QStringLiteral("quality"));
    if (t.press(QStringLiteral("Button_temperature"))) {
        t.view(QStringLiteral("temperature"), QStringLiteral("horizontalSlider_red"));
        t.list(QStringLiteral("comboBox"), QStringLiteral("temperature_types"));
    }
}

// The first pattern on the wall, then off again.
void test_patterns(ScreenTour &t)
{
    t.view();
    if (t.press(QStringLiteral("0"), QStringLiteral("frame"))) {
        t.view(QStringLiteral("pattern"));
        t.press(QStringLiteral("Button_closetest"));
    }
}

// The current mode (saved, its preview), then an empty slot.
void user_modes(ScreenTour &t)
{
    t.view(QString(), QStringLiteral("preview"));
    QCoreApplication::processEvents();   // the tiles' buttons follow the first paint
    if (t.press(QStringLiteral("1"), QStringLiteral("mode_content")))
        t.view(QStringLiteral("empty"), QStringLiteral("label_blank"));
}

}
