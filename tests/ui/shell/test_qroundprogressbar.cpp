#include <QDialog>
#include <QPointer>
#include <QtTest>

#include "tests/support/testenv.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

class TestQRoundProgressBar : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { g_qround_bar = nullptr; }

    void ringLife()
    {
        TestRoot root;
        QDialog screen, other;
        QRoundProgressBar::create_qround_bar(&screen);
        QPointer<QRoundProgressBar> bar = g_qround_bar;
        QVERIFY(bar);
        QCOMPARE(bar->parentWidget(), &screen);

        // a second screen asking for a ring gets nothing new
        QRoundProgressBar::create_qround_bar(&other);
        QCOMPARE(g_qround_bar, bar.data());
        QVERIFY(other.findChildren<QRoundProgressBar *>().isEmpty());

        // values from any connection reach the one ring, clamped
        bar->para_sync(42);
        QCOMPARE(bar->value(), 42);
        bar->para_sync(-5);
        QCOMPARE(bar->value(), 0);
        bar->para_sync(99);
        QCOMPARE(bar->value(), 99);
        QVERIFY(!bar->grab().isNull());   // paints

        // a job's signal connected to the ring is cut when the ring goes
        QObject job;
        QObject::connect(&job, &QObject::objectNameChanged, bar.data(), [b = bar.data()] { b->para_sync(100); });
        job.setObjectName(QStringLiteral("done"));
        QVERIFY(!g_qround_bar);
        QVERIFY(bar);   // deleted later, not under the caller
        bar->para_sync(50);   // ignored once closed
        QCOMPARE(bar->value(), 99);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!bar);
        job.setObjectName(QStringLiteral("again"));   // no receiver left

        // a fresh ring after the old one closed goes with its screen
        auto *third = new QDialog;
        QRoundProgressBar::create_qround_bar(third);
        QVERIFY(g_qround_bar && g_qround_bar->parentWidget() == third);
        delete third;
        QVERIFY(!g_qround_bar);
    }
};

QTEST_MAIN(TestQRoundProgressBar)
#include "test_qroundprogressbar.moc"
