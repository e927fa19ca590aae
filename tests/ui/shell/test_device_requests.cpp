#include <QDialog>
#include <QPointer>
#include <QtTest>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/testenv.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

// A screen as the job screens are: it reports progress through its signal.
class JobScreen : public QDialog
{
    Q_OBJECT
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
    // One pass, ten ticks, then what the GUI thread has queued.
    void step(bool deliver = true)
    {
        m->pass();
        TestEnv::advanceTicks(10);
        if (deliver)
            settle();
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Passes until the job word is back to 0 (at most n passes).
    void runJob(bool deliver = true, int n = 2000)
    {
        for (int i = 0; i < n && g_send_para.job() != 0; ++i)
            step(deliver);
    }
};

// Every value the screen's signal carries.
QList<int> *recordProgress(JobScreen *s)
{
    auto *values = new QList<int>;
    QObject::connect(s, &JobScreen::sig_qround_bar_update, s, [values](int v) { values->append(v); });
    QObject::connect(s, &QObject::destroyed, [values] { delete values; });
    return values;
}
}

class TestDeviceRequests : public QObject
{
    Q_OBJECT

private slots:
    void fpgaStateGeometryAndLedSetUp()
    {
        {
            TestRoot root;
            QVERIFY(!DeviceRequests::fpgas_running());
            QVERIFY(!DeviceRequests::request_led_setup());
            QCOMPARE(DeviceRequests::port_area(3).width, u16(0));
        }
        Wall w;
        QVERIFY(DeviceRequests::fpgas_running());
        QSignalSpy done(JobRelay::instance(), &JobRelay::led_setup_done);

        // output port 18 is port 6 of FPGA 1; its new area shows once a set-up ends
        w.m->fpga(1)->set_port_area(6, 11, 22, 333, 444);
        QVERIFY(DeviceRequests::port_area(18).width != 333);
        // asked from inside the image edit: para_mutex is held, the LED lock is taken after it
        QVERIFY(QelRamPara::p_qelrampara_config->edit([](u8 *) { return DeviceRequests::request_led_setup(); }));
        QCOMPARE(int(g_set_led_para), 1);
        for (int i = 0; i < 10 && g_set_led_para != 0; ++i)
            w.step();
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(done.count(), 1);
        const DeviceRequests::PortArea a = DeviceRequests::port_area(18);
        QCOMPARE(QList<int>({a.x, a.y, a.width, a.height}), QList<int>({11, 22, 333, 444}));
        QCOMPARE(DeviceRequests::port_area(24).width, u16(0));

        // the scaler's hand-back (2) ends a set-up too
        g_set_led_para = 2;
        w.step();
        QCOMPARE(done.count(), 2);

        // one FPGA stopped: not running, no request
        w.m->fpga(0)->set_state(0);
        w.step();
        QVERIFY(!DeviceRequests::fpgas_running());
        QVERIFY(!DeviceRequests::request_led_setup());
        QCOMPARE(int(g_set_led_para), 0);
    }

    void jobProgressReachesTheRingOfItsScreen()
    {
        Wall w;
        JobScreen screen;
        QList<int> *values = recordProgress(&screen);
        u16 wordWhenWritten = 0xFFFF;
        QVERIFY(DeviceRequests::start_card_job(&screen, JOB_MAPPING_ENABLE, [&] {
            wordWhenWritten = g_send_para.word.load();
            g_send_para.arg = 9;
        }));
        QCOMPARE(int(wordWhenWritten), 0);   // inputs before the job word
        QCOMPARE(int(g_send_para.word.load()), int(JOB_MAPPING_ENABLE));
        QPointer<QRoundProgressBar> ring = g_qround_bar;
        QVERIFY(ring);
        QCOMPARE(ring->parentWidget(), &screen);
        QCOMPARE(JobRelay::instance()->screen(), &screen);

        w.step();
        w.step();
        QVERIFY(ring);
        QVERIFY(ring->value() > 0 && ring->value() < 100);
        w.runJob();
        QCOMPARE(values->first(), 0);
        QCOMPARE(values->last(), 100);
        QVERIFY(std::is_sorted(values->begin(), values->end()));
        QVERIFY(!ring);   // closed by its 100
        QVERIFY(!JobRelay::instance()->screen());
    }

