// Tours of the output screens: output, network and USB, smart mapping.
#include "tools/screenshots/tour_kit.h"

namespace tour {

void output(ScreenTour &t)
{
    t.view(QStringLiteral("led"));
    t.list(QStringLiteral("comboBox"), QStringLiteral("led_splice"));
    t.keypads({{QStringLiteral("lineEdit_out1_width"), QStringLiteral("width"), QString()},
               {QStringLiteral("lineEdit_out1_height"), QStringLiteral("height"), QString()}});
    if (t.press(QStringLiteral("Button_lanset")))
        t.view(QStringLiteral("ports"), QStringLiteral("tiles_frame"));
}

// The serial line, the address fields with a keypad for each row, and the
// stick's upgrade packages.
void network(ScreenTour &t)
{
    t.view(QStringLiteral("serial"));
    if (t.press(QStringLiteral("Button_wlan"))) {
        t.view(QStringLiteral("network"), QStringLiteral("lineEditIp1"));
        t.keypads({{QStringLiteral("lineEditIp1"), QStringLiteral("ip"), QString()},
                   {QStringLiteral("lineEditMask1"), QStringLiteral("mask"), QString()},
                   {QStringLiteral("lineEditGate1"), QStringLiteral("gateway"), QString()}});
    }
    if (t.press(QStringLiteral("Button_usb")))
        t.view(QStringLiteral("usb"), QStringLiteral("row_label_0"));
}

// The three steps of the shortcut (a 500 x 500 cabinet, 2 rows of 4) with
// the routing choice, the two steps of loading a scan file (the list of the
// device's and the stick's files), curing with the progress ring of its
// job, and the mapping switch.
void smart_mapping(ScreenTour &t)
{
    t.keypads({{QStringLiteral("lineEdit_X"), QStringLiteral("width"), QStringLiteral("500")},
               {QStringLiteral("lineEdit_Y"), QStringLiteral("height"), QStringLiteral("500")}});
    t.view(QStringLiteral("step1"));
    if (t.press(QStringLiteral("Button_next")))
        t.view(QStringLiteral("step2"), QStringLiteral("tiles_frame"));
    if (t.press(QStringLiteral("Button_next_2"))) {
        t.keypads({{QStringLiteral("lineEdit_line"), QStringLiteral("rows"), QStringLiteral("2")},
                   {QStringLiteral("lineEdit_column"), QStringLiteral("columns"), QStringLiteral("4")},
                   {QStringLiteral("lineEdit_horzion"), QStringLiteral("horizontal"), QString()},
                   {QStringLiteral("lineEdit_vert"), QStringLiteral("vertical"), QString()}});
        t.view(QStringLiteral("step3"), QStringLiteral("label_step3"));
    }
    if (t.press(QStringLiteral("Button_route"))) {
        t.view(QStringLiteral("routing"), QStringLiteral("Button_route16"));
        t.press(QStringLiteral("Button_cancel"));
    }
    if (t.press(QStringLiteral("Button_loadscan")))
        t.view(QStringLiteral("loadscan_port"), QStringLiteral("label_step1_5"));
    if (t.press(QStringLiteral("Button_next_5")))
        t.view(QStringLiteral("loadscan_files"), QStringLiteral("row_label_0"));
    if (t.press(QStringLiteral("Button_paraweld"))) {
        t.view(QStringLiteral("curing"), QStringLiteral("Button_confirm"));
        // the cards keep their parameters: the progress ring on its way
        if (t.press(QStringLiteral("Button_confirm")))
            t.walk.run_card_job([&t] { t.view(QStringLiteral("curing_ring"), QStringLiteral("qround_bar")); });
    }
    if (t.press(QStringLiteral("Button_mapping")))
        t.view(QStringLiteral("mapping"), QStringLiteral("Button_mapping_state"));
}

}
