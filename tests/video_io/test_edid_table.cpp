#include <QtTest>

#include <cmath>

#include "tests/video_io/edid_decode.h"
#include "video_io/tavixsource.h"

namespace {

DecodedEdid build(int slot, int w, int h, int rate, int *result)
{
    QByteArray buf(256, '\x55');
    *result = tavixsource::Set_Custom_HDMI_EDID(slot, w, h, rate, reinterpret_cast<u8 *>(buf.data()));
    return decodeEdid(buf);
}

// What every CVT reduced-blanking (v1) timing must satisfy.
void checkCvtRb(const DecodedEdid &d, int w, int h, int rate)
{
    QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
    QCOMPARE(d.h_active, w);
    QCOMPARE(d.v_active, h);
    QCOMPARE(d.h_blank, 160);
    QCOMPARE(d.h_front, 48);
    QCOMPARE(d.h_sync, 32);
    QCOMPARE(d.v_front, 3);
    QVERIFY(d.h_positive && !d.v_positive);
    QCOMPARE(d.clock % 25, 0);   // 0.25 MHz steps
    // the asked rate's clock rounded down to the step
    const double wanted = double(rate) * d.h_total() * d.v_total();
    const double clock = d.clock * 10000.0;
    QVERIFY(clock <= wanted && wanted - clock < 250000.0);
    // at least 460 us of vertical blank and the minimum back porch
    QVERIFY(d.v_blank * d.h_total() / (clock / 1e6) >= 460.0);
    QVERIFY(d.v_front + d.v_sync + 7 <= d.v_blank);
    // the range limits hold the timing
    QVERIFY(d.min_v <= int(std::floor(d.refresh())) && d.max_v >= int(std::ceil(d.refresh())));
    QVERIFY(d.max_clock_mhz * 1e6 >= clock);
}

}

class TestEdidTable : public QObject
{
    Q_OBJECT
private slots:
    void encodableTimings()
    {
        // Published CVT-RB figures: 1920x1080R 138.50 MHz 2080x1111,
        // 1280x720R 64.00 MHz 1440x741, 3840x2160R 533.25 MHz 4000x2222,
        // 1366x768R 72.25 MHz with 790 lines. A 0 below is not checked.
        const struct { int slot, w, h, rate, clock, v_total, v_sync; } cases[] = {
            {2, 1920, 1080, 60, 13850, 1111, 5},
            {0, 1280, 720, 60, 6400, 741, 5},
            {5, 3840, 2160, 60, 53325, 2222, 5},
            {4, 3840, 2160, 30, 0, 0, 5},
            {3, 1280, 720, 50, 0, 0, 5},
            {1, 1366, 768, 60, 7225, 790, 10},   // odd width kept as asked
            {2, 1023, 577, 75, 0, 0, 10},
            {2, 1024, 768, 60, 0, 0, 4},
            {2, 1920, 1200, 60, 0, 0, 6},
            {4, 4095, 4095, 24, 0, 0, 0},         // largest a descriptor holds
        };
        for (const auto &c : cases) {
            int result = -1;
            const DecodedEdid d = build(c.slot, c.w, c.h, c.rate, &result);
            QCOMPARE(result, 1);
            checkCvtRb(d, c.w, c.h, c.rate);
            if (c.clock)
                QCOMPARE(d.clock, c.clock);
            if (c.v_total)
                QCOMPARE(d.v_total(), c.v_total);
            if (c.v_sync)
                QCOMPARE(d.v_sync, c.v_sync);
            QCOMPARE(d.maker, QStringLiteral("QEL"));
            QVERIFY(d.hdmi);
            QCOMPARE(d.hdmi_forum, c.slot >= 4);
        }
        int result;
        QCOMPARE(build(2, 1920, 1080, 60, &result).name, QStringLiteral("QEL HDMI1"));
        QCOMPARE(build(0, 1920, 1080, 60, &result).name, QStringLiteral("QEL EXT"));
    }

    // Timings a descriptor cannot carry give the input's default table.
    void fallbackToDefault()
    {
        // one row per refusal class, the size limits one past
        const struct { int slot, w, h, rate; } bad[] = {
            {2, 4096, 2160, 60}, {1, 1920, 4096, 30}, {4, 3840, 2160, 120},   // width, height, clock above 655.35 MHz
            {0, 0, 1080, 60}, {5, 1920, 1080, 0}, {3, -5, 1080, 60},          // nothing or negative asked
            {0, 1, 1, 1}, {2, 400, 270, 60},          // clock rounds down to nothing, below 10 MHz
            {2, 1920, 2160, 112}, {3, 640, 480, 256}, // line rate above 255 kHz, frame rate above 255 Hz
            {1, 4095, 4095, 1}, {2, 1920, 1080, 2200} // frame rate below 1 Hz once rounded, shorter than the blank
        };
        for (const auto &c : bad) {
            int result = -1;
            const DecodedEdid d = build(c.slot, c.w, c.h, c.rate, &result);
            QCOMPARE(result, 0);
            const bool uhd = c.slot >= 4;
            checkCvtRb(d, uhd ? 3840 : 1920, uhd ? 2160 : 1080, 60);
        }
        // refused: no such input, no buffer
        QByteArray untouched(256, '\x77');
        u8 *p = reinterpret_cast<u8 *>(untouched.data());
        QCOMPARE(tavixsource::Set_Custom_HDMI_EDID(6, 1920, 1080, 60, p), 255);
        QCOMPARE(tavixsource::Set_Custom_HDMI_EDID(-1, 1920, 1080, 60, p), 255);
        QCOMPARE(untouched, QByteArray(256, '\x77'));
        QCOMPARE(tavixsource::Set_Custom_HDMI_EDID(0, 1920, 1080, 60, nullptr), 255);
    }
};

QTEST_GUILESS_MAIN(TestEdidTable)
#include "test_edid_table.moc"
