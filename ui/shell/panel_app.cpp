#include "ui/shell/panel_app.h"

#include <QFont>
#include <QFontDatabase>
#include <cstdio>

#include "core/config_engine.h"
#include "core/qelrampara.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/syncupdate.h"

namespace {
// The panel's font (fonts-wqy-microhei: Latin with Vietnamese, Cyrillic,
// simplified and traditional Chinese), DejaVu Sans for anything it lacks.
const char kFamily[] = "WenQuanYi Micro Hei";
const char kFallback[] = "DejaVu Sans";
constexpr int kPointSize = 12;
// Point sizes become the same pixels on every screen, window or VNC.
const char kFontDpi[] = "100";

// Before the application object: the stores, which need none, and the
// font resolution, which the platform reads when it starts.
int &before_app(int &argc)
{
    ConfigEngine::pInstance();
    QelRamPara::pInstance();
    SyncUpdate::pInstance();
    qputenv("QT_FONT_DPI", kFontDpi);
    return argc;
}

QFont panel_font()
{
    QFont f(QLatin1String(kFamily), kPointSize);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}
}

PanelApp::PanelApp(int &argc, char **argv) : QApplication(before_app(argc), argv)
{
    installEventFilter(&m_placement);
    setStyle(new PanelStyle);
    if (!QFontDatabase().families().contains(QLatin1String(kFamily)))
        fprintf(stderr, "panel font \"%s\" is not installed (scripts/setup installs it)\n", kFamily);
    QFont::insertSubstitution(QLatin1String(kFamily), QLatin1String(kFallback));
    setFont(panel_font());
}
