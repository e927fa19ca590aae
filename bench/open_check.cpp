// qel_open_check: the screens' openings measured apart from qelbench's
// "open ratio", to check that the bench times what the operator waits for.
// It presses the real menu buttons (QTest::mouseClick) with the menu that
// holds them open, as on the panel, and stops the clock once the new
// window's first paint has been handled: the window's own Paint event, once
// it is exposed, posts an event of high priority, delivered as soon as the
// paint that event belongs to has ended. Each bare form is opened the same
// way, by a button on the same menu that makes it and runs it modally.
//
// Prints the same lines as the bench; QEL_OPEN_RATIO_ONLY and
// QEL_OPEN_RATIO_DEVICE choose the same way. bench/open_check.sh runs both
// and compares.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/bench_forms.h"
#include "bench/open_device.h"
#include "core/global.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/screens.h"

namespace {

constexpr int kPaintDone = QEvent::User + 1;

// The clock of one opening: started by start(), stopped when the first new
// top-level window has painted; then `close` is called on that window.
class PaintStop : public QObject
{
public:
    explicit PaintStop(std::function<void(QWidget *)> close) : m_close(std::move(close))
    {
        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, [] {
            while (QWidget *m = QApplication::activeModalWidget())
                m->hide();
        });
    }
    ~PaintStop() override { qApp->removeEventFilter(this); }

    void start()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                m_known.insert(w);
        }
        qApp->installEventFilter(this);
        m_limit.start(10000);
        m_clock.start();
    }
    qint64 ns() const { return m_ns; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        // a new window shows: from now on only its own events are watched
        if (!m_window && e->type() == QEvent::Show && o->isWidgetType()) {
            QWidget *w = static_cast<QWidget *>(o);
            if (w->isWindow() && !m_known.contains(w)) {
                m_window = w;
                qApp->removeEventFilter(this);
                w->installEventFilter(this);
            }
            return false;
        }
        if (o == m_window && e->type() == QEvent::Paint && !m_posted && m_window->windowHandle()
            && m_window->windowHandle()->isExposed()) {
            m_posted = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::Type(kPaintDone)), Qt::HighEventPriority);
        }
        return false;
    }

    void customEvent(QEvent *e) override
    {
        if (e->type() != kPaintDone || m_ns >= 0)
            return;
        m_ns = m_clock.nsecsElapsed();
        m_limit.stop();
        if (m_window) {
            m_window->removeEventFilter(this);
            QTimer::singleShot(0, m_window, [this] { m_close(m_window); });
        }
    }

private:
    std::function<void(QWidget *)> m_close;
    QSet<QWidget *> m_known;
    QPointer<QWidget> m_window;
    QElapsedTimer m_clock;
    QTimer m_limit;
    bool m_posted = false;
    qint64 m_ns = -1;
};

// The menus the screens open from.
enum class Menu { Main, Settings, InputChoice };

struct Screen
{
    const char *form;   // the screen's class, as its form is named
    int page;           // -1: the settings menu
    Menu menu;
    const char *button;
    const char *code = nullptr;      // typed on the keypad first, clock started at its OK
    const char *before = nullptr;    // pressed first, not timed
};

const Screen kScreens[] = {
    {"MachineState", PAGE_STATUS, Menu::Main, "machinestate"},
    {"InputChoose", PAGE_INPUT_CHOICE, Menu::Main, "inputchoose"},
    {"CustomMode", PAGE_USER_MODE, Menu::Main, "custommode"},
    {"OutputSet", PAGE_OUTPUT, Menu::Settings, "output_set"},
    {"InputCut", PAGE_INPUT_CROP, Menu::Settings, "input_cut"},
    {"EDIDset", PAGE_EDID, Menu::InputChoice, "button_EDID", nullptr, "Button_menu"},
    {"ImageLayout", PAGE_LAYOUT, Menu::Settings, "image_layout", "8888"},
    {"LinkOption", PAGE_NETWORK, Menu::Settings, "link_set"},
    {"ImageQuality", PAGE_PICTURE, Menu::Settings, "image_quality"},
    {"AdvancedOption", PAGE_ADVANCED, Menu::Settings, "AdvanceButton"},
    {"test_chart", PAGE_TEST_PATTERN, Menu::Settings, "test_chart"},
    {"SmartMapping", PAGE_SMART_MAPPING, Menu::Settings, "smart_mapping"},
    {"Option", -1, Menu::Main, "Button_setting"},
};

QString view_name(const Screen &s)
{
    return s.page < 0 ? QStringLiteral("settings menu")
                      : QStringLiteral("%1 (page %2)").arg(QLatin1String(s.form)).arg(s.page);
}

void press(QWidget *parent, const char *name)
{
    QPushButton *b = parent ? parent->findChild<QPushButton *>(QLatin1String(name)) : nullptr;
    if (!b) {
        fprintf(stderr, "open check: no button %s\n", name);
        return;
    }
    QTest::mouseClick(b, Qt::LeftButton);
}

// A screen leaves by its Back button.
void press_back(QWidget *screen) { press(screen, "Button_back"); }

