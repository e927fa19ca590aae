#include "ui/shell/screen_helpers.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFrame>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPixmap>
#include <QPixmapCache>

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

QIcon cached_icon(const QString &res)
{
    // kept to the end: an icon also keeps the sizes it has been drawn at
    static auto *icons = new QHash<QString, QIcon>;
    auto it = icons->constFind(res);
    if (it == icons->constEnd())
        it = icons->insert(res, QIcon(res));
    return *it;
}

QPixmap cached_picture(const QString &res, const QSize &size, Qt::AspectRatioMode mode)
{
    const QString key = QStringLiteral("qel:%1@%2x%3/%4").arg(res).arg(size.width()).arg(size.height()).arg(int(mode));
    QPixmap pix;
    if (QPixmapCache::find(key, &pix))
        return pix;
    pix = QPixmap(res);
    // as a label with scaled contents scales it
    if (!pix.isNull() && !size.isEmpty())
        pix = QPixmap::fromImage(pix.toImage().scaled(size, mode, Qt::SmoothTransformation));
    QPixmapCache::insert(key, pix);
    return pix;
}

void set_icon(QAbstractButton *button, const QString &res, int size)
{
    button->setIcon(cached_icon(res));
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
    label->ensurePolished();   // its style sheet's border is part of the size
    label->setPixmap(cached_picture(res, label->contentsRect().size()));
    label->setScaledContents(true);
    label->setProperty("res", res);
}

void set_list_view(QComboBox *combo) { combo->setView(new QListView); }

QPushButton *cover_button(QWidget *parent, int number, const QRect &geometry)
{
    QPushButton *button = new QPushButton(parent);
    button->setObjectName(QString::number(number));
    button->setGeometry(geometry);
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void retire(QWidget *container)
{
    if (!container)
        return;
    container->hide();
    container->setParent(nullptr);
    container->deleteLater();
}

QPixmap styled_picture(const QString &style, const QSize &size, const QColor &under)
{
    QFrame frame;
    frame.setStyleSheet(style);
    frame.resize(size);
    QPixmap pix(size);
    pix.fill(under);
    frame.render(&pix, QPoint(), QRegion(), QWidget::RenderFlags());
    return pix;
}

void set_style(QWidget *widget, const char *style)
{
    if (widget)
        widget->setStyleSheet(QString::fromLatin1(style));
}

QString refused_style(const QString &style)
{
    QString marked = style.trimmed();
    if (!marked.isEmpty() && !marked.endsWith(QLatin1Char(';')))
        marked += QLatin1Char(';');
    return marked + QStringLiteral("background-color: rgb(229, 72, 77);");
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

My_lineEdit *own_keypad_field(const QWidget *screen) { return sender_field(screen, g_lineedit.data()); }

void show_refused(QWidget *field, bool refused)
{
    if (!field || field->property("refused").toBool() == refused)
        return;
    if (refused) {
        const QString plain = field->styleSheet();
        field->setProperty("plain_style", plain);
        field->setStyleSheet(refused_style(plain));
    } else {
        field->setStyleSheet(field->property("plain_style").toString());
    }
    field->setProperty("refused", refused);
}

My_lineEdit *sender_field(const QWidget *screen, QObject *sender)
{
    My_lineEdit *field = qobject_cast<My_lineEdit *>(sender);
    return field && screen && screen->isAncestorOf(field) ? field : nullptr;
}

int sender_number(const QObject *sender, int count)
{
    bool ok = false;
    const int n = sender ? sender->objectName().toInt(&ok) : -1;
    return ok && n >= 0 && n < count ? n : -1;
}

void open_keypad(My_lineEdit *field, const QString &title, const QString &value)
{
    NumberKeyboard *keypad = g_numberkeyboard;
    if (!keypad)
        return;
    g_lineedit = field;
    keypad->label_show(title, value);
    keypad->exec();
}

void open_keypad(My_lineEdit *field, const QString &title) { open_keypad(field, title, field ? field->text() : QString()); }

KeypadNumber field_number(const QString &text) { return keypad_number(text, 0, 65535, EmptyEntry::Zero); }

void take_keypad_entry(const QWidget *screen, const QString &text)
{
    My_lineEdit *field = own_keypad_field(screen);
    if (field && field_number(text).ok)
        field->setText(text);
}
