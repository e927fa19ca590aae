#ifndef QEL_TESTS_VIDEO_IO_EDID_DECODE_H
#define QEL_TESTS_VIDEO_IO_EDID_DECODE_H

#include <QByteArray>
#include <QString>

// A small EDID reader for the tests: checks the structure of a 256-byte
// EDID (base block + CTA-861 extension) and decodes its preferred timing.
struct DecodedEdid
{
    QString error;   // empty when the structure is sound
    int clock = 0;   // 10 kHz units
    int h_active = 0, h_blank = 0, h_front = 0, h_sync = 0;
    int v_active = 0, v_blank = 0, v_front = 0, v_sync = 0;
    bool h_positive = false, v_positive = false;
    int min_v = -1, max_v = -1, max_clock_mhz = -1;   // range limits

    int h_total() const { return h_active + h_blank; }
    int v_total() const { return v_active + v_blank; }
    double refresh() const { return clock * 10000.0 / (double(h_total()) * v_total()); }
};

inline DecodedEdid decodeEdid(const QByteArray &data)
{
    DecodedEdid d;
    const auto *b = reinterpret_cast<const unsigned char *>(data.constData());
    auto fail = [&d](const QString &why) { d.error = why; return d; };
    if (data.size() != 256)
        return fail(QStringLiteral("size"));
    static const unsigned char header[8] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    if (memcmp(b, header, 8) != 0)
        return fail(QStringLiteral("header"));
    for (int blk = 0; blk < 2; ++blk) {
        unsigned sum = 0;
        for (int i = 0; i < 128; ++i)
            sum += b[128 * blk + i];
        if (sum % 256)
            return fail(QStringLiteral("checksum of block %1").arg(blk));
    }
    if (b[18] != 1 || b[19] != 3 || b[126] != 1)
        return fail(QStringLiteral("version or extension count"));

    const unsigned char *t = b + 54;   // descriptor 1: preferred timing
    d.clock = t[0] | (t[1] << 8);
    d.h_active = t[2] | ((t[4] >> 4) << 8);
    d.h_blank = t[3] | ((t[4] & 0x0F) << 8);
    d.v_active = t[5] | ((t[7] >> 4) << 8);
    d.v_blank = t[6] | ((t[7] & 0x0F) << 8);
    d.h_front = t[8] | (((t[11] >> 6) & 3) << 8);
    d.h_sync = t[9] | (((t[11] >> 4) & 3) << 8);
    d.v_front = (t[10] >> 4) | (((t[11] >> 2) & 3) << 4);
    d.v_sync = (t[10] & 0x0F) | ((t[11] & 3) << 4);
    d.v_positive = t[17] & 0x04;
    d.h_positive = t[17] & 0x02;
    if (d.clock == 0 || (t[17] & 0x18) != 0x18)
        return fail(QStringLiteral("descriptor 1 is no digital timing"));
    if (d.h_front + d.h_sync > d.h_blank || d.v_front + d.v_sync > d.v_blank)
        return fail(QStringLiteral("sync outside the blank"));
    for (int k = 1; k < 4; ++k) {
        const unsigned char *p = b + 54 + 18 * k;
        if (p[0] || p[1] || p[2])
            return fail(QStringLiteral("descriptor %1 is a timing").arg(k + 1));
        if (p[3] == 0xFD) {
            d.min_v = p[5];
            d.max_v = p[6];
            d.max_clock_mhz = p[9] * 10;
        }
    }

    const unsigned char *e = b + 128;   // CTA-861 extension
    if (e[0] != 0x02 || e[1] < 3 || (e[2] != 0 && (e[2] < 4 || e[2] > 127)))
        return fail(QStringLiteral("extension header"));
    for (int p = 4; p < e[2]; p += 1 + (e[p] & 0x1F))
        if (p + 1 + (e[p] & 0x1F) > e[2])
            return fail(QStringLiteral("data block overruns"));
    return d;
}

#endif
