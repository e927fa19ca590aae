#ifndef QEL_UI_SHELL_SCREEN_HELPERS_H
#define QEL_UI_SHELL_SCREEN_HELPERS_H

#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <Qt>
#include <initializer_list>

#include "core/global.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/screens.h"

class QAbstractButton;
class QComboBox;
class QIcon;
class QLabel;
class QPixmap;
class QWidget;

// What the setting screens share.

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

// The settings menu has the panel again: relabelled, page 5.
void return_to_settings();

// Back on a screen of the settings menu: the screen closes and goes, its
// global is cleared and the settings menu has the panel again.
template <class Screen> void back_to_settings(Screen *screen, Screen *&global)
{
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->close();
    if (global == screen)
        global = nullptr;
    return_to_settings();
}

// Back on a screen of the main menu: the same, returning to the main menu.
void return_to_main();
template <class Screen> void back_to_main(Screen *screen, Screen *&global)
{
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->close();
    if (global == screen)
        global = nullptr;
    return_to_main();
}

// Pictures from the resources, decoded once for the whole program: the icon
// of a resource, and a resource smooth-scaled to a size (once per size).
QIcon cached_icon(const QString &res);
QPixmap cached_picture(const QString &res, const QSize &size, Qt::AspectRatioMode mode = Qt::IgnoreAspectRatio);

// What a frame styled `style` paints at `size` over `under` (transparent:
// nothing). Kept by the caller, such a picture stands in for a style sheet's
// borders and rounded corners, which are costly to polish and draw at every
// open and paint.
QPixmap styled_picture(const QString &style, const QSize &size, const QColor &under = Qt::transparent);

// An icon from the resources, its path in "res"; size 0 keeps the icon size.
void set_icon(QAbstractButton *button, const QString &res, int size = 0);
void set_icon(QAbstractButton *button, const QString &res, const QSize &size);
// The back arrow on a Back button, at 32 x 32.
void set_back_icon(QAbstractButton *button);
// A picture from the resources, scaled to the label's interior (the same
// pixels the label would scale it to, made once per size), its path in "res".
void set_picture(QLabel *label, const QString &res);

// A plain QListView as the combo box's list, so that its item style applies.
// Made without a parent: the list's container takes it in once, instead of
// the view being styled for the combo box first and for the container again.
void set_list_view(QComboBox *combo);

// A flat button without focus over a tile or a list row, named by its number.
QPushButton *cover_button(QWidget *parent, int number, const QRect &geometry);
// The style of a cover that shows nothing of itself.
constexpr const char *COVER_STYLE = "background: transparent;border:none;";

// Takes a container made at run time out of the screen at once and deletes
// it after the current event: a button in it may be the one whose click runs.
void retire(QWidget *container);

// The selection pair of menus and action buttons.
constexpr const char *SELECTED_STYLE = "background-color:#4777FF;color:#FFFFFF";
constexpr const char *PLAIN_STYLE = "background-color:#10101C;color:#FFFFFF";
// The frame around the chosen window tile.
constexpr const char *WINDOW_MARK_STYLE = "border:2px solid rgb(255,171,84);";
// The six windows' tiles, each in its colour.
constexpr const char *WINDOW_TILE_STYLES[6] = {
    "background-color: #867AE9;font: 16px", "background-color: #005A8D;font: 16px",
    "background-color: #39A9CB;font: 16px", "background-color: #EBA83A;font: 16px",
    "background-color: #FF96AD;font: 16px", "background-color: #D5E5FF;font: 16px",
};
// A green status dot, 14 x 14.
constexpr const char *GREEN_DOT_STYLE = "background-color:#00D65B;border:0px groove gray;border-radius:7px;";
void set_style(QWidget *widget, const char *style);

// Framed buttons of a choice (port groups, output pairs).
constexpr const char *FRAMED_SELECTED_STYLE =
    "background-color: #4777FF;color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);";
constexpr const char *FRAMED_PLAIN_STYLE = "color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);";
// Port tiles: the chosen one outlined green.
constexpr const char *TILE_SELECTED_STYLE = "background-color: #212435;border:1px solid #00D65B;";
constexpr const char *TILE_PLAIN_STYLE = "background-color: #212435;border:1px solid #FFFFFF;";

// Moves the selection from the button in `holder` (a pointer or QPointer) to
// `to`: the old one gets `plain`, `to` gets `selected` and is kept.
template <class Holder, class Button>
void move_selection(Holder &holder, Button *to, const char *selected = SELECTED_STYLE,
                    const char *plain = PLAIN_STYLE)
{
    set_style(holder, plain);
    set_style(to, selected);
    holder = to;
}

// The rows of a framed list: chosen as SELECTED_STYLE, else
constexpr const char *ROW_PLAIN_STYLE = "background-color: rgb(33, 36, 53);color: #FFFFFF";

// A field or choice whose value was refused: its own style (a plain list of
// declarations) with the red background that marks it. Setting its own
// style again takes the mark off.
QString refused_style(const QString &style);

// A number typed on the keypad: the whole text decimal digits, within
// min..max. Empty text is refused, or read as 0 with EmptyEntry::Zero.
enum class EmptyEntry { Refused, Zero };
struct KeypadNumber
{
    bool ok = false;
    int value = 0;
};
KeypadNumber keypad_number(const QString &text, int min, int max, EmptyEntry empty = EmptyEntry::Refused);

// A field whose value was refused wears a red background, over its own
// style, until show_refused(field, false) gives that style back; its
// "refused" property tells which.
void show_refused(QWidget *field, bool refused);

// The keypad's field (g_lineedit) when it is one of `screen`'s own, else
// null: an entry typed for another screen's field passes this one by.
My_lineEdit *own_keypad_field(const QWidget *screen);

// The sender of a field's press when it is one of `screen`'s own fields.
My_lineEdit *sender_field(const QWidget *screen, QObject *sender);

// The number 0..count-1 a run-time button carries as its object name, -1
// for anything else.
int sender_number(const QObject *sender, int count);

// The fields open the shared keypad; its entries come back to the screen
// (every screen so connected hears them: see own_keypad_field).
template <class Screen> void connect_keypad(Screen *screen, std::initializer_list<My_lineEdit *> fields)
{
    for (My_lineEdit *f : fields)
        QObject::connect(f, &My_lineEdit::send_show, screen, &Screen::show_numberkeyboard_ui);
    if (g_numberkeyboard)
        QObject::connect(g_numberkeyboard, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, screen,
                         &Screen::confirmString);
}

// Opens the shared keypad on `field` (null: an entry of no field, such as
// an access code): the field becomes g_lineedit, the keypad shows `title`
// and `value` and runs modally. Nothing without a keypad.
void open_keypad(My_lineEdit *field, const QString &title, const QString &value);
void open_keypad(My_lineEdit *field, const QString &title);   // the field's text as value

// A width or height field typed on the keypad: an unsigned 16-bit number,
// an empty entry counting as 0.
KeypadNumber field_number(const QString &text);
// The keypad's entry into the screen's own field when it is a field_number;
// anything else is refused.
void take_keypad_entry(const QWidget *screen, const QString &text);

#endif
