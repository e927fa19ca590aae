#include "ui/shell/panel_app.h"

#include "core/config_engine.h"
#include "core/qelrampara.h"
#include "ui/shell/syncupdate.h"

namespace {
// The stores come first; they need no application object.
int &with_stores(int &argc)
{
    ConfigEngine::pInstance();
    QelRamPara::pInstance();
    SyncUpdate::pInstance();
    return argc;
}
}

PanelApp::PanelApp(int &argc, char **argv) : QApplication(with_stores(argc), argv)
{
    installEventFilter(&m_placement);
}
