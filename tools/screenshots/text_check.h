#ifndef QEL_TOOLS_SCREENSHOTS_TEXT_CHECK_H
#define QEL_TOOLS_SCREENSHOTS_TEXT_CHECK_H

#include <QImage>
#include <QList>
#include <QString>

class QWidget;

// A shown text that does not fit its widget even as PanelStyle fits it.
struct TextOverflow
{
    QString object;      // object name of the widget (or its named ancestor/class)
    QString text;
    int needed = 0;      // px, in the widget's own font
    int available = 0;   // px
    bool height = false; // the lines do not fit in height (else: a line is too wide)
};

// A shown text that leaves no ink in its rectangle of the view: no pixel
// near its colour that the view lacks without the texts.
struct TextWithoutInk
{
    QString object;
    QString text;
};

// Checks of the texts a view shows. Needs PanelStyle as the application's
// style; `checked` counts the texts seen.
class TextCheck
{
public:
    // Paints the windows, each page of their stacked widgets too, and
    // collects the texts that overflow.
    static QList<TextOverflow> overflows(const QList<QWidget *> &windows, int *checked = nullptr);

    // The view as the operator sees it: each window at its place, top last.
    static QImage grab(const QList<QWidget *> &windows);

    // The texts drawn through the style or told by their widget (labels,
    // buttons, painted tile texts, the clock) that leave no ink in the
    // view's grab, which `shown` receives. The view is grabbed again with
    // the texts held back for what lies under them. A text hidden, even in
    // part, by a higher window or by a sibling stacked above it (a pop-up)
    // does not count, nor one outside its parents.
    static QList<TextWithoutInk> without_ink(const QList<QWidget *> &windows, QImage *shown = nullptr,
                                             int *checked = nullptr);
};

#endif
