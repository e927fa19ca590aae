#include <QPointer>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/picture/test_chart.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/option.h"

namespace {

// The test pattern screen over the parameter store.
struct Chart : ScreenEnv
{
    test_chart *s = nullptr;

    Chart() { settle(); }
    ~Chart()
    {
        delete g_test_chart;
        delete g_option;
    }
    void open()
    {
        s = g_test_chart = new test_chart;
        g_page_focus = PAGE_TEST_PATTERN;
        s->show();
    }
    void press(int k) { click(s, QString::number(k)); }
    // Marked tiles; -100 - k: a tile neither marked nor plain; -200 - k: a
    // picture not fitted to its frame's interior.
    QList<int> marked() const
    {
        QList<int> out;
        for (int k = 0; k < 8; ++k) {
            const QLabel *tile = child<QLabel>(s, QStringLiteral("label_test%1").arg(k + 1));
            if (tile->pixmap(Qt::ReturnByValue).size() != tile->contentsRect().size())
                out << -200 - k;
            const QString style = tile->styleSheet();
            if (style == QLatin1String("border:5px solid rgb(255,171,84);"))
                out << k;
            else if (style != QLatin1String("border:1px solid rgb(255, 255, 255);"))
                out << -100 - k;
        }
        return out;
    }
    int byte() const { return para->ram_para[Img::TEST_PATTERN]; }
    int onWall()
    {
        c331_manage::pInstance()->pass();
        return c331_manage::pInstance()->chip()->state().test_pattern;
    }
};

}

class TestTestChart : public QObject
{
    Q_OBJECT

private slots:
    void eachPatternOnAndOff()
    {
        Chart c;
        c.open();
        QVERIFY(c.marked().isEmpty());
        QCOMPARE(c.onWall(), 0);
        for (int k = 0; k < 8; ++k) {
            c.press(k);
            QCOMPARE(c.marked(), QList<int>{k});
            QCOMPARE(c.byte() * 10 + c331_manage::para_update, (k + 1) * 10 + 1);
            QCOMPARE(c.onWall(), k + 1);
        }
        // the marked one again: marks stay, the byte is written once more
        c.press(7);
        QCOMPARE(c.marked(), QList<int>{7});
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(c.onWall(), 8);
        // close takes it off; with nothing marked it still writes, also over a pattern the PC set
        for (int shown : {8, 5}) {
            c.para->ram_para[Img::TEST_PATTERN] = u8(shown);
            click(c.s, QStringLiteral("Button_closetest"));
            QVERIFY(c.marked().isEmpty());
            QCOMPARE(c.byte() * 10 + c331_manage::para_update, 1);
            QCOMPARE(c.onWall(), 0);
        }
    }

    void patternStaysAfterBack()
    {
        Chart c;
        g_option = new Option;
        c.open();
        QPointer<test_chart> guard(c.s);
        c.press(3);
        click(c.s, QStringLiteral("Button_back"));
        QVERIFY(!g_test_chart && guard.isNull());
        QCOMPARE(c.byte() * 10 + c.onWall(), 44);
        // opened again: no mark, the first press unmarks nothing else
        c.open();
        QVERIFY(c.marked().isEmpty());
        c.press(0);
        QCOMPARE(c.marked(), QList<int>{0});
        QCOMPARE(c.onWall(), 1);
        // a pattern set from outside is not marked by the refresh
        c.para->ram_para[Img::TEST_PATTERN] = 6;
        c.s->syncUpdate();
        QCOMPARE(c.marked(), QList<int>{0});
    }

    void fiveLanguages()
    {
        Chart c;
        c.open();
        const struct {
            int lang;
            const char *title, *first;
        } expect[5] = {{1, "Test pattern", "Red"}, {0, "测试图", "红色"}, {2, "Тестовый\nобразец", "Тест 1"},
                       {3, "Biểu đồ\nkiểm tra", "Kiểm tra 1"}, {4, "測試圖", "紅色"}};
        for (const auto &e : expect) {
            c.para->ram_para[Img::LANGUAGE] = u8(e.lang);
            c.s->syncUpdate();
            c.settle();
            QCOMPARE(int(g_language), e.lang);
            QCOMPARE(labelText(c.s, "label_title") + '|' + labelText(c.s, "label_red"),
                     QString::fromUtf8(e.title) + '|' + QString::fromUtf8(e.first));
        }
        QCOMPARE(int(c331_manage::para_update), 0);
    }
};

QTEST_MAIN(TestTestChart)
#include "test_test_chart.moc"
