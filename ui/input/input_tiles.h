#ifndef QEL_UI_INPUT_INPUT_TILES_H
#define QEL_UI_INPUT_INPUT_TILES_H

#include <QPushButton>
#include <QString>

#include "core/types.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"

class QFont;
class QFrame;
class QLabel;
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

// The frame marking the chosen input, 120 x 85, behind the input row.
QFrame *make_input_highlight(QWidget *dialog);
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

// The tile area "frame_source" at (20, 152), 770 x 240, lowered.
QFrame *make_tile_area(QWidget *dialog);

// Tile i of an input with its top-left at (x, y) of the area: frame, dot,
// input icon, name and size lines, and the click area named i.
struct SourceTile
{
    QLabel *name;
    QLabel *size;
    QPushButton *button;
};
SourceTile add_source_tile(QFrame *area, int i, int x, int y, bool dvi, const QFont &font);

// A 50 x 50 icon button at the right edge of the tile area.
QPushButton *add_area_button(QFrame *area, const char *name, int y, const char *icon);

// A 180 x 60 button of the edit form, hidden.
QPushButton *make_form_button(QWidget *dialog, const char *name, const QFont &font);

// "%dx%d@%dHz" of an input's live timing, or the no-signal text.
QString input_timing_text(int slot);

// A width or height field typed on the keypad: an unsigned 16-bit number,
// an empty entry counting as 0.
KeypadNumber field_number(const QString &text);

extern const PanelText TEXT_WIDTH;    // field labels
extern const PanelText TEXT_HEIGHT;
extern const PanelText TEXT_CANCEL;
extern const PanelText TEXT_DELETE;
extern const PanelText KEYPAD_WIDTH;  // keypad title of a width field

#endif
