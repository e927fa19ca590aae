#include <QDialog>
#include <QPointer>
#include <QtTest>

#include "tests/support/testenv.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"

class TestQRoundProgressBar : public QObject
{
    Q_OBJECT

    static void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

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
        QCOMPARE(bar->geometry(), QRect(300, 140, 200, 200));
        QCOMPARE(bar->value(), 0);

        // a second screen asking for a ring gets nothing new
        QRoundProgressBar::create_qround_bar(&other);
        QCOMPARE(g_qround_bar, bar.data());
        QVERIFY(other.findChildren<QRoundProgressBar *>().isEmpty());

        // values from any connection reach the one ring, clamped
        QRoundProgressBar::create_qround_bar(nullptr);
        QCOMPARE(g_qround_bar, bar.data());
        bar->para_sync(42);
        QCOMPARE(bar->value(), 42);
        bar->para_sync(-5);
        QCOMPARE(bar->value(), 0);
        bar->para_sync(99);
        QCOMPARE(bar->value(), 99);
        QVERIFY(!bar->grab().isNull());   // paints

        // a job's signal connected to the ring is cut when the ring goes
        QObject job;
        QObject::connect(&job, &QObject::objectNameChanged, bar.data(),
                         [b = bar.data()] { b->para_sync(100); });
        job.setObjectName(QStringLiteral("done"));
        QVERIFY(!g_qround_bar);
        QVERIFY(bar);   // deleted later, not under the caller
        bar->para_sync(50);   // ignored once closed
        QCOMPARE(bar->value(), 99);
        processDeletes();
        QVERIFY(!bar);
        job.setObjectName(QStringLiteral("again"));   // no receiver left

        // a fresh ring after the old one closed
        QRoundProgressBar::create_qround_bar(&other);
        QVERIFY(g_qround_bar);
        QCOMPARE(g_qround_bar->parentWidget(), &other);
    }

    void ringGoneWithItsScreen()
    {
        TestRoot root;
        auto *screen = new QDialog;
        QRoundProgressBar::create_qround_bar(screen);
        QVERIFY(g_qround_bar);
        delete screen;
        QVERIFY(!g_qround_bar);
    }
};

QTEST_MAIN(TestQRoundProgressBar)
#include "test_qroundprogressbar.moc"
