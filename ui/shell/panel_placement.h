#ifndef QEL_UI_SHELL_PANEL_PLACEMENT_H
#define QEL_UI_SHELL_PANEL_PLACEMENT_H

#include <QObject>

// Where the panel's windows come up, for the whole application (an event
// filter on it):
// - every panel-sized window opens over the main window, as it does on the
//   device's 800 x 480 frame buffer (a desktop or offscreen screen is larger
//   and would centre the dialogs elsewhere);
// - every window comes up above all the others and takes the input. There is
//   no window manager on the device (nor on the VNC panel's X server), and
//   mapping a window there leaves it wherever it was stacked when it was
//   made: a keypad made before a screen would open under that screen.
class PanelPlacement : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#endif
