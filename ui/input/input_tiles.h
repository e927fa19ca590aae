#ifndef QEL_UI_INPUT_INPUT_TILES_H
#define QEL_UI_INPUT_INPUT_TILES_H

#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <initializer_list>

#include "core/types.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"

class QFont;
class QFontMetrics;
class QFrame;
class QEvent;
class QLabel;
class QPainter;
class QPalette;
class QRect;
class QWidget;

// What the crop and EDID screens share: the row of six inputs, the tile
// area under it, the edit form's buttons, texts and keypad entries.

struct InputColumn
{
    u8 slot;
    const char *name;
    const char *icon;
};
// The input row left to right: HDMI1, HDMI2, HDMI3, HDMI4, DVI, EXT.
extern const InputColumn INPUT_COLUMNS[6];

// A button that paints nothing of its own over the labels it covers.
void make_flat(QPushButton *button);

// What both screens build first: the back arrow, the inputs' pictures on
// the six icon labels (row order) and the frame marking the chosen input,
// 120 x 85 behind the row, at HDMI1.
QFrame *setup_input_row(QWidget *dialog, QPushButton *back, QLabel *const (&icons)[6]);
void place_input_highlight(QFrame *highlight, int column);

// Six flat click areas over the input columns, named "0".."5".
template <class Screen> void make_input_buttons(Screen *screen, void (Screen::*clicked)())
{
    for (int i = 0; i < 6; ++i) {
        QPushButton *b = new QPushButton(screen);
        b->setObjectName(QString::number(i));
        make_flat(b);
        b->setGeometry(21 + 130 * i, 69, 118, 83);
        QObject::connect(b, &QPushButton::clicked, screen, clicked);
    }
}

// The tile area "frame_source" at (20, 152), 770 x 240, lowered; its tiles'
// lines in `font`.
QFrame *make_tile_area(QWidget *dialog, const QFont &font);

// The green "signal" dot, 14 x 14, as its style sheet draws it; made once.
QPixmap green_dot();

// Tile i of an input with its top-left at (x, y) of the area: the framed
// click area named i, showing the status dot with the input's icon; its
// name and size lines (set_tile_lines) are painted on it by `painter`'s
// event filter through paint_source_tile().
QPushButton *add_source_tile(QFrame *area, int i, int x, int y, bool dvi, QObject *painter);
void set_tile_lines(QPushButton *tile, const QString &name, const QString &size);
// For a paint event of a tile: the button's own painting, then its lines.
void paint_source_tile(QObject *tile, QEvent *paint);

// What tile `ordinal` of input `slot`, named `source`, lists. Tile 0 is the
// whole input: its name and live timing. A later tile is a crop: its alias
// cut to the name line in `metrics`, else "<source>_crop<number>", and its
// size; with no crop at that place, record -1, the input's name and "0x0".
struct CropTile
{
    int record = -1;   // crop record, -1: none
    int number = 0;    // the crop's number
    QString name;
    QString size;
};
CropTile crop_tile(int slot, const QString &source, int ordinal, const QFontMetrics &metrics);

// A line of text where a label of the same rectangle would draw it: through
// the style, so its text fitting applies.
void draw_tile_text(QPainter &painter, QWidget *on, const QRect &rect, const QPalette &palette, const QString &text);

// A 50 x 50 icon button at the right edge of the tile area.
QPushButton *add_area_button(QFrame *area, const char *name, int y, const char *icon);

// The edit form's three 180 x 60 buttons, hidden; none until made.
struct FormButtons
{
    QPushButton *cancel = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *del = nullptr;
    void hide() const;
    void setTexts(const QString &cancelText, const QString &okText, const QString &delText) const;
};
QPushButton *make_form_button(QWidget *dialog, const char *name, const QFont &font);
template <class Screen>
FormButtons make_form_buttons(Screen *screen, const QFont &font, void (Screen::*cancel)(), void (Screen::*ok)(),
                              void (Screen::*del)())
{
    FormButtons b{make_form_button(screen, "Button_cancel", font), make_form_button(screen, "Button_ok", font),
                  make_form_button(screen, "Button_delete", font)};
    QObject::connect(b.cancel, &QPushButton::clicked, screen, cancel);
    QObject::connect(b.ok, &QPushButton::clicked, screen, ok);
    QObject::connect(b.del, &QPushButton::clicked, screen, del);
    return b;
}

// Back onto an open input choice screen: brought up to date, page 3. False
// when there is none.
bool return_to_input_choice();

// "%dx%d@%dHz" of an input's live timing, or the no-signal text.
QString input_timing_text(int slot);

extern const PanelText TEXT_WIDTH;    // field labels
extern const PanelText TEXT_HEIGHT;
extern const PanelText TEXT_CANCEL;
extern const PanelText TEXT_DELETE;
extern const PanelText KEYPAD_WIDTH;  // keypad title of a width field

#endif
