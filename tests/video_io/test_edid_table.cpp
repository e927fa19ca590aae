#include <QtTest>

#include <cmath>

#include "tests/video_io/edid_decode.h"
#include "video_io/tavixsource.h"

// The timing of each input's EDID, checked in-tree (edid-decode's own check
// is test_edid_conformity, skipped where the tool is missing).
class TestEdidTable : public QObject
{
    Q_OBJECT
private slots:
    void cvtReducedBlanking()
    {
        // published CVT-RB clocks where known (0: not checked); refused timings give the input's default
        const struct { int slot, w, h, rate, clock; bool ok; } cases[] = {
            {2, 1920, 1080, 60, 13850, true}, {5, 3840, 2160, 60, 53325, true}, {1, 1366, 768, 60, 7225, true},
            {2, 1023, 577, 75, 0, true}, {4, 4095, 4095, 24, 0, true},
            {1, 1920, 4096, 30, 0, false}, {3, -5, 1080, 60, 0, false}, {0, 1, 1, 1, 0, false},
            {3, 640, 480, 256, 0, false}, {1, 4095, 4095, 1, 0, false}, {2, 1920, 1080, 2200, 0, false},
        };
        for (const auto &c : cases) {
            QByteArray buf(256, '\x55');
            QCOMPARE(tavixsource::Set_Custom_HDMI_EDID(c.slot, c.w, c.h, c.rate, reinterpret_cast<u8 *>(buf.data())),
                     int(c.ok));
            const DecodedEdid d = decodeEdid(buf);
            const bool uhd = c.slot >= 4;
            const int w = c.ok ? c.w : uhd ? 3840 : 1920, h = c.ok ? c.h : uhd ? 2160 : 1080, rate = c.ok ? c.rate : 60;
            QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
            QCOMPARE(QList<int>({d.h_active, d.v_active, d.h_blank, d.h_front, d.h_sync, d.v_front, d.h_positive,
                                 d.v_positive, d.clock % 25}),
                     QList<int>({w, h, 160, 48, 32, 3, 1, 0, 0}));
            if (c.clock)
                QCOMPARE(d.clock, c.clock);
            // the asked rate's clock rounded down to 0.25 MHz, 460 us of vertical blank, the back porch
            const double wanted = double(rate) * d.h_total() * d.v_total(), clock = d.clock * 10000.0;
            QVERIFY(clock <= wanted && wanted - clock < 250000.0);
            QVERIFY(d.v_blank * d.h_total() / (clock / 1e6) >= 460.0 && d.v_front + d.v_sync + 7 <= d.v_blank);
            QVERIFY(d.min_v <= int(std::floor(d.refresh())) && d.max_v >= int(std::ceil(d.refresh())));
            QVERIFY(d.max_clock_mhz * 1e6 >= clock);
        }
        // no such input, no buffer
        QByteArray untouched(256, '\x77');
        u8 *p = reinterpret_cast<u8 *>(untouched.data());
        QCOMPARE(QList<int>({tavixsource::Set_Custom_HDMI_EDID(6, 1920, 1080, 60, p),
                             tavixsource::Set_Custom_HDMI_EDID(-1, 1920, 1080, 60, p),
                             tavixsource::Set_Custom_HDMI_EDID(0, 1920, 1080, 60, nullptr)}),
                 QList<int>({255, 255, 255}));
        QCOMPARE(untouched, QByteArray(256, '\x77'));
    }
};

QTEST_GUILESS_MAIN(TestEdidTable)
#include "test_edid_table.moc"
