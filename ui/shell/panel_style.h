#ifndef QEL_UI_SHELL_PANEL_STYLE_H
#define QEL_UI_SHELL_PANEL_STYLE_H

#include <QProxyStyle>
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

    // Told of every item text drawn, with the widget painted (or null) and
    // how the text was fitted; one watcher at a time, none to stop.
    using Watcher = std::function<void(QWidget *widget, const QString &text, const TextFit &fit)>;
    static void set_watcher(Watcher watcher);
};

#endif