    void refusedJobsChangeNothing_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("no signal") << "plain";
        QTest::newRow("code 0") << "code0";
        QTest::newRow("code 7") << "code7";
        QTest::newRow("ring shows") << "ring";
        QTest::newRow("job runs") << "job";
        QTest::newRow("upgrade runs") << "upgrade";
        QTest::newRow("no manager") << "nomanager";
    }
    void refusedJobsChangeNothing()
    {
        QFETCH(QString, why);
        Wall w;
        JobScreen first, second;
        QDialog plain;
        u8 code = JOB_SAVE_PARA;
        QDialog *asker = &second;
        if (why == "plain")
            asker = &plain;
        else if (why == "code0" || why == "code7")
            code = why == "code0" ? 0 : 7;
        else if (why == "ring")
            QRoundProgressBar::create_qround_bar(&first);
        else if (why == "job")
            QVERIFY(DeviceRequests::start_card_job(&first, JOB_CHECK_CARDS));
        else if (why == "upgrade")
            QVERIFY(fpga_manage::start_usb_upgrade());
        else
            fpga_manage::destroyInstance();
        QRoundProgressBar *ring = g_qround_bar;
        const u16 word = g_send_para.word.load();
        QDialog *relayScreen = JobRelay::instance()->screen();

        bool ran = false;
        QVERIFY(!DeviceRequests::start_card_job(asker, code, [&ran] { ran = true; }));
        QVERIFY(!ran);
        QCOMPARE(g_qround_bar, ring);
        QCOMPARE(g_send_para.word.load(), word);
        QCOMPARE(JobRelay::instance()->screen(), relayScreen);
        QVERIFY(asker->findChildren<QRoundProgressBar *>().isEmpty());
        if (why == "job") {
            // the running job still reports to the screen that started it
            QList<int> *values = recordProgress(&first);
            w.runJob();
            QCOMPARE(values->last(), 100);
        }
    }

    void reportsOfAScreenGoneAreDropped()
    {
        Wall w;
        auto *gone = new JobScreen;
        QVERIFY(DeviceRequests::start_card_job(gone, JOB_SAVE_PARA));
        w.step();
        delete gone;   // its ring goes with it
        QVERIFY(!g_qround_bar);
        // the job runs to its end with nothing delivered yet: its reports wait in the queue
        w.runJob(false);
        QCOMPARE(int(g_send_para.job()), 0);

        // the next screen's ring must not take the end of that job for its own
        JobScreen next;
        QList<int> *values = recordProgress(&next);
        QVERIFY(DeviceRequests::start_card_job(&next, JOB_SAVE_PARA));
        Wall::settle();
        QVERIFY(values->isEmpty());
        QVERIFY(g_qround_bar);
        w.runJob();
        QCOMPARE(values->first(), 0);
        QCOMPARE(values->last(), 100);
        QVERIFY(!g_qround_bar);
    }

    void recoveryResultComesBeforeItsRefresh()
    {
        Wall w;
        QByteArray file("QRCV\x01\x01\x04\x00\x02\x00", 10);   // LED5, two cards
        file.append(QByteArray(2 * rcv_card::PARA_SIZE, char(0x21)));
        w.root.write(QStringLiteral("/data/rcvrecovery/s1"), file);
        w.m->fpga(0)->set_card_count(4, 2);
        w.m->fpga(0)->set_needs_recovery(4, 1, true);
        w.step();

        QStringList order;
        connect(JobRelay::instance(), &JobRelay::recovery_result, this,
                [&order](const QStringList &e, int n) { order << QStringLiteral("result %1 %2").arg(n).arg(e.join(',')); });
        // the shell's refresh is queued, as SyncUpdate's is
        connect(QelRamPara::p_qelrampara_config, &QelRamPara::sig_update_para, this,
                [&order](int code) { order << QStringLiteral("code %1").arg(code); }, Qt::QueuedConnection);
        JobScreen screen;
        QVERIFY(DeviceRequests::start_card_job(&screen, JOB_CHECK_CARDS));
        w.runJob();
        Wall::settle();
        QCOMPARE(order, (QStringList{"result 1 01/05/02/02", "code 1"}));

        // with its screen gone the result is dropped; the refresh still comes
        order.clear();
        auto *gone = new JobScreen;
        QVERIFY(DeviceRequests::start_card_job(gone, JOB_CHECK_CARDS));
        delete gone;
        w.runJob();
        Wall::settle();
        QCOMPARE(order, QStringList{"code 1"});
    }

    void upgradeMarksWhatItInstalls()
    {
        Wall w;
        g_usb_grade_path = QStringLiteral("up");
        // two "QEL", then more "QELZK" than the list holds, and files that are no package
        for (const QString &n : {QStringLiteral("B.QEL"), QStringLiteral("a.QEL"), QStringLiteral("c.qelzk"),
                                 QStringLiteral("readme.txt")})
            w.root.write("/mnt/usb1/up/" + n, n.toUtf8());
        for (int i = 0; i < 110; ++i)
            w.root.write(QStringLiteral("/mnt/usb1/up/k%1.QELZK").arg(i, 3, 10, QLatin1Char('0')), "k");

        const QVector<fpga_manage::UpgradeFile> listed = DeviceRequests::upgrade_listing();
        QCOMPARE(listed.size(), 100);
        QCOMPARE(QFileInfo(listed.at(0).path).fileName(), QStringLiteral("a.QEL"));
        QCOMPARE(QFileInfo(listed.at(1).path).fileName(), QStringLiteral("B.QEL"));
        QCOMPARE(QFileInfo(listed.last().path).fileName(), QStringLiteral("k097.QELZK"));
        QStringList marked;
        for (const fpga_manage::UpgradeFile &f : listed)
            if (f.install)
                marked << QFileInfo(f.path).fileName();
        QCOMPARE(marked.size(), 99);
        QVERIFY(!marked.contains("B.QEL"));
        QStringList packages;
        for (const QString &p : DeviceRequests::upgrade_packages())
            packages << QFileInfo(p).fileName();
        QCOMPARE(packages, marked);

        QVERIFY(fpga_manage::start_usb_upgrade());
        for (int i = 0; i < 500 && g_usb_grade.load(); ++i)
            w.step();
        QCOMPARE(g_usb_grade.load(), 0);
        QStringList installed = QDir(w.root.file("/data/app")).entryList(QDir::Files);
        installed.sort();
        marked.sort();
        QCOMPARE(installed, marked);
    }

    void managerOnItsOwnThread()
    {
        Wall w;
        w.m->fpga(1)->set_card_count(0, 2);
        QSignalSpy done(JobRelay::instance(), &JobRelay::led_setup_done);
        JobScreen screen;
        QList<int> *values = recordProgress(&screen);
        w.m->start();
        QVERIFY(DeviceRequests::start_card_job(&screen, JOB_SAVE_PARA));
        QVERIFY(DeviceRequests::request_led_setup());
        QElapsedTimer t;
        t.start();
        while ((g_qround_bar || done.isEmpty()) && t.elapsed() < 20000) {
            TestEnv::advanceTicks(20);
            (void)DeviceRequests::fpgas_running();
            (void)DeviceRequests::port_area(12);
            QTest::qWait(1);
        }
        w.m->stop();
        QVERIFY(!g_qround_bar);
        QCOMPARE(values->last(), 100);
        QCOMPARE(done.count(), 1);
        QCOMPARE(w.m->fpga(1)->card(0, 1).saves, 1u);
    }
};

QTEST_MAIN(TestDeviceRequests)
#include "test_device_requests.moc"
