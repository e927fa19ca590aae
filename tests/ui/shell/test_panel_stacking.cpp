// The panel on a real X server with no window manager, as on the device:
// every window the operator opens comes up on top, shows, and takes the
// touches. An operator on a thread of its own taps through the X server
// (XTest) and reads the stacking and the pixels on the root. Skipped when
// Xvfb is missing.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <functional>

#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"
#include "tests/ui/shell/x_server.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"
#include "ui/shell/tip.h"
#include "video_io/tavixsource.h"

namespace {

constexpr int kWaitMs = 2000;
constexpr double kShown = 0.98;   // of a window's pixels on the screen (the clock moves on)
const QString kNetworkField = QStringLiteral("MainWindow/Button_setting Option/link_set LinkOption/Button_wlan "
                                             "LinkOption/lineEditIp4");

// Runs f on the GUI thread, whichever modal run it is in.
template <class F> auto gui(F f) -> decltype(f())
{
    decltype(f()) result{};
    QMetaObject::invokeMethod(qApp, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}

// GUI thread: the visible top-level window of a class, or the visible widget
// at a path of object names in it ("frame_source/Button_add").
QWidget *find(const QString &cls, const QString &path = QString())
{
    QWidget *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (!w && top->isVisible() && top->inherits(cls.toLatin1().constData()))
            w = top;
    for (const QString &name : path.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        w = w ? w->findChild<QWidget *>(name) : nullptr;
    return w && w->isVisible() ? w : nullptr;
}

// The windows of a stacking order by class ("?" for windows not the panel's).
QString names(const QVector<quint64> &stack)
{
    return gui([&] {
        QStringList out;
        for (quint64 id : stack) {
            out << QStringLiteral("?");
            for (QWidget *w : QApplication::topLevelWidgets())
                if (quint64(w->internalWinId()) == id)
                    out.last() = QString::fromLatin1(w->metaObject()->className());
        }
        return out.join(QStringLiteral(", "));
    });
}

// Share of equal pixels.
double same(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        return 0;
    qint64 equal = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            equal += (a.pixel(x, y) & 0xFFFFFF) == (b.pixel(x, y) & 0xFFFFFF);
    return double(equal) / (qint64(a.width()) * a.height());
}

// Someone in front of the panel. After the first failure nothing more is
// done; the failure says what was done last and what the screen showed.
class Operator
{
public:
    QString failure;

    Operator()
    {
        if (!m_x.connected())
            failure = QStringLiteral("no connection to the X server");
    }

    // Steps apart by spaces: "Class/path" taps that widget of the window once
    // the window is on top, "=Class" waits for the window on top, "#digits"
    // types on the keypad and closes it, "#digits+" confirms them with OK.
    void run(const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (step.startsWith(QLatin1Char('=')))
                onTop(step.mid(1));
            else if (step.startsWith(QLatin1Char('#')))
                keypad(step.mid(1).remove(QLatin1Char('+')), step.endsWith(QLatin1Char('+')));
            else
                tap(step.section(QLatin1Char('/'), 0, 0), step.section(QLatin1Char('/'), 1));
        }
    }

    // A finger on the widget, wherever it is on the screen, once its window is on top.
    void tap(const QString &cls, const QString &path)
    {
        QPoint at;
        if (!onTop(cls) || !until([&] {
                QWidget *w = find(cls, path);
                at = w ? w->mapToGlobal(w->rect().center()) : QPoint();
                return w != nullptr;
            }, QStringLiteral("no %1 on %2").arg(path, cls)))
            return;
        m_x.tap(at);
        m_last = QStringLiteral("tapping %1 %2").arg(cls, path);
    }

    // The window is the topmost on the root and its pixels are on the screen.
    bool onTop(const QString &cls)
    {
        struct Seen { quint64 id = 0; QRect rect; QImage own; };
        QElapsedTimer t;
        t.start();
        while (failure.isEmpty()) {
            const Seen w = gui([&] {
                Seen s;
                if (QWidget *win = find(cls)) {
                    const QPoint origin = win->mapToGlobal(QPoint(0, 0));
                    s.id = quint64(win->winId());
                    s.rect = QRect(origin, win->size()) & QRect(0, 0, 800, 480);
                    s.own = win->grab().toImage().convertToFormat(QImage::Format_RGB32)
                                .copy(QRect(s.rect.topLeft() - origin, s.rect.size()));
                }
                return s;
            });
            const QVector<quint64> stack = m_x.stack();
            const double shown = w.id ? same(m_x.grab(w.rect), w.own) : 0;
            if (w.id && !stack.isEmpty() && stack.front() == w.id && shown >= kShown)
                return true;
            if (t.elapsed() >= kWaitMs)
                failure = QStringLiteral("%1 is not on top after %2: mapped windows, topmost first: %3; "
                                         "%4% of its pixels show")
                              .arg(w.id ? cls : cls + QStringLiteral(" (not shown)"), m_last, names(stack))
                              .arg(int(shown * 100));
            QThread::msleep(20);
        }
        return false;
    }

    // Digits tapped on the keypad, which shows them, then OK or Close.
    void keypad(const QString &digits, bool ok)
    {
        const QString pad = QStringLiteral("NumberKeyboard");
        for (QChar d : digits)
            tap(pad, QStringLiteral("Button_") + d);
        if (until([&] { return g_numberkeyboard && g_numberkeyboard->typed() == digits; },
                  QStringLiteral("the keypad did not take %1 after %2").arg(digits, m_last)))
            tap(pad, ok ? QStringLiteral("Button_ok") : QStringLiteral("Button_close"));
        until([] { return !g_numberkeyboard || !g_numberkeyboard->isVisible(); },
              QStringLiteral("the keypad stayed open after %1").arg(m_last));
    }

    // Something the panel does meanwhile, on the GUI thread.
    void meanwhile(const std::function<void()> &f)
    {
        if (failure.isEmpty())
            gui([&] { return f(), true; });
    }

    // Waits for a condition checked on the GUI thread.
    bool until(const std::function<bool()> &condition, const QString &otherwise)
    {
        QElapsedTimer t;
        t.start();
        for (; failure.isEmpty(); QThread::msleep(10))
            if (gui(condition))
                return true;
            else if (t.elapsed() >= kWaitMs)
                failure = otherwise;
        return false;
    }

private:
    XView m_x;
    QString m_last = QStringLiteral("start");
};

bool mode_popup_open() { return g_mainwindow && g_mainwindow->mode_window_open(); }

}

class TestPanelStacking : public QObject
{
    Q_OBJECT

