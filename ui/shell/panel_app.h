#ifndef QEL_UI_SHELL_PANEL_APP_H
#define QEL_UI_SHELL_PANEL_APP_H

#include <QApplication>

#include "ui/shell/panel_placement.h"

// The panel program's application: the stores the shell reads (settings,
// parameter image, refresh) exist with it, every panel-sized window opens
// over the main window, and every screen has the panel's own font and
// style (PanelStyle: texts fitted to their widgets), whatever the host.
class PanelApp : public QApplication
{
public:
    PanelApp(int &argc, char **argv);

private:
    PanelPlacement m_placement;
};

#endif
