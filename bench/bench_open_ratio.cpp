// Every screen's open against its bare Designer form: the screen made as the
// shell makes it, shown and painted once, against uic's setupUi of the same
// form on a plain widget, shown and painted once. Every screen in the
// registry is measured, the settings menu, main menu and home screen too.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QStyle>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/bench.h"
#include "bench/bench_forms.h"
#include "core/global.h"
#include "core/qelrampara.h"
#include "tests/support/testenv.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"

namespace {

constexpr int kRuns = 40;
constexpr int kWarmUp = 3;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The panel's look while the figures are taken: its style and font; the
// offscreen platform's notes (no raise()) are not printed.
struct PanelLook
{
    QString style = QApplication::style()->objectName();
    QFont font = QApplication::font();
    QtMessageHandler messages = qInstallMessageHandler(quiet);
    PanelLook()
    {
        QApplication::setStyle(new PanelStyle);
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 12));
    }
    ~PanelLook()
    {
        QApplication::setStyle(style);
        QApplication::setFont(font);
        qInstallMessageHandler(messages);
    }
};

// A busy device: two inputs with a signal; 40 crops on HDMI1, which window 0
// shows; six windows on; sixteen saved user modes with names, six windows
// and a display menu each; mode 1 current.
void busy_device(const TestRoot &root, QelRamPara *p)
{
    u8 *img = p->ram_para;
    auto timing = [img](int slot, u16 w, u16 h, u8 rate) {
        const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
        Img::wr16(img, o, w);
        Img::wr16(img, o + 2, h);
        img[o + 4] = rate;
    };
    timing(2, 1920, 1080, 60);
    timing(4, 3840, 2160, 30);
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        CropEdit crop(img, k);
        crop.setCropWord(Img::cropWord(2, k + 1));
        crop.setRect(0, 0, 640, 360);
    }
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        WindowEdit win(img, w);
        win.setOn(true);
        win.setInput(u8(w));
        win.setWidth(320);
        win.setHeight(180);
    }
    WindowEdit(img, 0).setCropRecord(39);

    QByteArray names = R"({"namelist":{"usermode":[)";
    for (int s = 0; s < 16; ++s) {
        USER_MODE_PARA &m = p->user_mode[s];
        m.flag[0] = m.flag[1] = 0xAA;
        std::copy(img + Img::USER_PAYLOAD, img + Img::SIZE, m.para);
        Img::wr16(m.para, Img::payload(Img::OSD_ON), 1);
        root.write(QelRamPara::userModeOsdPath(s),
                   R"({"osdcount":1,"osdlist":[{"x":0,"y":0,"w":1920,"h":64,"effect":4,"speed":3,)"
                   R"("back_color":"0x000000","font_color":"0xFFFFFF","texts":"one\ntwo"}]})");
        names += QStringLiteral(R"(%1{"id":%2,"valid":"on","name":"Stage %2"})").arg(s ? "," : "").arg(s).toUtf8();
    }
    root.write(QStringLiteral("/data/configs/alias.json"), names + "]}}");
    Img::wr16(img, Img::CURRENT_MODE, 1);
    std::copy(img, img + Img::SIZE, p->ram_para_shadow);
}

// The shell as it runs: main menu with keypad and tip, home screen.
struct Shell
{
    TestRoot root;
    Shell()
    {
        register_screens();
        busy_device(root, QelRamPara::pInstance());
        SyncUpdate::pInstance();
        new MainWindow();
        lcd_touch::pInstance();
        new LockWindow();
        g_mainwindow->show_menu();
    }
    ~Shell()
    {
        delete g_option;
        delete g_lockwindow;
        delete g_mainwindow;
        lcd_touch::destroyInstance();
        SyncUpdate::destroyInstance();
        QelRamPara::destroyInstance();
    }
};

// What the event loop does between two opens: deferred deletes, posted events.
void flush_deletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// One view: `open` shows and paints it and returns the widget it painted;
// `close` leaves it as the operator does.
struct View
{
    QString name;
    QString form;
    std::function<QWidget *()> open;
    std::function<void()> close;
};

