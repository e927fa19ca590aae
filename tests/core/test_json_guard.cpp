#include <QtTest>
#include <boost/property_tree/ptree.hpp>

#include "core/json_guard.h"
#include "tests/support/testenv.h"

namespace {
QByteArray nested(int levels) { return QByteArray(levels, '[') + QByteArray(levels, ']'); }
}

class TestJsonGuard : public QObject
{
    Q_OBJECT
private slots:
    void depthOutsideStrings_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("depth");
        QTest::newRow("menu") << QByteArray(R"({"osdlist": [ {"x": 1}, {"y": [2]} ]})") << 4;
        QTest::newRow("brackets in text") << QByteArray("{\"t\": \"[[[{{{\", \"u\": \"]]]\"}") << 1;
        QTest::newRow("escaped quote") << QByteArray("{\"t\": \"\\\"[[[\", \"v\": [[1]]}") << 3;
        QTest::newRow("escaped backslash") << QByteArray("{\"t\": \"\\\\\", \"v\": [[1]]}") << 3;
        QTest::newRow("stops past the limit") << nested(100000) << JsonGuard::MAX_DEPTH + 1;
    }
    void depthOutsideStrings()
    {
        QFETCH(QByteArray, text);
        QTEST(JsonGuard::depth(text), "depth");
    }

    void refusedBeforeParsing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("deepest allowed") << nested(JsonGuard::MAX_DEPTH) << int(JsonGuard::Parsed);
        QTest::newRow("one level more") << nested(JsonGuard::MAX_DEPTH + 1) << int(JsonGuard::Refused);
        QTest::newRow("broken") << QByteArray("{\"a\": ") << int(JsonGuard::Refused);
        QByteArray big = "{\"a\": \"" + QByteArray(int(JsonGuard::MAX_BYTES), 'x') + "\"}";
        QTest::newRow("too large") << big << int(JsonGuard::Refused);
    }
    void refusedBeforeParsing()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        TestRoot root;
        root.write("/data/configs/x.json", text);
        boost::property_tree::ptree tree;
        QString why;
        QCOMPARE(int(JsonGuard::load("/data/configs/x.json", &tree, &why)), result);
        QCOMPARE(int(JsonGuard::parse(text, &tree)), result);
        QCOMPARE(why.isEmpty(), result == JsonGuard::Parsed);
        QCOMPARE(JsonGuard::load("/data/configs/none.json", &tree), JsonGuard::Missing);
        QCOMPARE(JsonGuard::load("/data/configs", &tree), JsonGuard::Refused);   // not a file
    }
};

QTEST_GUILESS_MAIN(TestJsonGuard)
#include "test_json_guard.moc"
