#include <QtTest>
#include <tuple>

#include "scaler/omenu.h"
#include "tests/support/testenv.h"

namespace {
char kPath[] = "/data/configs/omenu.json";
}

class TestOmenu : public QObject
{
    Q_OBJECT

private slots:
    void readsEntriesAndColours()
    {
        TestRoot root;
        root.write(kPath, R"({"osdcount": 2, "osdlist": [
            {"type": 1, "x": 10, "y": 20, "w": 300, "effect": 4, "back_color": "0x102030", "fontw": 32,
             "font_color": "0xFF0000", "texts": "欢迎\nWelcome", "bmp_end": 9},
            {"x": 5, "texts": "second"},
            {"x": 99}
        ]})");
        OSD_LIST list;
        list.osdlist[2].x = 1234;   // stale entry is cleared
        get_json_omenu_para(kPath, &list);
        const OSD_PARA &e = list.osdlist[0];
        QCOMPARE(std::make_tuple(list.osdcount, e.type, e.x, e.y, e.w, e.effect, e.fontw, e.bmp_end),
                 std::make_tuple(2, 1, 10, 20, 300, 4, 32, 9));
        QCOMPARE(e.texts + '|' + list.osdlist[1].texts, QStringLiteral("欢迎\nWelcome|second"));
        QCOMPARE(std::make_tuple(omenu_color(e.back_color), omenu_color(e.font_color), omenu_color(QStringLiteral("red")),
                                 omenu_color(QString())),
                 std::make_tuple(0x102030u, 0xFF0000u, 0u, 0u));
        QCOMPARE(std::make_tuple(list.osdlist[1].x, list.osdlist[1].y, list.osdlist[2].x), std::make_tuple(5, 0, 0));

        // at most three entries; a value of the wrong type is 0; no list is none
        root.write(kPath, R"({"osdcount": 9, "osdlist": [ {"x": 1}, {"x": "wide"}, {"x": 3}, {"x": 4} ]})");
        get_json_omenu_para(kPath, &list);
        QCOMPARE(std::make_tuple(list.osdcount, list.osdlist[0].x, list.osdlist[1].x, list.osdlist[2].x),
                 std::make_tuple(3, 1, 0, 3));
        root.write(kPath, R"({"osdcount": 3})");
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 0);
        QVERIFY(root.exists(kPath));
    }

    // Missing, cut short or nested past the parser's depth: no entries, the
    // old ones left unfilled, a broken file removed, no crash.
    void missingOrBrokenFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("cut short") << QByteArray("{\"osdcount\": 1, \"osdlist\": [ {\"x\": 1 ");
        const int levels = 100000;   // a 200 KB file
        QTest::newRow("nested") << "{\"osdcount\": 1, \"osdlist\": " + QByteArray(levels, '[') +
                                          QByteArray(levels, ']') + "}";
    }

    void missingOrBrokenFile()
    {
        QFETCH(QByteArray, text);
        TestRoot root;
        if (!text.isEmpty())
            root.write(kPath, text);
        OSD_LIST list;
        list.osdcount = 2;
        list.osdlist[0].x = 77;
        get_json_omenu_para(kPath, &list);
        QCOMPARE(std::make_pair(list.osdcount, list.osdlist[0].x), std::make_pair(0, 77));
        QVERIFY(!root.exists(kPath));
        QVERIFY(root.exists("/data/configs") || text.isEmpty());
        get_json_omenu_para(nullptr, &list);
        get_json_omenu_para(kPath, nullptr);
    }
};

QTEST_GUILESS_MAIN(TestOmenu)
#include "test_omenu.moc"