// Runs `inside` from the modal run that pressing `button` of `menu` starts.
bool inside_modal(QWidget *menu, const char *button, const std::function<void()> &inside)
{
    QPushButton *b = menu ? menu->findChild<QPushButton *>(QLatin1String(button)) : nullptr;
    if (!b) {
        fprintf(stderr, "open check: no button %s\n", button);
        return false;
    }
    QTimer::singleShot(0, b, inside);
    QTest::mouseClick(b, Qt::LeftButton);
    return true;
}

// One opening of the screen from `menu`, or of its bare form through the
// stand-in button `bare`.
qint64 time_press(QWidget *menu, const Screen &s, QPushButton *bare)
{
    if (!bare && s.before) {
        press(menu, s.before);
        flush_deletes();
    }
    PaintStop stop(bare ? std::function<void(QWidget *)>([](QWidget *w) { w->close(); }) : press_back);
    if (!bare && s.code) {
        // the keypad's run: the code typed, the clock started as OK is pressed
        const QString code = QLatin1String(s.code);
        QTimer::singleShot(0, &stop, [&stop, code] {
            for (QChar d : code)
                press(g_numberkeyboard, qPrintable(QStringLiteral("Button_") + d));
            stop.start();
            press(g_numberkeyboard, "Button_ok");
        });
        press(menu, s.button);
    } else {
        stop.start();
        if (bare)
            QTest::mouseClick(bare, Qt::LeftButton);
        else
            press(menu, s.button);
    }
    flush_deletes();
    return stop.ns();
}

// Screen and bare form in turn from `menu`; false when either never painted.
bool measure(QWidget *menu, const Screen &s)
{
    const auto form = bare_forms().find(QLatin1String(s.form));
    if (form == bare_forms().end()) {
        fprintf(stderr, "open check: no bare form for %s\n", s.form);
        return false;
    }
    // the stand-in button for the bare form, on the same menu
    QPushButton bare(menu);
    bare.setGeometry(0, 0, 40, 40);
    const BareFormMaker make = form->second;
    QObject::connect(&bare, &QPushButton::clicked, [make] {
        QWidget *w = make();
        if (QDialog *d = qobject_cast<QDialog *>(w))
            d->exec();
        delete w;
    });
    bare.show();
    flush_deletes();

    const PairedOpens r = open_in_pairs([&] { return time_press(menu, s, nullptr); },
                                        [&] { return time_press(menu, s, &bare); });
    if (r.failed) {
        fprintf(stderr, "open check: %s%s was not painted\n", s.form, r.failed == 1 ? "" : " (bare)");
        return false;
    }
    printf("  %-28s open %7.3f ms   bare form %7.3f ms   %5.2f x\n", qPrintable(view_name(s)), r.open / 1e6,
           r.bare / 1e6, r.ratio);
    fflush(stdout);
    return true;
}

// Every chosen screen of `menu`, measured from it.
bool measure_menu(QWidget *menu, Menu which, const QString &only)
{
    bool ok = true;
    for (const Screen &s : kScreens) {
        if (ok && s.menu == which && (only.isEmpty() || view_name(s).contains(only)))
            ok = measure(menu, s);
    }
    return ok;
}

bool chosen(Menu which, const QString &only)
{
    return std::any_of(std::begin(kScreens), std::end(kScreens), [&](const Screen &s) {
        return s.menu == which && (only.isEmpty() || view_name(s).contains(only));
    });
}

// Every chosen screen on the device, each from its menu.
bool measure_device(BenchDevice d, const QString &only)
{
    OpenShell shell(d);
    printf("\n%s device: median of %d presses each, screen and bare form in turn\n", device_name(d), PairedOpens::RUNS);
    bool ok = measure_menu(g_mainwindow, Menu::Main, only);
    if (ok && chosen(Menu::Settings, only)) {
        ok = inside_modal(g_mainwindow, "Button_setting", [&] {
            ok = measure_menu(g_option, Menu::Settings, only);
            press_back(g_option);
        }) && ok;
    }
    if (ok && chosen(Menu::InputChoice, only)) {
        ok = inside_modal(g_mainwindow, "inputchoose", [&] {
            QWidget *choice = QApplication::activeModalWidget();
            ok = measure_menu(choice, Menu::InputChoice, only);
            press_back(choice);
        }) && ok;
    }
    return ok;
}

}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // the panel program's application, on a device root of its own for the
    // stores it makes; each device below has its own root
    TestRoot start;
    PanelApp app(argc, argv);
    qInstallMessageHandler(quiet_messages);
    const QString only = qEnvironmentVariable("QEL_OPEN_RATIO_ONLY");
    const QString device = qEnvironmentVariable("QEL_OPEN_RATIO_DEVICE");
    if (!device.isEmpty() && device != QLatin1String("factory") && device != QLatin1String("busy")) {
        fprintf(stderr, "open check: QEL_OPEN_RATIO_DEVICE is factory or busy\n");
        return 2;
    }
    bool ok = true;
    for (BenchDevice d : {BenchDevice::Factory, BenchDevice::Busy}) {
        if (ok && (device.isEmpty() || device == QLatin1String(device_name(d)))) {
            ok = measure_device(d, only);
            qputenv("QEL_ROOT", start.path().toLocal8Bit());   // the device's root is gone
        }
    }
    return ok ? 0 : 1;
}
