#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <cstring>

#include "core/global.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/picture/test_chart.h"
#include "ui/shell/option.h"
#include "ui/shell/screens.h"

namespace {

const char *const kPlain = "border:1px solid rgb(255, 255, 255);";
const char *const kMarked = "border:5px solid rgb(255,171,84);";
const char *const kCaptions[8] = {"label_red",   "label_green",  "label_blue",  "label_white",
                                  "label_black", "label_colour", "label_hline", "label_wline"};

QelRamPara *img() { return QelRamPara::p_qelrampara_config; }
void imageOverShadow() { std::memcpy(img()->ram_para_shadow, img()->ram_para, Img::SIZE); }

template <class T> T *child(QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}
QFrame *frame(QObject *s) { return child<QFrame>(s, QStringLiteral("frame")); }
QPushButton *tile(QObject *s, int k) { return child<QPushButton>(frame(s), QString::number(k)); }
QLabel *picture(QObject *s, int k) { return child<QLabel>(frame(s), QStringLiteral("label_test%1").arg(k + 1)); }
QString text(QObject *s, const char *name) { return child<QWidget>(s, QString::fromLatin1(name))->property("text").toString(); }

// Tiles carrying the mark.
QList<int> marked(QObject *s)
{
    QList<int> out;
    for (int k = 0; k < 8; ++k) {
        const QString style = picture(s, k)->styleSheet();
        if (style == QLatin1String(kMarked))
            out << k;
        else if (style != QLatin1String(kPlain))
            out << -100 - k;   // neither style
    }
    return out;
}

u8 shownOnWall()
{
    c331_manage::pInstance()->pass();
    return c331_manage::pInstance()->chip()->state().test_pattern;
}

}

class TestTestChart : public QObject
{
    Q_OBJECT

    test_chart *open()
    {
        g_test_chart = new test_chart;
        g_page_focus = PAGE_TEST_PATTERN;
        g_test_chart->show();
        return g_test_chart;
    }

    void setUp()
    {
        QelRamPara::pInstance();
        imageOverShadow();
        c331_manage::para_update = 0;
    }

private slots:
    void cleanup()
    {
        delete g_test_chart;
        delete g_option;
        c331_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
        g_language = 1;
    }

