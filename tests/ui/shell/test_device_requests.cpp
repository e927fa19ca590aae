#include <QDialog>
#include <QPointer>
#include <QtTest>

#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

// A job screen: it reports progress through its signal; `values` keeps what came.
class JobScreen : public QDialog
{
    Q_OBJECT
public:
    QList<int> values;
    JobScreen() { connect(this, &JobScreen::sig_qround_bar_update, this, [this](int v) { values.append(v); }); }
signals:
    void sig_qround_bar_update(int value);
};

namespace {
// A simulated wall with the FPGA manager stepped by hand.
struct Wall
{
    TestRoot root;
    fpga_manage *m = nullptr;

    Wall()
    {
        root.writeSim(R"({"fpgas":[{"state":3,"version":[1,2,3,4]},{"state":3,"version":[1,2,3,4]}]})");
        QelRamPara::pInstance();
        m = fpga_manage::pInstance();
    }
    ~Wall()
    {
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
        g_qround_bar = nullptr;   // went with its screen
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Passes ten ticks apart until the job word is 0, then the reports
    // queued for the GUI thread after each pass unless told to keep them.
    void runJob(bool deliver = true)
    {
        for (int i = 0; i < 2000 && (i == 0 || g_send_para.job() != 0); ++i) {
            m->pass();
            TestEnv::advanceTicks(10);
            if (deliver)
                settle();
        }
    }
};
}

class TestDeviceRequests : public QObject
{
    Q_OBJECT

private slots:
    void refusedJobsChangeNothing_data()
    {
        QTest::addColumn<QString>("why");
        for (const char *why :
             {"no screen", "code 0", "code 7", "ring shows", "job runs", "upgrade runs", "no manager"})
            QTest::newRow(why) << why;
    }
    void refusedJobsChangeNothing()
    {
        QFETCH(QString, why);
        Wall w;
        JobScreen first, second;
        JobScreen *asker = why == "no screen" ? nullptr : &second;
        const u8 code = why == "code 0" ? 0 : why == "code 7" ? 7 : JOB_SAVE_PARA;
        if (why == "ring shows")
            QRoundProgressBar::create_qround_bar(&first);
        else if (why == "job runs")
            QVERIFY(DeviceRequests::start_card_job(&first, JOB_CHECK_CARDS));
        else if (why == "upgrade runs")
            QVERIFY(fpga_manage::start_usb_upgrade());
        else if (why == "no manager") {
            fpga_manage::destroyInstance();
            QVERIFY(!DeviceRequests::fpgas_running() && !DeviceRequests::request_led_setup());
            QCOMPARE(DeviceRequests::port_area(3).width, u16(0));
        }
        QRoundProgressBar *ring = g_qround_bar;
        const u16 word = g_send_para.word.load();
        QDialog *relayScreen = JobRelay::instance()->screen();

        bool ran = false;
        QVERIFY(!DeviceRequests::start_card_job(asker, code, [&ran] { ran = true; }));
        QVERIFY(!ran && g_qround_bar == ring && g_send_para.word.load() == word);
        QCOMPARE(JobRelay::instance()->screen(), relayScreen);
        QVERIFY(second.findChildren<QRoundProgressBar *>().isEmpty());
        if (why == "job runs") {   // the running job still reports to its own screen
            w.runJob();
            QCOMPARE(first.values.last(), 100);
        }
    }

    // The relay hands a job's reports, queued, to the screen that started it
    // and drops them when that screen is gone.
    void reportsReachOnlyTheirOwnScreenAndLedSetUp()
    {
        Wall w;
        // LED5, two cards, one to restore
        w.root.write(QStringLiteral("/data/rcvrecovery/s1"), TestEnv::recoveryFile({{4, 2, 0x21}}));
        w.m->fpga(0)->set_card_count(4, 2);
        w.m->fpga(0)->set_needs_recovery(4, 1, true);
        w.m->pass();
        QStringList order;
        connect(JobRelay::instance(), &JobRelay::recovery_result, this,
                [&order](const QStringList &e, int n) { order << QStringLiteral("result %1 %2").arg(n).arg(e.join(',')); });
        // the shell's refresh is queued, as SyncUpdate's is
        connect(QelRamPara::p_qelrampara_config, &QelRamPara::sig_update_para, this,
                [&order](int code) { order << QStringLiteral("code %1").arg(code); }, Qt::QueuedConnection);

        auto *gone = new JobScreen;
        QVERIFY(DeviceRequests::start_card_job(gone, JOB_CHECK_CARDS));
        delete gone;   // its ring goes with it
        QVERIFY(!g_qround_bar);
        w.runJob(false);   // its reports, its result among them, wait in the queue

        // the next screen's ring must not take the end of that job for its own
        JobScreen next;
        u16 wordWhenWritten = 0xFFFF;
        QVERIFY(DeviceRequests::start_card_job(&next, JOB_CHECK_CARDS, [&] { wordWhenWritten = g_send_para.word; }));
        QCOMPARE(int(wordWhenWritten), 0);   // inputs before the job word
        QPointer<QRoundProgressBar> ring = g_qround_bar;
        QVERIFY(ring && ring->parentWidget() == &next);
        emit w.m->sig_job_progress(JOB_CHECK_CARDS, 100);   // the earlier job's end, come late from its thread
        Wall::settle();
        QVERIFY(next.values.isEmpty() && ring);
        QCOMPARE(order, QStringList{"code 1"});
        order.clear();
        w.runJob();
        QVERIFY(next.values.first() == 0 && next.values.last() == 100);
        QVERIFY(std::is_sorted(next.values.begin(), next.values.end()));
        QVERIFY(!ring && !JobRelay::instance()->screen());   // closed by its 100
        QCOMPARE(order, (QStringList{"result 1 01/05/02/02", "code 1"}));   // the result before its refresh

        // the LED set-up, asked inside the image edit: para_mutex is held, the LED lock comes after it
        QSignalSpy done(JobRelay::instance(), &JobRelay::led_setup_done);
        QVERIFY(QelRamPara::p_qelrampara_config->edit([](u8 *) { return DeviceRequests::request_led_setup(); }));
        QCOMPARE(int(g_set_led_para), 1);
        for (int i = 0; i < 10 && g_set_led_para != 0; ++i)
            w.runJob();
        QCOMPARE(done.count(), 1);
        g_set_led_para = 2;   // the scaler's hand-back ends a set-up too
        w.runJob();
        QCOMPARE(done.count(), 2);
        w.m->fpga(0)->set_state(0);
        w.m->pass();
        QVERIFY(!DeviceRequests::fpgas_running() && !DeviceRequests::request_led_setup() && g_set_led_para == 0);
    }
};

QTEST_MAIN(TestDeviceRequests)
#include "test_device_requests.moc"
