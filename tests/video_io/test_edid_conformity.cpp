#include <QtTest>

#include "video_io/edid_table.h"
#include "video_io/tavixsource.h"

// Every EDID the inputs present, checked by an independent tool: edid-decode.
namespace {

const QString kTool = QStringLiteral("edid-decode");

QString runTool(const QStringList &args, int *exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(kTool, args);
    const bool done = p.waitForFinished(30000);
    *exitCode = done && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

// Size, clock, porches, syncs and polarities of the timing after tag, as edid-decode prints them.
QStringList timingAfter(const QString &text, const QString &tag)
{
    static const QRegularExpression re(
        QStringLiteral(R"((\d+)x(\d+) [^\n]* ([\d.]+) MHz[^\n]*\n)"
                       R"(\s*Hfront\s+(\d+) Hsync\s+(\d+) Hback\s+(\d+) Hpol (\w)\s*\n)"
                       R"(\s*Vfront\s+(\d+) Vsync\s+(\d+) Vback\s+(\d+) Vpol (\w))"));
    const int at = text.indexOf(tag);
    return re.match(text, at < 0 ? text.size() : at).capturedTexts().mid(1);
}

}

class TestEdidConformity : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(kTool).isEmpty())
            QSKIP("edid-decode is not installed (scripts/setup installs it): EDID conformity not checked");
    }

    void conformity_data()
    {
        for (const char *column : {"width", "height", "rate"})
            QTest::addColumn<int>(column);
        QTest::addColumn<bool>("tailored");
        // one row per aspect-ratio class, then each limit and one past it
        const struct { int w, h, rate; bool tailored; } rows[] = {
            {1920, 1080, 60, true}, {1920, 1200, 60, true}, {1024, 768, 48, true}, {1280, 1024, 75, true},
            {1366, 768, 60, true}, {1023, 577, 75, true},    // widths off the 8-pixel grid
            {400, 280, 60, true}, {400, 270, 60, false},     // 10.00 MHz, the smallest clock
            {4095, 4095, 36, true}, {4096, 2160, 60, false}, // largest size
            {3840, 2160, 73, true}, {3840, 2160, 74, false}, // 652.75 MHz
            {1920, 2160, 111, true}, {1920, 2160, 112, false}, {1920, 1080, 0, false},   // 250 kHz lines
        };
        for (const auto &r : rows)
            QTest::addRow("%dx%d@%d", r.w, r.h, r.rate) << r.w << r.h << r.rate << r.tailored;
    }

    // Each input's EDID passes edid-decode --check with no failure and no
    // warning, and its timing is edid-decode's CVT reduced-blanking one.
    void conformity()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, rate);
        QFETCH(bool, tailored);
        for (int slot = 0; slot < 6; ++slot) {
            QByteArray edid(edid_table::EDID_SIZE, '\0');
            const int result = tavixsource::Set_Custom_HDMI_EDID(slot, width, height, rate,
                                                                 reinterpret_cast<u8 *>(edid.data()));
            QCOMPARE(result, tailored ? 1 : 0);
            int w = width, h = height, r = rate;
            if (!tailored)
                edid_table::default_size(slot, &w, &h, &r);

            QTemporaryFile file;
            QVERIFY(file.open() && file.write(edid) == qint64(edid.size()) && file.flush());
            int code = 0;
            const QString report = runTool({QStringLiteral("--check"), file.fileName()}, &code);
            QVERIFY2(code == 0 && report.contains(QLatin1String("EDID conformity: PASS")) && !report.contains(QLatin1String("Warnings:")),
                     qPrintable(QStringLiteral("input %1, exit %2:%3").arg(slot).arg(code)
                                    .arg(report.section(QStringLiteral("----------------"), -1))));

            const QString mode = QStringLiteral("w=%1,h=%2,fps=%3,rb=1").arg(w).arg(h).arg(r);
            QStringList cvt = timingAfter(runTool({QStringLiteral("--cvt"), mode}, &code), QStringLiteral("CVT:"));
            QCOMPARE(code, 0);
            QStringList dtd = timingAfter(report, QStringLiteral("DTD 1:"));
            QCOMPARE(dtd.mid(0, 2), QStringList({QString::number(w), QString::number(h)}));
            if (w % 8 && !dtd.isEmpty() && !cvt.isEmpty()) {
                // the clock of such widths is the whole line's, not CVT's
                dtd.removeAt(2);
                cvt.removeAt(2);
            }
            const QString label = QStringLiteral("input %1: ").arg(slot);
            QCOMPARE(label + dtd.join(' '), label + cvt.join(' '));
        }
    }
};

QTEST_GUILESS_MAIN(TestEdidConformity)
#include "test_edid_conformity.moc"
