// Tours of the input screens: input choice, input crop, EDID.
#include "tools/screenshots/tour_kit.h"

namespace tour {

namespace {
const QList<ScreenTour::Field> kRectFields = {
    {QStringLiteral("lineEdit_X"), QStringLiteral("x"), QString()},
    {QStringLiteral("lineEdit_Y"), QStringLiteral("y"), QString()},
    {QStringLiteral("lineEdit_W"), QStringLiteral("w"), QString()},
    {QStringLiteral("lineEdit_H"), QStringLiteral("h"), QString()},
};
}

// Window 1 on HDMI1, then window 2 on its first crop (the crop's tile in
// use); the menu's pop-up to the crop and EDID screens; HDMI2, no signal.
void input_choice(ScreenTour &t)
{
    t.view();
    if (t.press(QStringLiteral("1"), QStringLiteral("menu_frame")))
        t.view(QStringLiteral("window2"), QStringLiteral("badge_1"));
    if (t.press(QStringLiteral("Button_menu"))) {
        t.view(QStringLiteral("menu"), QStringLiteral("button_inputcut"));
        t.press(QStringLiteral("Button_menu"));
    }
    if (t.press(QStringLiteral("Button_HDMI2")))
        t.view(QStringLiteral("hdmi2"));
}

// HDMI1's tiles, the form adding a crop with its fields' keypads, the form
// editing the first crop; HDMI2, no signal.
void input_crop(ScreenTour &t)
{
    t.view();
    if (t.press(QStringLiteral("Button_add"), QStringLiteral("frame_source"))) {
        t.view(QStringLiteral("form_add"), QStringLiteral("frame_add"));
        t.keypads(kRectFields);
        t.press(QStringLiteral("Button_cancel"));
    }
    if (t.press(QStringLiteral("1"), QStringLiteral("frame_source"))) {
        t.view(QStringLiteral("form_edit"), QStringLiteral("Button_delete"));
        t.press(QStringLiteral("Button_cancel"));
    }
    // the input row's click areas are the screen's own children "0".."5"
    if (t.press(QStringLiteral("1")))
        t.view(QStringLiteral("hdmi2"));
}

// HDMI1's EDID timing, and its form with the keypads.
void edid(ScreenTour &t)
{
    t.view();
    if (t.press(QStringLiteral("0"), QStringLiteral("frame_source"))) {
        t.view(QStringLiteral("form"), QStringLiteral("frame_add"));
        t.keypads({kRectFields[2], kRectFields[3]});
        t.press(QStringLiteral("Button_cancel"));
    }
}

}
