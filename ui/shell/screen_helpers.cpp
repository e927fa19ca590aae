#include "ui/shell/screen_helpers.h"

#include <QAbstractButton>
#include <QIcon>
#include <QLabel>
#include <QPixmap>

#include "ui/shell/my_lineedit.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/screens.h"

void return_to_settings()
{
    if (g_option)
        g_option->language_changed();
    g_page_focus = PAGE_SETTINGS;
}

void return_to_main()
{
    if (g_mainwindow)
        g_mainwindow->language_changed();
    g_page_focus = PAGE_MAIN;
}

void set_icon(QAbstractButton *button, const QString &res, int size)
{
    button->setIcon(QIcon(res));
    if (size > 0)
        button->setIconSize(QSize(size, size));
    button->setProperty("res", res);
}

void set_icon(QAbstractButton *button, const QString &res, const QSize &size)
{
    set_icon(button, res);
    button->setIconSize(size);
}

void set_back_icon(QAbstractButton *button) { set_icon(button, QStringLiteral(":/png/back.png"), 32); }

void set_picture(QLabel *label, const QString &res)
{
    label->setPixmap(QPixmap(res));
    label->setScaledContents(true);
    label->setProperty("res", res);
}

void retire(QWidget *container)
{
    if (!container)
        return;
    container->hide();
    container->setParent(nullptr);
    container->deleteLater();
}

void set_style(QWidget *widget, const char *style)
{
    if (widget)
        widget->setStyleSheet(QString::fromLatin1(style));
}

KeypadNumber keypad_number(const QString &text, int min, int max, EmptyEntry empty)
{
    KeypadNumber n;
    if (text.isEmpty()) {
        n.ok = empty == EmptyEntry::Zero && min <= 0 && 0 <= max;
        return n;
    }
    if (text.size() > 9)
        return n;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return n;
    }
    const int v = text.toInt();
    if (v < min || v > max)
        return n;
    n.ok = true;
    n.value = v;
    return n;
}

My_lineEdit *own_keypad_field(const QWidget *screen)
{
    My_lineEdit *field = g_lineedit.data();
    return field && screen && screen->isAncestorOf(field) ? field : nullptr;
}
