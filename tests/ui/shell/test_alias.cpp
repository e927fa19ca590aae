#include <QtTest>
#include <chrono>
#include <future>
#include <mutex>

#include "core/utils.h"
#include "tests/support/testenv.h"
#include "ui/shell/alias.h"

namespace {
const QString kFile = QStringLiteral("/data/configs/alias.json");
}

class TestAlias : public QObject
{
    Q_OBJECT

private slots:
    void readsNamesByGroupAndId()
    {
        TestRoot root;
        root.write(kFile, R"({"namelist": {
            "source": [{"id": 0, "valid": "on", "name": "Camera"}, {"id": 2, "valid": "off", "name": "Old desk"},
                       {"id": 3, "valid": "on", "name": ""}, {"id": "4", "valid": "on", "name": "演播室 <b>"}],
            "crop": [{"id": 39, "name": "Top strip"}]}})");
        ALIAS_PARA a;
        QCOMPARE(get_json_alias_para(&a, "source", 0), 1);
        QCOMPARE(a.name + a.valid, QStringLiteral("Cameraon"));
        QCOMPARE(get_json_alias_para(&a, "source", 4), 1);   // UTF-8 kept as given
        QCOMPARE(a.name, QString::fromUtf8("演播室 <b>"));
        QCOMPARE(get_json_alias_para(&a, "crop", 39), 1);    // no "valid": in use

        ALIAS_PARA untouched;
        untouched.name = QStringLiteral("keep");
        for (int id : {2, 3, 5})   // off, empty name, not listed
            QCOMPARE(get_json_alias_para(&untouched, "source", id), 0);
        QCOMPARE(get_json_alias_para(&untouched, "win", 0) + get_json_alias_para(nullptr, "source", 0), 0);
        QCOMPARE(untouched.name, QStringLiteral("keep"));

        QFile::remove(root.file(kFile));
        QCOMPARE(get_json_alias_para(&a, "source", 0), 0);   // no file
        root.write(kFile, "{\"namelist\": {\"source\": [ {\"id\": 0,");
        QCOMPARE(get_json_alias_para(&a, "source", 0), 0);
        QVERIFY(!root.exists(kFile));   // a broken file is removed

        // parsable, but not the expected shape: left alone
        root.write(kFile, R"({"namelist": "none", "source": 3})");
        QCOMPARE(get_json_alias_para(&a, "source", 0), 0);
        root.write(kFile, R"({"namelist": {"source": [ {"id": "x", "name": "A"} ]}})");
        QCOMPARE(get_json_alias_para(&a, "source", 0), 0);
        QVERIFY(root.exists(kFile));

        // nested so deep that the parser would overflow its stack
        root.write(kFile, "{\"namelist\": " + QByteArray(100000, '[') + QByteArray(100000, ']') + "}");
        QCOMPARE(get_json_alias_para(&a, "source", 0), 0);
        QVERIFY(!root.exists(kFile));
    }

    // A changed file is read again: a new size, or the same size with a new time.
    void changesAreSeen()
    {
        TestRoot root;
        ALIAS_PARA a;
        for (const char *name : {"Left", "Right side", "Right edge"}) {
            root.write(kFile, QStringLiteral(R"({"namelist": {"win": [{"id": 1, "name": "%1"}]}})").arg(name).toUtf8());
            if (QByteArray(name) == "Right edge") {
                QFile f(root.file(kFile));
                QVERIFY(f.open(QIODevice::ReadWrite));
                QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
            }
            QCOMPARE(get_json_alias_para(&a, "win", 1), 1);
            QCOMPARE(a.name, QString::fromLatin1(name));
        }
    }

    // A writer holding the file lock is mid-write: the reader waits for it
    // and finds the finished file instead of removing the half-written one.
    void readerWaitsForTheWriter()
    {
        TestRoot root;
        std::unique_lock<std::mutex> writer(Utils::_file_deal_mutex);
        root.write(kFile, "{\"namelist\": {\"crop\": [ {\"id\": 3,");
        ALIAS_PARA a;
        std::future<int> found = std::async(std::launch::async, [&a] { return get_json_alias_para(&a, "crop", 3); });
        QCOMPARE(found.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
        QVERIFY(root.exists(kFile));
        root.write(kFile, R"({"namelist": {"crop": [ {"id": 3, "name": "Left"} ]}})");
        writer.unlock();
        QCOMPARE(found.get(), 1);
        QCOMPARE(a.name, QStringLiteral("Left"));
    }
};

QTEST_GUILESS_MAIN(TestAlias)
#include "test_alias.moc"
