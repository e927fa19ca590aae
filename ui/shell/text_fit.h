#ifndef QEL_UI_SHELL_TEXT_FIT_H
#define QEL_UI_SHELL_TEXT_FIT_H

#include <QFont>
#include <QRect>
#include <QString>

class QPaintDevice;

// How a text is drawn into a widget's fixed rectangle so that it fits: as
// given when it does; else broken between words onto a second line when the
// rectangle is tall enough for two; else in a font made smaller just enough
// (a pixel at a time, one line before two), never below kMinPixels; last, a
// single word broken in two (hyphenated in alphabets). Texts that carry their
// own line breaks or are word-wrapped by their widget are only made smaller,
// until their lines fit in height too.
struct TextFit
{
    static constexpr int kMinPixels = 10;

    QString text;        // as drawn
    QFont font;          // as drawn
    int needed = 0;            // width of the given text in the given font, px
    int available = 0;         // width of the rectangle, px
    int needed_height = 0;     // height of the given text laid out in the rectangle, px
    int available_height = 0;
    bool changed = false;
    bool fits = true;    // the drawn text fits the rectangle

    // `flags` are those of QPainter::drawText; `device` gives the resolution.
    static TextFit fit(const QFont &font, QPaintDevice *device, const QRect &rect, int flags,
                       const QString &text);
};

#endif
