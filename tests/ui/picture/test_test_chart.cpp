#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/picture/test_chart.h"

namespace {

// The test pattern screen over the parameter store.
struct Chart : ScreenEnv
{
    test_chart *s = nullptr;

    Chart() { settle(); }
    ~Chart() { delete g_test_chart; }
    void open() { s = g_test_chart = new test_chart; g_page_focus = PAGE_TEST_PATTERN; s->show(); }
    void press(int k) { click(s, QString::number(k)); }
    // The tiles drawn with the thick frame of the shown pattern.
    QList<int> marked() const
    {
        QList<int> out;
        for (int k = 0; k < 8; ++k)
            if (child<QLabel>(s, QStringLiteral("label_test%1").arg(k + 1))->styleSheet().contains(QLatin1String("5px")))
                out << k;
        return out;
    }
    int byte() const { return para->ram_para[Img::TEST_PATTERN]; }
    int onWall() { c331_manage::pInstance()->pass(); return c331_manage::pInstance()->chip()->state().test_pattern; }
};

}

class TestTestChart : public QObject
{
    Q_OBJECT

private slots:
    void eachPatternOnAndOffAndAfterBack()
    {
        Chart c;
        c.open();
        QVERIFY(c.marked().isEmpty() && c.onWall() == 0);
        for (int k = 0; k < 8; ++k) {
            c.press(k);
            QCOMPARE(c.marked(), QList<int>{k});
            QCOMPARE(c.byte() * 10 + c331_manage::para_update, (k + 1) * 10 + 1);
            QCOMPARE(c.onWall(), k + 1);
        }
        // the marked one again: marks stay, the byte is written once more
        c.press(7);
        QVERIFY(c.marked() == QList<int>{7} && c331_manage::para_update == 1);
        QCOMPARE(c.onWall(), 8);
        // close takes it off; with nothing marked it still writes, also over a pattern the PC set
        for (int shown : {8, 5}) {
            c.para->ram_para[Img::TEST_PATTERN] = u8(shown);
            click(c.s, QStringLiteral("Button_closetest"));
            QVERIFY(c.marked().isEmpty() && c.byte() == 0 && c331_manage::para_update == 1);
            QCOMPARE(c.onWall(), 0);
        }
        // the pattern stays after Back; opened again nothing is marked
        c.press(3);
        click(c.s, QStringLiteral("Button_back"));
        QVERIFY(!g_test_chart);
        QCOMPARE(c.byte() * 10 + c.onWall(), 44);
        c.open();
        QVERIFY(c.marked().isEmpty());
        c.press(0);
        QCOMPARE(c.marked(), QList<int>{0});
        // a pattern or a language set from outside: the refresh relabels but marks nothing
        c.para->ram_para[Img::TEST_PATTERN] = 6;
        c.para->ram_para[Img::LANGUAGE] = 2;
        c.s->syncUpdate();
        QCOMPARE(c.marked(), QList<int>{0});
        QCOMPARE(labelText(c.s, "label_red"), QStringLiteral("Тест 1"));
    }
};

QTEST_MAIN(TestTestChart)
#include "test_test_chart.moc"
