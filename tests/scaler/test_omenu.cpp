#include <QtTest>
#include <cstdio>
#include <tuple>
#include <unistd.h>

#include "core/global.h"
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
            {"type": 1, "status": 1, "x": 10, "y": 20, "w": 300, "h": 64, "effect": 4, "speed": 3,
             "staytime": 5, "h_align": 1, "v_align": 2, "back_enable": 1, "back_color": "0x102030",
             "layer": 2, "startx": 4, "starty": 6, "fontw": 32, "fonth": 32, "wordspace": 1,
             "verticalspace": 2, "font_color": "0xFF0000", "texts": "欢迎\nWelcome",
             "bmp_start": 7, "bmp_end": 9},
            {"x": 5, "texts": "second"},
            {"x": 99}
        ]})");
        OSD_LIST list;
        list.osdlist[2].x = 1234;   // stale entry is cleared
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 2);
        const OSD_PARA &e = list.osdlist[0];
        QCOMPARE(std::make_tuple(e.type, e.status, e.x, e.y, e.w, e.h, e.effect, e.speed, e.staytime, e.h_align,
                                 e.v_align, e.back_enable, e.layer),
                 std::make_tuple(1, 1, 10, 20, 300, 64, 4, 3, 5, 1, 2, 1, 2));
        QCOMPARE(std::make_tuple(e.startx, e.starty, e.fontw, e.fonth, e.wordspace, e.verticalspace, e.bmp_start,
                                 e.bmp_end),
                 std::make_tuple(4, 6, 32, 32, 1, 2, 7, 9));
        QCOMPARE(e.texts, QStringLiteral("欢迎\nWelcome"));
        QCOMPARE(omenu_color(e.back_color), 0x102030u);
        QCOMPARE(omenu_color(e.font_color), 0xFF0000u);
        QCOMPARE(std::make_tuple(list.osdlist[1].x, list.osdlist[1].y, list.osdlist[2].x), std::make_tuple(5, 0, 0));
        QCOMPARE(list.osdlist[1].texts, QStringLiteral("second"));
        QCOMPARE(omenu_color(QStringLiteral("red")), 0u);
        QCOMPARE(omenu_color(QString()), 0u);
    }

    void atMostThreeEntriesAndOddValues()
    {
        TestRoot root;
        root.write(kPath, R"({"osdcount": 9, "osdlist": [ {"x": 1}, {"x": "wide"}, {"x": 3}, {"x": 4} ]})");
        OSD_LIST list;
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 3);
        QCOMPARE(std::make_tuple(list.osdlist[0].x, list.osdlist[1].x, list.osdlist[2].x), std::make_tuple(1, 0, 3));

        root.write(kPath, R"({"osdcount": 3})");
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 0);
        QVERIFY(root.exists(kPath));
    }

    void missingOrBrokenFile()
    {
        TestRoot root;
        OSD_LIST list;
        list.osdcount = 2;
        list.osdlist[0].x = 77;
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 0);
        QCOMPARE(list.osdlist[0].x, 77);   // left unfilled

        root.write(kPath, "{\"osdcount\": 1, \"osdlist\": [ {\"x\": 1 ");
        list.osdcount = 1;
        get_json_omenu_para(kPath, &list);
        QCOMPARE(list.osdcount, 0);
        QCOMPARE(list.osdlist[0].x, 77);
        QVERIFY(!root.exists(kPath));
        QVERIFY(root.exists("/data/configs"));

        get_json_omenu_para(nullptr, &list);
        get_json_omenu_para(kPath, nullptr);
    }

    void deeplyNestedFileTakesTheBrokenPath()
    {
        TestRoot root;
        const int levels = 100000;   // a 200 KB file
        root.write(kPath, "{\"osdcount\": 1, \"osdlist\": " + QByteArray(levels, '[') + QByteArray(levels, ']') + "}");
        OSD_LIST list;
        list.osdcount = 1;
        list.osdlist[0].x = 77;
        // the trace goes to the console: catch it
        QTemporaryFile console;
        QVERIFY(console.open());
        fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        dup2(console.handle(), STDOUT_FILENO);
        g_debugSwitch = 254;
        get_json_omenu_para(kPath, &list);
        g_debugSwitch = 0;
        fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
        QVERIFY(console.seek(0));
        QVERIFY(console.readAll().contains("json error: nested deeper"));
        QCOMPARE(list.osdcount, 0);
        QCOMPARE(list.osdlist[0].x, 77);
        QVERIFY(!root.exists(kPath));
    }
};

QTEST_GUILESS_MAIN(TestOmenu)
#include "test_omenu.moc"