    void buildsTheEightTiles()
    {
        TestRoot root;
        setUp();
        test_chart *s = open();
        QCOMPARE(frame(s)->geometry(), QRect(171, 69, 580, 400));
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_back"))->property("res").toString(),
                 QStringLiteral(":/png/back.png"));
        for (int k = 0; k < 8; ++k) {
            const int x = 140 * (k % 4), y = 20 + 160 * (k / 4);
            QCOMPARE(picture(s, k)->geometry(), QRect(15 + x, y, 100, 100));
            QCOMPARE(picture(s, k)->property("res").toString(), QStringLiteral(":/png/img_test%1.png").arg(k + 1));
            QVERIFY(!picture(s, k)->pixmap(Qt::ReturnByValue).isNull());
            QCOMPARE(tile(s, k)->geometry(), QRect(40 + x, y, 100, 100));
            QVERIFY(tile(s, k)->isFlat());
            QCOMPARE(tile(s, k)->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(child<QWidget>(frame(s), QStringLiteral("label_wline"))->geometry(), QRect(420, 290, 130, 28));
        QCOMPARE(child<QWidget>(frame(s), QStringLiteral("Button_closetest"))->geometry(), QRect(385, 330, 180, 60));
        QVERIFY(marked(s).isEmpty());
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void eachPatternOnAndOff()
    {
        TestRoot root;
        setUp();
        test_chart *s = open();
        QCOMPARE(int(shownOnWall()), 0);

        for (int k = 0; k < 8; ++k) {
            QTest::mouseClick(tile(s, k), Qt::LeftButton);
            QCOMPARE(marked(s), QList<int>{k});
            QCOMPARE(int(img()->ram_para[Img::TEST_PATTERN]), k + 1);
            QCOMPARE(int(c331_manage::para_update), 1);
            QCOMPARE(int(shownOnWall()), k + 1);
            QCOMPARE(int(c331_manage::para_update), 0);
        }

        // the marked one again: marks stay, the byte is written once more
        QTest::mouseClick(tile(s, 7), Qt::LeftButton);
        QCOMPARE(marked(s), QList<int>{7});
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(int(shownOnWall()), 8);

        QTest::mouseClick(child<QWidget>(s, QStringLiteral("Button_closetest")), Qt::LeftButton);
        QVERIFY(marked(s).isEmpty());
        QCOMPARE(int(img()->ram_para[Img::TEST_PATTERN]), 0);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(int(shownOnWall()), 0);

        // close with nothing marked still writes, also over a pattern the PC set
        img()->ram_para[Img::TEST_PATTERN] = 5;
        QTest::mouseClick(child<QWidget>(s, QStringLiteral("Button_closetest")), Qt::LeftButton);
        QCOMPARE(int(img()->ram_para[Img::TEST_PATTERN]), 0);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(int(shownOnWall()), 0);
    }

    void patternStaysAfterBack()
    {
        TestRoot root;
        setUp();
        g_option = new Option;
        test_chart *s = open();
        QPointer<test_chart> guard(s);
        QTest::mouseClick(tile(s, 3), Qt::LeftButton);
        QCOMPARE(int(shownOnWall()), 4);

        g_language = 4;
        QTest::mouseClick(child<QWidget>(s, QStringLiteral("Button_back")), Qt::LeftButton);
        QVERIFY(!g_test_chart);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QCOMPARE(child<QWidget>(g_option, QStringLiteral("label_title"))->property("text").toString(),
                 QStringLiteral("設置"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
        QCOMPARE(int(img()->ram_para[Img::TEST_PATTERN]), 4);
        QCOMPARE(int(shownOnWall()), 4);

        // opened again: no mark, the first press unmarks nothing else
        s = open();
        QVERIFY(marked(s).isEmpty());
        QTest::mouseClick(tile(s, 0), Qt::LeftButton);
        QCOMPARE(marked(s), QList<int>{0});
        QCOMPARE(int(shownOnWall()), 1);

        // a pattern set from outside is not marked by the refresh
        img()->ram_para[Img::TEST_PATTERN] = 6;
        s->syncUpdate();
        QCOMPARE(marked(s), QList<int>{0});

        delete g_option;
        s->on_Button_back_clicked();
        QVERIFY(!g_test_chart);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void fiveLanguages()
    {
        TestRoot root;
        setUp();
        test_chart *s = open();
        QCOMPARE(text(s, "label_title"), QStringLiteral("Test pattern"));
        QCOMPARE(text(s, "Button_closetest"), QStringLiteral("Close"));
        QCOMPARE(text(s, "label_colour"), QStringLiteral("Colour bar"));
        QCOMPARE(text(s, "label_hline"), QStringLiteral("Horizontal line"));

        struct Expect
        {
            int lang;
            const char *title, *close, *first, *last;
        };
        const Expect expect[4] = {
            {0, "测试图", "关闭测试图", "红色", "竖线"},
            {2, "Тестовый\nобразец", "Закрыть", "Тест 1", "Тест 8"},
            {3, "Biểu đồ\nkiểm tra", "Đóng", "Kiểm tra 1", "Kiểm tra 8"},
            {4, "測試圖", "關閉測試圖", "紅色", "豎線"},
        };
        for (const Expect &e : expect) {
            img()->ram_para[Img::LANGUAGE] = u8(e.lang);
            s->syncUpdate();
            imageOverShadow();
            QCOMPARE(int(g_language), e.lang);
            QCOMPARE(text(s, "label_title"), QString::fromUtf8(e.title));
            QCOMPARE(text(s, "Button_closetest"), QString::fromUtf8(e.close));
            QCOMPARE(text(s, kCaptions[0]), QString::fromUtf8(e.first));
            QCOMPARE(text(s, kCaptions[7]), QString::fromUtf8(e.last));
        }
        QCOMPARE(text(s, "label_colour"), QStringLiteral("色帶"));
        img()->ram_para[Img::LANGUAGE] = 2;
        s->syncUpdate();
        for (int k = 0; k < 8; ++k)
            QCOMPARE(text(s, kCaptions[k]), QStringLiteral("Тест %1").arg(k + 1));
        QCOMPARE(int(c331_manage::para_update), 0);
    }
};

QTEST_MAIN(TestTestChart)
#include "test_test_chart.moc"
