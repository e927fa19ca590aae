#include <QApplication>
#include <QLabel>
#include <QtTest>

#include "core/global.h"
#include "tests/support/testenv.h"
#include "ui/shell/tip.h"

class TestTip : public QObject
{
    Q_OBJECT

    static QLabel *content(TIP &tip)
    {
        const auto labels = tip.findChildren<QLabel *>();
        return labels.size() == 1 ? labels.first() : nullptr;
    }

private slots:
    void codesShowTheirContent()
    {
        TestRoot root;
        TIP tip;
        tip.tip_create(1);
        QVERIFY(tip.isVisible());
        QCOMPARE(tip.windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), &tip);
        QCOMPARE(tip.code(), 1);
        QVERIFY(content(tip));
        QCOMPARE(content(tip)->property("res").toString(), QStringLiteral(":/png/tip_ok.png"));
        QVERIFY(!content(tip)->pixmap(Qt::ReturnByValue).isNull());
        const QRect g = tip.geometry();
        QCOMPARE(g.x() * 2 + g.width(), 800);
        QCOMPARE(g.y() * 2 + g.height(), 480);

        // a new tip replaces the old: one content at a time
        g_language = 1;
        tip.tip_create(3);
        QVERIFY(content(tip));
        QCOMPARE(content(tip)->text(), QStringLiteral("USB stick inserted"));
        tip.tip_create(4);
        QCOMPARE(content(tip)->text(), QStringLiteral("USB stick removed"));
        g_language = 0;
        tip.tip_create(5);
        QCOMPARE(content(tip)->text(), QString::fromUtf8("U盘已就绪"));
        g_language = 2;
        tip.tip_create(5);
        QCOMPARE(content(tip)->text(), QString::fromUtf8("USB-накопитель готов"));

        // code 2 only takes away what shows
        tip.tip_create(2);
        QVERIFY(!content(tip));
        QCOMPARE(tip.code(), 0);
        QVERIFY(!tip.isVisible());
        QVERIFY(!QApplication::activeModalWidget());
    }

    void tickHidesAfter300Ticks()
    {
        TestRoot root;
        TIP tip;
        TestEnv::advanceTicks(5000);
        tip.tip_create(1);
        TestEnv::advanceTicks(299);
        tip.tick();
        QVERIFY(tip.isVisible());
        TestEnv::advanceTicks(1);
        tip.tick();
        QVERIFY(!tip.isVisible());
        QCOMPARE(tip.code(), 0);

        // a replacement starts its own 300 ticks
        tip.tip_create(3);
        TestEnv::advanceTicks(200);
        tip.tip_create(4);
        TestEnv::advanceTicks(200);
        tip.tick();
        QVERIFY(tip.isVisible());
        TestEnv::advanceTicks(100);
        tip.tick();
        QVERIFY(!tip.isVisible());

        // across the wrap of the tick counter
        G_timeTicks = 0xFFFFFF00u;
        tip.tip_create(1);
        TestEnv::advanceTicks(0x200);
        tip.tick();
        QVERIFY(!tip.isVisible());
    }
};

QTEST_MAIN(TestTip)
#include "test_tip.moc"
