#ifndef QEL_UI_SHELL_PANEL_APP_H
#define QEL_UI_SHELL_PANEL_APP_H

#include <QApplication>

#include "ui/shell/panel_placement.h"

// The panel program's application: the stores the shell reads (settings,
// parameter image, refresh) exist with it, and every panel-sized window
// opens over the main window.
class PanelApp : public QApplication
{
public:
    PanelApp(int &argc, char **argv);

private:
    PanelPlacement m_placement;
};

#endif
