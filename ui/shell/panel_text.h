#ifndef QEL_UI_SHELL_PANEL_TEXT_H
#define QEL_UI_SHELL_PANEL_TEXT_H

#include <QString>

#include "core/global.h"

// The language a text is shown in: 0 zh, 1 en, 2 ru, 3 vn, 4 zh-TW.
// A language counts only while its bit of g_lcd_lang_valid is set; English
// stands in otherwise.
inline int panel_language()
{
    const int lang = g_language;
    if (lang == 1 || lang > 4)
        return 1;
    return (g_lcd_lang_valid & (1 << lang)) ? lang : 1;
}

// The fixed name of input slot 0..5, the same in every language; empty for
// any other slot.
inline QString input_slot_name(int slot)
{
    static const char *const names[6] = {"EXT", "DVI", "HDMI1", "HDMI2", "HDMI3", "HDMI4"};
    return slot >= 0 && slot <= 5 ? QString::fromLatin1(names[slot]) : QString();
}

// One text in the five panel languages (UTF-8).
struct PanelText
{
    const char *zh;
    const char *en;
    const char *ru;
    const char *vn;
    const char *tw;

    QString text() const
    {
        switch (panel_language()) {
        case 0: return QString::fromUtf8(zh);
        case 2: return QString::fromUtf8(ru);
        case 3: return QString::fromUtf8(vn);
        case 4: return QString::fromUtf8(tw);
        default: return QString::fromUtf8(en);
        }
    }
};

#endif
