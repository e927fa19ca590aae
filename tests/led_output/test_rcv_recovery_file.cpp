#include <QtTest>

#include "led_output/rcv_card.h"
#include "led_output/rcv_recovery_file.h"
#include "tests/support/testenv.h"

namespace {
// One section per (port, cards); block k of a section is filled with its port + k.
QByteArray recoveryData(const QVector<QPair<int, int>> &sections, int format = 1)
{
    QVector<std::array<int, 3>> s;
    for (const auto &[port, cards] : sections)
        s.append({port, cards, port});
    return TestEnv::recoveryFile(s, format);
}

// "port:cards" of every section, or "refused"
QString summary(const QByteArray &data)
{
    QVector<rcvRecovery::Section> sections;
    if (!rcvRecovery::parse(data, &sections))
        return sections.isEmpty() ? QStringLiteral("refused") : QStringLiteral("refused, sections left");
    QStringList parts;
    for (const rcvRecovery::Section &s : sections)
        parts << QStringLiteral("%1:%2").arg(s.port).arg(s.card_count);
    return parts.join(QLatin1Char(' '));
}
}

class TestRcvRecoveryFile : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("expected");
        const QByteArray two = recoveryData({{4, 2}, {23, 1}});
        QTest::newRow("two sections, last port") << two << "4:2 23:1";
        QTest::newRow("24 sections") << recoveryData(QVector<QPair<int, int>>(24, {1, 0}))
                                     << QString("1:0 ").repeated(24).trimmed();
        QTest::newRow("empty") << QByteArray() << "refused";
        QTest::newRow("no section") << recoveryData({}) << "refused";
        QTest::newRow("25 sections") << recoveryData(QVector<QPair<int, int>>(25, {1, 0})) << "refused";
        QTest::newRow("other magic") << QByteArray("QRCX").append(two.mid(4)) << "refused";
        QTest::newRow("format 2") << recoveryData({{4, 2}}, 2) << "refused";
        QTest::newRow("port 24") << recoveryData({{24, 0}}) << "refused";
        QTest::newRow("section head cut") << two.left(6 + 4 + 2 * rcv_card::PARA_SIZE + 3) << "refused";
        QTest::newRow("block one byte short") << two.left(two.size() - 1) << "refused";
        QTest::newRow("card count past the end") << recoveryData({{3, 0}}).replace(8, 2, "\xFF\xFF") << "refused";
    }
    void parse()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, expected);
        QCOMPARE(summary(data), expected);
    }

    void blocksOfACard()
    {
        QVector<rcvRecovery::Section> sections;
        QVERIFY(rcvRecovery::parse(recoveryData({{4, 2}}), &sections));
        rcvRecovery::Section cut = sections.first();
        QCOMPARE(rcvRecovery::block(cut, 1), QByteArray(rcv_card::PARA_SIZE, char(5)));
        for (int card : {-1, 2, 65535})
            QVERIFY(rcvRecovery::block(cut, card).isEmpty());
        // a section that claims more than it holds gives no partial block
        cut.blocks.chop(1);
        QCOMPARE(rcvRecovery::block(cut, 0).size(), rcv_card::PARA_SIZE);
        QVERIFY(rcvRecovery::block(cut, 1).isEmpty());
    }

    void filesOfTheFolders()
    {
        TestRoot root;
        rcvRecovery r;
        QVERIFY(r.get_dir_file("/data/rcvrecovery") == 1 && r.get_dir_file("/data/other") == 1);   // none yet, not ours
        root.write("/data/rcvrecovery/b", recoveryData({{2, 1}}));
        root.write("/data/rcvrecovery/a", recoveryData({{1, 1}}));
        root.write("/data/rcvrecovery/.hidden", recoveryData({{3, 1}}));
        root.write("/data/rcvrecovery/sub/c", recoveryData({{3, 1}}));
        root.write("/data/rcvrecovery/bad", "QRCV");
        root.write("/data/configs/secret", recoveryData({{9, 1}}));
        QVERIFY(QFile::link(root.file("/data/configs/secret"), root.file("/data/rcvrecovery/link")));
        root.write("/data/rcvrecovery/big", "");
        QVERIFY(QFile::resize(root.file("/data/rcvrecovery/big"), qint64(rcvRecovery::MAX_FILE_SIZE) + 1));
        root.write("/data/smartmapping/s.qlfile", "x");

        QVERIFY(r.get_dir_file("/data/rcvrecovery/") == 0 && r.get_dir_file("/data/smartmapping") == 0);
        QCOMPARE(r.recovery_files(), (QStringList{".hidden", "a", "b", "bad", "big"}));
        QCOMPARE(r.smart_files(), QStringList{"s.qlfile"});

        // screen n is the n-th file; names that leave the folder, links,
        // malformed and oversize files read as nothing
        QVector<rcvRecovery::Section> sections;
        QVERIFY(r.read_screen(2, &sections) && sections.first().port == 2);
        for (int screen : {-1, 3, 4, 5})
            QVERIFY(!r.read_screen(screen, &sections));
        for (const char *name : {"", "link", "sub", "sub/c", "../configs/secret", "..", "missing"})
            QVERIFY2(!r.read_file(QString::fromLatin1(name), &sections), name);

        // the list of a folder that went away stays as it was
        QDir(root.file("/data/rcvrecovery")).removeRecursively();
        QCOMPARE(r.get_dir_file("/data/rcvrecovery"), 1);
        QCOMPARE(r.recovery_file_count(), 5);
    }
};

QTEST_GUILESS_MAIN(TestRcvRecoveryFile)
#include "test_rcv_recovery_file.moc"
