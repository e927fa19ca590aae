#include <QElapsedTimer>
#include <QLineEdit>

#include "core/global.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/smartmapping.h"
#include "ui/shell/device_requests.h"

// The wizard on the GUI thread, the FPGA manager on its own: what the jobs
// read is handed over under locks (run under the thread sanitizer).
class TestSmartMappingThreaded : public QObject
{
    Q_OBJECT

    // Moves the ticks on while the event loop runs, until the ring closes or 20 s pass.
    static bool ringClosed()
    {
        QElapsedTimer t;
        t.start();
        while (g_qround_bar && t.elapsed() < 20000) {
            TestEnv::advanceTicks(20);
            QTest::qWait(1);
        }
        return !g_qround_bar;
    }

private slots:
    void operatorBesideTheManagerThread()
    {
        ScreenEnv env;
        env.root.writeSim(R"({"fpgas":[{"state":3,"version":[1,2,3,4]},{"state":3,"version":[1,2,3,4]}],
                              "cards":{"1":4}})");
        fpga_manage *m = fpga_manage::pInstance();
        m->start();
        auto *w = new SmartMapping;
        g_smartmapping = w;
        w->show();

        click(w, "Button_next");    // 128 x 96 on LED1
        click(w, "Button_next_2");
        child<QLineEdit>(w, "lineEdit_line")->setText("2");
        child<QLineEdit>(w, "lineEdit_column")->setText("2");
        bool taken = false;
        connect(w, &SmartMapping::sig_qround_bar_update, this, [&taken] { taken = true; });
        click(w, "Button_send");
        QTRY_VERIFY(taken);   // the manager has its copy of the record
        // what the operator changes while the job runs reaches only the next job
        click(w, "Button_route");
        QTest::mouseClick(child<QAbstractButton>(w, "Button_route4"), Qt::LeftButton);
        click(w, "Button_front_3");
        click(child(w, "tiles_frame"), "1");
        w->language_changed();   // lists the scan folder beside the job
        QVERIFY(ringClosed());
        const int want[4][2] = {{128, 96}, {0, 96}, {0, 0}, {128, 0}};   // pattern 1
        for (int c = 0; c < 4; ++c)
            QCOMPARE(QList<int>({m->fpga(0)->card(0, c).position_x(), m->fpga(0)->card(0, c).position_y()}),
                     QList<int>({want[c][0], want[c][1]}));

        click(w, "Button_back");
        QVERIFY(!g_smartmapping);
        fpga_manage::destroyInstance();
        JobRelay::instance()->attach(nullptr, 0);
    }
};

QTEST_MAIN(TestSmartMappingThreaded)
#include "test_smartmapping_threaded.moc"