    QPointer<MainWindow> m_main;
    QTimer m_tick;

    // The operator acts on a thread of its own while this thread runs the
    // panel, modal runs included; what it left open is closed afterwards, as
    // the idle return does, and the main menu shows.
    void operate(const std::function<void(Operator &)> &script)
    {
        QString failure;
        QThread *t = QThread::create([&] {
            Operator op;
            script(op);
            failure = op.failure;
            gui([] {
                if (g_tip)
                    g_tip->hide();
                lcd_touch::auto_timeout_back();
                if (g_mainwindow)
                    g_mainwindow->show_menu();
                return true;
            });
        });
        QEventLoop loop;
        connect(t, &QThread::finished, &loop, &QEventLoop::quit);
        t->start();
        loop.exec();
        t->wait();
        delete t;
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

private slots:
    // The shell as main() builds it once the chips settled.
    void initTestCase()
    {
        register_screens();
        tavixsource::pInstance()->pass();   // the inputs of sim.json
        fpga_manage::pInstance();
        g_back_to_mainwindow_time = g_auto_lock_time = 120000;
        m_main = new MainWindow;
        connect(&m_tick, &QTimer::timeout, m_main, &MainWindow::slot_update_timer_ticks);
        m_tick.start(10);
        lcd_touch::pInstance();
        connect(QelRamPara::pInstance(), &QelRamPara::sig_update_para, SyncUpdate::pInstance(),
                &SyncUpdate::para_sync, Qt::QueuedConnection);
        new LockWindow();
        m_main->show();
        g_lockwindow->show();
        g_lockwindow->raise();
        g_page_focus = PAGE_HOME;
        g_numberkeyboard->setGeometry(800 - 380, 0, 380, 480);
    }

    void cleanupTestCase()
    {
        m_tick.stop();
        delete g_lockwindow;
        delete m_main.data();
        lcd_touch::destroyInstance();
        fpga_manage::destroyInstance();
        tavixsource::destroyInstance();
    }

    // The home screen at start, a touch brings the main menu; then a keypad
    // over each screen that opens one, through the settings menu or the main
    // menu. Every tap first checks that its window is on top.
    void windowsOpenOnTop_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("home screen, main menu") << "LockWindow/label_time =MainWindow";
        QTest::newRow("crop field") << "MainWindow/Button_setting Option/input_cut InputCut/frame_source/Button_add "
                                       "InputCut/lineEdit_W #1280 InputCut/Button_back =Option";
        QTest::newRow("network address") << kNetworkField + " #7 LinkOption/Button_back =Option";
        QTest::newRow("layout access code")
            << "MainWindow/Button_setting Option/image_layout #8888+ ImageLayout/Button_back =Option";
        QTest::newRow("EDID width") << "MainWindow/inputchoose InputChoose/frame/Button_menu InputChoose/button_EDID "
                                       "EDIDset/frame_source/0 EDIDset/lineEdit_W #800 EDIDset/Button_back "
                                       "=InputChoose";
        QTest::newRow("smart mapping cabinet width")
            << "MainWindow/Button_setting Option/smart_mapping SmartMapping/lineEdit_X #128 "
               "SmartMapping/Button_back =Option";
    }
    void windowsOpenOnTop()
    {
        QFETCH(QString, steps);
        operate([&](Operator &op) { op.run(steps); });
    }

