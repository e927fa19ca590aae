#ifndef QEL_TOOLS_SCREENSHOTS_TEXT_CHECK_H
#define QEL_TOOLS_SCREENSHOTS_TEXT_CHECK_H

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

// Paints windows as the panel shows them, each page of their stacked
// widgets too, and collects the texts that overflow. Needs PanelStyle as the
// application's style; `checked` counts the texts seen.
class TextCheck
{
public:
    static QList<TextOverflow> overflows(const QList<QWidget *> &windows, int *checked = nullptr);
};

#endif
