#ifndef QEL_UI_PICTURE_SETTINGS_PAGE_H
#define QEL_UI_PICTURE_SETTINGS_PAGE_H

#include <QWidget>

#include "core/global.h"
#include "ui/shell/option.h"
#include "ui/shell/screens.h"

// Back on a screen of the settings menu: the screen closes and goes, its
// global is cleared and the settings menu has the panel again.
template <class Screen> void back_to_settings(Screen *screen, Screen *&global)
{
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->close();
    if (global == screen)
        global = nullptr;
    if (g_option)
        g_option->language_changed();
    g_page_focus = PAGE_SETTINGS;
}

#endif
