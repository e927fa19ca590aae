#include <QElapsedTimer>
#include <memory>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/input/inputchoose.h"
#include "video_io/tavixsource.h"

// The input manager rewrites the timing records on its thread while the
// input choice screen repaints from them (run under the thread sanitizer).
class TestInputSignalsThreaded : public QObject
{
    Q_OBJECT

private slots:
    void refreshBesideTheInputManager()
    {
        ScreenEnv env;
        struct Manager   // stopped before the store goes, also after a failed check
        {
            tavixsource *tv = tavixsource::pInstance();
            Manager() { tv->start(); }
            ~Manager() { tavixsource::destroyInstance(); }
        } manager;
        tavixsource *tv = manager.tv;
        std::unique_ptr<InputChoose> owner(new InputChoose);
        InputChoose *screen = owner.get();
        screen->show();
        // tile 0 and the tab picture show HDMI1, the input window 0 shows; it
        // comes, goes and changes size
        auto shown = [screen] {
            return child(child(screen, "frame"), "0")->property("tile_size").toString() + ' ' + res(screen, "label_HDMI1");
        };
        for (int i = 0; i < 20; ++i) {
            const int width = i % 4 ? 1280 + i : 0;
            tv->set_sim_signal(2, width, 720, 60);
            tavixsource::wake();
            const QString want = width ? QStringLiteral("%1x720@60Hz :/png/HDMI13_lv.png").arg(width)
                                       : QStringLiteral("No signal :/png/HDMI13.png");
            QElapsedTimer t;
            t.start();
            while (shown() != want && t.elapsed() < 5000) {
                screen->syncUpdate(REFRESH_INPUTS);
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            QCOMPARE(shown(), want);
            // the shell's shadow follows, copied under the lock
            env.para->read([&env](const u8 *img) { std::memcpy(env.para->ram_para_shadow, img, Img::SIZE); });
        }
    }
};

QTEST_MAIN(TestInputSignalsThreaded)
#include "test_input_signals_threaded.moc"
