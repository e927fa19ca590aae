#ifndef QEL_UI_SHELL_SCREEN_HELPERS_H
#define QEL_UI_SHELL_SCREEN_HELPERS_H

#include <QAbstractButton>
#include <QIcon>
#include <QVariant>

#include "core/global.h"

// Opens a setting screen: made with no parent and kept in its global, on its
// page, run modally. Nothing when it is open already.
template <class Screen>
void open_screen(Screen *&global, u8 page)
{
    if (global)
        return;
    global = new Screen();
    g_page_focus = page;
    global->exec();
}

// The back arrow on a Back button, its path in "res".
inline void set_back_icon(QAbstractButton *button)
{
    const QString res = QStringLiteral(":/png/back.png");
    button->setIcon(QIcon(res));
    button->setProperty("res", res);
    button->setIconSize(QSize(32, 32));
}

#endif