qint64 time_open(const View &v)
{
    QElapsedTimer t;
    t.start();
    QWidget *w = v.open();
    if (w)
        w->grab();
    const qint64 ns = t.nsecsElapsed();
    v.close();
    flush_deletes();
    return ns;
}

double median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : double(v[v.size() / 2]);
}

// Opens and bare forms taken in turn, so a busy machine weighs on both alike.
double measure(const View &v)
{
    const auto forms = bare_forms();
    const auto form = forms.find(v.form);
    std::vector<qint64> opens, bare;
    for (int i = 0; i < kWarmUp + kRuns; ++i) {
        const qint64 o = time_open(v);
        const qint64 b = form != forms.end() ? form->second() : 0;
        if (i >= kWarmUp) {
            opens.push_back(o);
            bare.push_back(b);
        }
    }
    const double open = median(opens);
    const double base = median(bare);
    if (base > 0)
        printf("  %-28s open %7.3f ms   bare form %7.3f ms   %5.2f x\n", qPrintable(v.name), open / 1e6, base / 1e6,
               open / base);
    else
        printf("  %-28s open %7.3f ms   (no form %s)\n", qPrintable(v.name), open / 1e6, qPrintable(v.form));
    fflush(stdout);
    return base > 0 ? open / base : 0;
}

std::vector<View> views()
{
    std::vector<View> list;
    for (int page = 0; page <= 255; ++page) {
        const ScreenEntry *e = ScreenRegistry::find(u8(page));
        if (!e || !e->create)
            continue;
        // the class name once, from a first instance
        QDialog *probe = e->create();
        const QString cls = QString::fromLatin1(probe->metaObject()->className());
        e->back();
        if (e->instance && e->instance())
            delete e->instance();
        flush_deletes();
        const u8 p = u8(page);
        list.push_back({QStringLiteral("%1 (page %2)").arg(cls).arg(page), cls,
                        [p]() -> QWidget * {
                            QDialog *d = ScreenRegistry::find(p)->create();
                            d->show();
                            return d;
                        },
                        [p] {
                            const ScreenEntry *entry = ScreenRegistry::find(p);
                            entry->back();
                            if (QDialog *left = entry->instance())
                                delete left;
                        }});
    }
    if (!ScreenRegistry::registered(PAGE_SETTINGS)) {
        list.push_back({QStringLiteral("settings menu"), QStringLiteral("Option"),
                        []() -> QWidget * {
                            g_option = new Option();
                            g_page_focus = PAGE_SETTINGS;
                            g_option->show();
                            return g_option;
                        },
                        [] {
                            if (g_option)
                                g_option->on_Button_back_clicked();
                        }});
    }
    list.push_back({QStringLiteral("main menu (from home)"), QStringLiteral("MainWindow"),
                    []() -> QWidget * {
                        g_mainwindow->show_menu();
                        return g_mainwindow;
                    },
                    [] { g_mainwindow->show_home(); }});
    list.push_back({QStringLiteral("home screen (from menu)"), QStringLiteral("LockWindow"),
                    []() -> QWidget * {
                        g_mainwindow->show_home();
                        return g_lockwindow;
                    },
                    [] { g_mainwindow->show_menu(); }});
    return list;
}

}

// Prints the ratio of every view; the figure is the largest ratio, in
// thousandths (1500 = 1.5 x).
QEL_BENCH("open ratio: every screen against its bare form (worst, us = x)")
{
    PanelLook look;
    Shell shell;
    printf("\n");
    // QEL_OPEN_RATIO_ONLY=<text>: only the views whose name holds the text
    const QString only = qEnvironmentVariable("QEL_OPEN_RATIO_ONLY");
    double worst = 0;
    for (const View &v : views()) {
        if (only.isEmpty() || v.name.contains(only))
            worst = std::max(worst, measure(v));
    }
    return worst * 1e3;
}
