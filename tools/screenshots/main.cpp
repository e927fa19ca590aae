// Writes a picture of each view of the panel in each panel language,
// offscreen, and reports every shown text that does not fit its widget or
// leaves no ink in the picture:
//   qel_screenshots <folder>    ->  <folder>/<view>_<language>.png (800 x 480)
// The views are the shell's windows and every screen in the screen registry.
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>

#include "core/global.h"
#include "tools/screenshots/panel_tour.h"
#include "tools/screenshots/text_check.h"
#include "ui/shell/panel_app.h"

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    qputenv("QEL_ROOT", root.path().toLocal8Bit());
    QDir(root.path()).mkpath(QStringLiteral("data/modes"));
    QDir(root.path()).mkpath(QStringLiteral("data/configs"));
    g_debugSwitch = 0;

    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(out)) {
        fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 1;
    }

    PanelApp app(argc, argv);
    PanelTour tour;
    int written = 0;
    int overflows = 0;
    int inkless = 0;
    bool failed = false;
    for (int lang = 0; lang < PanelTour::kLanguages && !failed; ++lang) {
        const QString code = PanelTour::language_code(lang);
        tour.visit(lang, [&](const QString &view, const QList<QWidget *> &windows) {
            if (failed)
                return;
            const QString file = QStringLiteral("%1/%2_%3.png").arg(out, view, code);
            QImage shown;
            const QList<TextWithoutInk> missing = TextCheck::without_ink(windows, &shown);
            if (!shown.save(file)) {
                fprintf(stderr, "cannot write %s\n", qPrintable(file));
                failed = true;
                return;
            }
            ++written;
            for (const TextOverflow &o : TextCheck::overflows(windows)) {
                printf("%s %s %s: needs %d px of %d%s: \"%s\"\n", qPrintable(view), qPrintable(code),
                       qPrintable(o.object), o.needed, o.available, o.height ? " in height" : "",
                       qPrintable(o.text));
                ++overflows;
            }
            for (const TextWithoutInk &m : missing)
                printf("%s %s %s: no ink: \"%s\"\n", qPrintable(view), qPrintable(code), qPrintable(m.object),
                       qPrintable(m.text));
            inkless += missing.size();
        });
    }
    if (failed)
        return 1;
    for (const QString &s : tour.left_open())
        printf("stays open after Back: %s\n", qPrintable(s));
    printf("%d pictures in %s; %d texts that do not fit their widgets; %d texts without ink\n", written,
           qPrintable(out), overflows, inkless);
    return 0;
}
