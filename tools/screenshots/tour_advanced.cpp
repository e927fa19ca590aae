// Tour of the advanced settings screen.
#include <QDialog>

#include "tools/screenshots/tour_device.h"
#include "tools/screenshots/tour_kit.h"

namespace tour {

// The time-outs; the receiving cards' page before and after a check (it
// finds the card of LED3 that lost its parameters); the other settings;
// languages and resets; the ageing log behind its code.
void advanced(ScreenTour &t)
{
    t.view(QStringLiteral("lcd"));
    if (t.press(QStringLiteral("Button_rcv_recovery"))) {
        t.view(QStringLiteral("recovery"), QStringLiteral("Button_check"));
        if (t.press(QStringLiteral("Button_check")) && t.walk.run_card_job())
            t.view(QStringLiteral("check"), QStringLiteral("row_label_0"));
    }
    if (t.press(QStringLiteral("Button_other"))) {
        t.view(QStringLiteral("other"), QStringLiteral("Button_wifi_state"));
        t.list(QStringLiteral("ImageVolume"), QStringLiteral("other_volume"));
    }
    if (t.press(QStringLiteral("Button_factory"))) {
        t.view(QStringLiteral("languages"), QStringLiteral("Button_english"));
        if (t.press(QStringLiteral("Button_reset")))
            t.view(QStringLiteral("resets"), QStringLiteral("Button_reset1"));
    }
    const AgeingLog log;
    if (t.walk.keypad_entry(t.name(QStringLiteral("keypad_code")), {t.screen}, QStringLiteral("5093"),
                            [&t] { return t.press(QStringLiteral("Button_factory_age")); }))
        t.view(QStringLiteral("ageing"), QStringLiteral("label_log1"));
}

}
