#ifndef QEL_UI_SHELL_PANEL_PLACEMENT_H
#define QEL_UI_SHELL_PANEL_PLACEMENT_H

#include <QObject>

// Every panel-sized window opens over the main window, as it does on the
// device's 800 x 480 frame buffer (a desktop or offscreen screen is larger
// and would centre the dialogs elsewhere).
class PanelPlacement : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif
