// Every screen's open against its bare Designer form, as the operator waits
// for it: the shell's opener (which makes the screen and runs it modally)
// until the window is exposed and its first paint into the backing store is
// done, against uic's setupUi of the same form on a plain widget run modally
// the same way. Every screen in the registry and the settings menu are
// measured so; the main menu and the home screen, which are shown rather
// than made, are shown and painted once (grab). Both on the factory device
// and on a busy one.
//
//   QEL_OPEN_RATIO_ONLY=<text>    only the views whose name holds the text
//   QEL_OPEN_RATIO_DEVICE=<name>  only that device: factory or busy
//   QEL_OPEN_RATIO_LOOPS=<n>      no figures: open each view n times, for a
//                                 profiler (valgrind --tool=callgrind
//                                 --toggle-collect='*profile_opens*', perf)
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/bench.h"
#include "bench/bench_forms.h"
#include "bench/first_paint.h"
#include "bench/open_device.h"
#include "core/global.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"

namespace {

// One view: `open` opens it and `close` leaves it as the operator does.
// Modal views are timed to their first paint; the others are shown and
// painted once (`open` returns the widget to paint).
struct View
{
    QString name;
    QString form;
    bool modal;
    std::function<QWidget *()> open;
    std::function<void(QWidget *)> close;
};

qint64 time_view(const View &v)
{
    qint64 ns;
    if (v.modal) {
        ns = time_to_first_paint([&v] { v.open(); }, v.close);
    } else {
        QElapsedTimer t;
        t.start();
        QWidget *w = v.open();
        w->grab();
        ns = t.nsecsElapsed();
        v.close(w);
    }
    flush_deletes();
    return ns;
}

// The bare form the same way: run modally to its first paint, or shown and
// painted once.
qint64 time_bare(const View &v, BareFormMaker make)
{
    qint64 ns;
    if (v.modal) {
        ns = time_to_first_paint(
            [make] {
                QWidget *w = make();
                if (QDialog *d = qobject_cast<QDialog *>(w))
                    d->exec();
                delete w;
            },
            [](QWidget *w) { w->close(); });
    } else {
        QElapsedTimer t;
        t.start();
        QWidget *w = make();
        w->show();
        w->grab();
        ns = t.nsecsElapsed();
        delete w;
    }
    flush_deletes();
    return ns;
}

// Screen and bare form in turn, so a busy machine weighs on both alike. The
// ratio, or -1 when either could not be measured.
double measure(const View &v)
{
    const auto &forms = bare_forms();
    const auto form = forms.find(v.form);
    if (form == forms.end()) {
        fprintf(stderr, "open ratio: no bare form for %s among %zu forms\n", qPrintable(v.name), forms.size());
        return -1;
    }
    if (v.modal && !qobject_cast<QDialog *>(std::unique_ptr<QWidget>(form->second()).get())) {
        fprintf(stderr, "open ratio: the form of %s is not a dialog\n", qPrintable(v.name));
        return -1;
    }
    const PairedOpens r = open_in_pairs([&v] { return time_view(v); }, [&] { return time_bare(v, form->second); });
    if (r.failed) {
        fprintf(stderr, "open ratio: %s was not painted\n", qPrintable(r.failed == 1 ? v.name : v.form + " (bare)"));
        return -1;
    }
    printf("  %-28s open %7.3f ms   bare form %7.3f ms   %5.2f x\n", qPrintable(v.name), r.open / 1e6, r.bare / 1e6,
           r.ratio);
    fflush(stdout);
    return r.ratio;
}

std::vector<View> views()
{
    std::vector<View> list;
    for (int page = 0; page <= 255; ++page) {
        const ScreenEntry *e = ScreenRegistry::find(u8(page));
        if (!e || !e->create || !e->open)
            continue;
        // the class name once, from a first instance
        QDialog *probe = e->create();
        const QString cls = QString::fromLatin1(probe->metaObject()->className());
        e->back();
        if (e->instance && e->instance())
            delete e->instance();
        flush_deletes();
        const u8 p = u8(page);
        list.push_back({QStringLiteral("%1 (page %2)").arg(cls).arg(page), cls, true,
                        [p]() -> QWidget * {
                            ScreenRegistry::open(p);
                            // a screen its Back left open is not measured twice
                            if (QDialog *left = ScreenRegistry::instance(p))
                                delete left;
                            return nullptr;
                        },
                        [p](QWidget *) { ScreenRegistry::back(p); }});
    }
    if (!ScreenRegistry::registered(PAGE_SETTINGS)) {
        list.push_back({QStringLiteral("settings menu"), QStringLiteral("Option"), true,
                        []() -> QWidget * {
                            open_screen(g_option, PAGE_SETTINGS);
                            delete g_option;
                            return nullptr;
                        },
                        [](QWidget *) {
                            if (g_option)
                                g_option->on_Button_back_clicked();
                        }});
    }
    list.push_back({QStringLiteral("main menu (from home)"), QStringLiteral("MainWindow"), false,
                    []() -> QWidget * {
                        g_mainwindow->show_menu();
                        return g_mainwindow;
                    },
                    [](QWidget *) { g_mainwindow->show_home(); }});
    list.push_back({QStringLiteral("home screen (from menu)"), QStringLiteral("LockWindow"), false,
                    []() -> QWidget * {
                        g_mainwindow->show_home();
                        return g_lockwindow;
                    },
                    [](QWidget *) { g_mainwindow->show_menu(); }});
    return list;
}

// The opens alone, for a profiler: the views whose name holds `only`, each
// opened `loops` times.
Q_NEVER_INLINE void profile_opens(const std::vector<View> &list, const QString &only, int loops)
{
    for (const View &v : list) {
        if (!only.isEmpty() && !v.name.contains(only))
            continue;
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < loops; ++i) {
            if (time_view(v) < 0) {
                fprintf(stderr, "open ratio: %s was not painted\n", qPrintable(v.name));
                return;
            }
        }
        printf("  %-28s %d opens, %7.3f ms each with the closing\n", qPrintable(v.name), loops,
               double(t.nsecsElapsed()) / loops / 1e6);
        fflush(stdout);
    }
}

}

// Prints the figures of every view on each device; the figure is the largest
// ratio, in thousandths (1500 = 1.5 x), negative when a view could not be
// measured.
QEL_BENCH("open ratio: every screen against its bare form (worst, us = x)")
{
    PanelLook look;
    const QString only = qEnvironmentVariable("QEL_OPEN_RATIO_ONLY");
    const QString device = qEnvironmentVariable("QEL_OPEN_RATIO_DEVICE");
    const int loops = qEnvironmentVariableIntValue("QEL_OPEN_RATIO_LOOPS");
    if (!device.isEmpty() && device != QLatin1String("factory") && device != QLatin1String("busy")) {
        fprintf(stderr, "open ratio: QEL_OPEN_RATIO_DEVICE is factory or busy\n");
        return -1;
    }
    double worst = 0;
    for (BenchDevice d : {BenchDevice::Factory, BenchDevice::Busy}) {
        if (!device.isEmpty() && device != QLatin1String(device_name(d)))
            continue;
        OpenShell shell(d);
        const std::vector<View> list = views();
        if (loops > 0) {
            printf("\n%s device:\n", device_name(d));
            profile_opens(list, only, loops);
            continue;
        }
        printf("\n%s device: median of %d opens each, screen and bare form in turn\n", device_name(d), PairedOpens::RUNS);
        for (const View &v : list) {
            if (!only.isEmpty() && !v.name.contains(only))
                continue;
            const double ratio = measure(v);
            if (ratio < 0)
                return -1;
            worst = std::max(worst, ratio);
        }
    }
    return worst * 1e3;
}
