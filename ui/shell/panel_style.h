#ifndef QEL_UI_SHELL_PANEL_STYLE_H
#define QEL_UI_SHELL_PANEL_STYLE_H

#include <QColor>
#include <QProxyStyle>
#include <QRect>
#include <functional>

#include "ui/shell/text_fit.h"

class QWidget;

// The panel's style: Fusion, whose item texts (labels, buttons, combo boxes,
// check boxes; also under style sheets, which draw them through here) are
// fitted to their rectangles by TextFit.
class PanelStyle : public QProxyStyle
{
    Q_OBJECT
public:
    PanelStyle();

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &pal, bool enabled,
                      const QString &text, QPalette::ColorRole textRole = QPalette::NoRole) const override;

    // A text as it is drawn: the widget painted (null for a picture), the
    // text as given, how it was fitted, the rectangle it is drawn in (in the
    // widget's coordinates) with QPainter::drawText's flags, and its colour.
    struct DrawnText
    {
        QWidget *widget = nullptr;
        QString text;
        TextFit fit;
        QRect rect;
        int flags = 0;
        QColor color;
    };
    // Told of every text drawn; one watcher at a time, none to stop.
    using Watcher = std::function<void(const DrawnText &)>;
    static void set_watcher(Watcher watcher);

    // While held back, texts drawn onto widgets are told but left out
    // (pictures still get theirs), so that a grab shows what lies under them.
    static void hold_back_texts(bool hold);

    // For widgets that paint a text of their own, in the painter's font and
    // pen: tells the watcher; false when the text is to be left out.
    static bool own_text(QPainter *painter, const QRect &rect, int flags, const QString &text);
};

#endif