    // A frame of the main window: its pixels show and its slots take the touches.
    void userModeSavePopup()
    {
        operate([](Operator &op) {
            op.run("MainWindow/Button_mode");
            op.until(mode_popup_open, QStringLiteral("the user-mode pop-up did not open"));
            op.run("MainWindow/mode_slot_5");
            op.until([] { return g_mode_select == 5; }, QStringLiteral("the pop-up took no touch"));
            op.run("MainWindow/Button_mode_close");
            op.until([] { return !mode_popup_open(); }, QStringLiteral("the pop-up stayed open"));
        });
    }

    // The check mark once the network settings are saved; the second time
    // over a screen made after the tip's window.
    void tipAfterSave()
    {
        operate([](Operator &op) {
            for (const char *octet : {"9", "10"}) {
                op.run(kNetworkField + QStringLiteral(" #%1+ LinkOption/Button_net_apply =TIP").arg(octet));
                op.until([] {
                    TestEnv::advanceTicks(300);   // its time is up at the next tick
                    return !g_tip->isVisible();
                }, QStringLiteral("the tip stayed"));
                op.run("LinkOption/Button_back Option/Button_back");
            }
        });
    }

    // A USB upgrade's overlay over the screen that shows, as the FPGA
    // manager raises and ends it.
    void upgradeOverlay()
    {
        operate([](Operator &op) {
            op.run("MainWindow/Button_setting Option/link_set =LinkOption");
            op.meanwhile([] { emit fpga_manage::p_fpga_manage->sig_update_start(); });
            op.run("=FirmwareUpdate");
            op.meanwhile([] { emit fpga_manage::p_fpga_manage->sig_update_over(); });
            op.run("=LinkOption");
        });
    }

    // Left alone with the keypad open: the main menu, then the home screen
    // once the panel locks; a touch there brings the main menu.
    void idleReturnHome()
    {
        operate([](Operator &op) {
            op.run(kNetworkField + " =NumberKeyboard");
            op.meanwhile([] { g_back_to_mainwindow_time = 30; });
            op.run("=MainWindow");
            op.meanwhile([] { g_auto_lock_time = 1; });
            op.run("=LockWindow");
            op.meanwhile([] { g_auto_lock_time = 120000; });   // or a touch locks again
            op.run("LockWindow/label_time =MainWindow");
        });
        g_back_to_mainwindow_time = g_auto_lock_time = 120000;
    }
};

int main(int argc, char **argv)
{
    const QString missing = XServer::missing();
    if (!missing.isEmpty()) {
        printf("SKIP: %s\n", qPrintable(missing));
        return 77;
    }
    TestRoot root;   // before the stores the application makes
    root.writeSim(R"({"inputs":[{"slot":2,"width":1920,"height":1080,"rate":60}],
                      "fpgas":[{"state":3,"version":[1,6,11,26]},{"state":3,"version":[1,6,11,26]}],
                      "cards":{"1":2},"fonts":15,"settle_ms":0})");
    XServer x;
    QString error;
    if (!x.start(&error)) {
        printf("FAIL: %s\n", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    PanelApp app(argc, argv);
    TestPanelStacking test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_panel_stacking.moc"
