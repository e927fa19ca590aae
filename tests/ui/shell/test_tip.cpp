#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "core/global.h"
#include "tests/support/testenv.h"
#include "ui/shell/tip.h"

class TestTip : public QObject
{
    Q_OBJECT

    // The one content label, null when there is none or more than one.
    static QLabel *content(TIP &tip)
    {
        const auto labels = tip.findChildren<QLabel *>();
        return labels.size() == 1 ? labels.first() : nullptr;
    }
    static QString text(TIP &tip) { return content(tip) ? content(tip)->text() : QStringLiteral("<none>"); }
    // Whether the tip still shows after n more ticks.
    static bool shownAfter(TIP &tip, unsigned n)
    {
        TestEnv::advanceTicks(n);
        tip.tick();
        return tip.isVisible();
    }

private slots:
    void codesShowTheirContent()
    {
        TestRoot root;
        TIP tip;
        tip.tip_create(1);
        QCOMPARE(QApplication::activeModalWidget(), &tip);
        QVERIFY(content(tip) && !content(tip)->pixmap(Qt::ReturnByValue).isNull());

        // a new tip replaces the old: one content at a time
        tip.tip_create(3);
        QCOMPARE(text(tip), QStringLiteral("USB stick inserted"));
        g_language = 0;
        tip.tip_create(5);
        QCOMPARE(text(tip), QString::fromUtf8("U盘已就绪"));

        // code 2 only takes away what shows
        tip.tip_create(2);
        QVERIFY(tip.findChildren<QLabel *>().isEmpty() && tip.code() == 0);
        QVERIFY(!tip.isVisible() && !QApplication::activeModalWidget());
    }

    void tickHidesAfter300Ticks()
    {
        TestRoot root;
        TIP tip;
        TestEnv::advanceTicks(5000);
        tip.tip_create(1);
        QVERIFY(shownAfter(tip, 299) && !shownAfter(tip, 1));
        QCOMPARE(tip.code(), 0);

        // a replacement starts its own 300 ticks
        tip.tip_create(3);
        TestEnv::advanceTicks(200);
        tip.tip_create(4);
        QVERIFY(shownAfter(tip, 200) && !shownAfter(tip, 100));

        // across the wrap of the tick counter
        G_timeTicks = 0xFFFFFF00u;
        tip.tip_create(1);
        QVERIFY(shownAfter(tip, 0x110) && !shownAfter(tip, 0x20));
    }
};

QTEST_MAIN(TestTip)
#include "test_tip.moc"
