#include "video_io/edid_table.h"

#include <cstring>

namespace edid_table {

namespace {

// CVT reduced blanking, version 1
constexpr int RB_H_BLANK = 160;
constexpr int RB_H_FRONT_PORCH = 48;
constexpr int RB_H_SYNC = 32;
constexpr int RB_MIN_V_BLANK_US = 460;
constexpr int RB_V_FRONT_PORCH = 3;
constexpr int RB_MIN_V_BACK_PORCH = 7;   // as edid-decode --cvt computes it
constexpr long long CLOCK_STEP_HZ = 250000;

// detailed timing descriptor limits
constexpr int DTD_MAX_ACTIVE = 4095;
constexpr int DTD_MAX_BLANK = 4095;
constexpr u32 DTD_MIN_CLOCK = 1000;    // 10 kHz units; readers take less for invalid data
constexpr u32 DTD_MAX_CLOCK = 65535;

// what the range limits descriptor of EDID 1.3 can hold
constexpr long long RANGE_MIN_RATE_HZ = 1;
constexpr long long RANGE_MAX_RATE_HZ = 255;
constexpr long long RANGE_MAX_LINE_HZ = 255000;

const char *const kInputNames[6] = {"EXT", "DVI", "HDMI1", "HDMI2", "HDMI3", "HDMI4"};

// CVT's vertical sync width follows the aspect ratio: the first one whose
// width for h lines, rounded down, is w (5:4 only when exact).
int vsync_lines(int w, int h)
{
    const long long W = w, H = h;
    if (H * 4 / 3 == W)
        return 4;
    if (H * 16 / 9 == W)
        return 5;
    if (H * 16 / 10 == W)
        return 6;
    if (H * 5 == W * 4 || H * 15 / 9 == W)
        return 7;
    return 10;
}

u8 clamp_byte(long long v)
{
    if (v < 1)
        return 1;
    if (v > 255)
        return 255;
    return u8(v);
}

void put_text_descriptor(u8 *d, u8 tag, const char *text)
{
    std::memset(d, 0, 18);
    d[3] = tag;
    int i = 0;
    for (; text[i] && i < 13; ++i)
        d[5 + i] = u8(text[i]);
    if (i < 13)
        d[5 + i++] = 0x0A;
    for (; i < 13; ++i)
        d[5 + i] = 0x20;
}

void build_base(int slot, const EDID_TIMING &t, u8 *b)
{
    std::memset(b, 0, BLOCK_SIZE);
    static const u8 header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::memcpy(b, header, 8);

    // manufacturer "QEL": three 5-bit letters, big-endian
    const u16 maker = u16((('Q' - '@') << 10) | (('E' - '@') << 5) | ('L' - '@'));
    b[8] = u8(maker >> 8);
    b[9] = u8(maker & 0xFF);
    const u16 product = u16(0x5800 + slot);
    b[10] = u8(product & 0xFF);
    b[11] = u8(product >> 8);
    b[12] = u8(slot + 1);   // serial number
    b[16] = 1;              // week
    b[17] = 2024 - 1990;    // year
    b[18] = 1;              // EDID 1.3
    b[19] = 3;
    b[20] = 0x80;           // digital input
    b[21] = 0;              // size not given
    b[22] = 0;
    b[23] = 120;            // gamma 2.2
    b[24] = 0x0E;           // RGB colour, sRGB default colour space, preferred timing in descriptor 1

    // sRGB primaries and D65 white, 10-bit fractions (x * 1024)
    const int rx = 655, ry = 338, gx = 307, gy = 614, bx = 154, by = 61, wx = 320, wy = 337;
    b[25] = u8(((rx & 3) << 6) | ((ry & 3) << 4) | ((gx & 3) << 2) | (gy & 3));
    b[26] = u8(((bx & 3) << 6) | ((by & 3) << 4) | ((wx & 3) << 2) | (wy & 3));
    b[27] = u8(rx >> 2);
    b[28] = u8(ry >> 2);
    b[29] = u8(gx >> 2);
    b[30] = u8(gy >> 2);
    b[31] = u8(bx >> 2);
    b[32] = u8(by >> 2);
    b[33] = u8(wx >> 2);
    b[34] = u8(wy >> 2);

    // established timings: 640x480@60, 800x600@60, 1024x768@60
    b[35] = 0x21;
    b[36] = 0x08;
    b[37] = 0x00;
    for (int i = 38; i < 54; ++i)
        b[i] = 0x01;   // no standard timings

    write_dtd(t, b + 54);

    // range limits that hold the preferred timing
    u8 *r = b + 72;
    const long long clock_hz = (long long)t.pixel_clock_10khz * 10000;
    const long long h_total = t.h_active + t.h_blank;
    const long long v_total = t.v_active + t.v_blank;
    const long long h_khz_floor = clock_hz / h_total / 1000;
    const long long h_khz_ceil = (clock_hz + h_total * 1000 - 1) / (h_total * 1000);
    const long long rate_floor = clock_hz / (h_total * v_total);
    const long long rate_ceil = (clock_hz + h_total * v_total - 1) / (h_total * v_total);
    const long long clock_limit = slot < 4 ? 34 : 60;   // 340 / 600 MHz
    r[3] = 0xFD;
    r[5] = clamp_byte(rate_floor < 24 ? rate_floor : 24);
    r[6] = clamp_byte(rate_ceil > 75 ? rate_ceil : 75);
    r[7] = clamp_byte(h_khz_floor < 15 ? h_khz_floor : 15);
    r[8] = clamp_byte(h_khz_ceil > 140 ? h_khz_ceil : 140);
    const long long clock_needed = (clock_hz + 9999999) / 10000000;
    r[9] = clamp_byte(clock_needed > clock_limit ? clock_needed : clock_limit);
    r[10] = 0x00;   // no secondary curve
    r[11] = 0x0A;
    for (int i = 12; i < 18; ++i)
        r[i] = 0x20;

    char name[14] = "QEL ";
    std::strncat(name, kInputNames[slot], sizeof name - std::strlen(name) - 1);
    put_text_descriptor(b + 90, 0xFC, name);

    std::memset(b + 108, 0, 18);
    b[108 + 3] = 0x10;   // dummy descriptor

    b[126] = 1;          // one extension
    b[127] = block_checksum(b);
}

void build_cta(int slot, u8 *e)
{
    std::memset(e, 0, BLOCK_SIZE);
    e[0] = 0x02;
    e[1] = 0x03;
    e[3] = 0x80 | 0x40 | 0x01;   // IT formats underscanned, basic audio, one native timing

    int p = 4;
    // video data block
    static const u8 vic_hd[] = {16, 4, 31, 19, 1};
    static const u8 vic_uhd[] = {97, 96, 95, 94, 93, 16, 4, 31, 19, 1};
    const u8 *vics = slot < 4 ? vic_hd : vic_uhd;
    const int nvic = slot < 4 ? int(sizeof vic_hd) : int(sizeof vic_uhd);
    e[p++] = u8((2 << 5) | nvic);
    for (int i = 0; i < nvic; ++i)
        e[p++] = vics[i];

    // video capability block: RGB range selectable, IT and CE formats underscanned
    e[p++] = u8((7 << 5) | 2);
    e[p++] = 0x00;
    e[p++] = 0x40 | (2 << 2) | 2;

    // video format preference block: the custom timing (first DTD) comes
    // before every listed video code
    e[p++] = u8((7 << 5) | 2);
    e[p++] = 0x0D;
    e[p++] = 129;

    // audio data block: LPCM 2 channels, 32/44.1/48 kHz, 16/20/24 bit
    e[p++] = u8((1 << 5) | 3);
    e[p++] = 0x09;
    e[p++] = 0x07;
    e[p++] = 0x07;

    // HDMI vendor block: physical address 1.0.0.0, 340 MHz
    e[p++] = u8((3 << 5) | 7);
    e[p++] = 0x03;
    e[p++] = 0x0C;
    e[p++] = 0x00;
    e[p++] = 0x10;
    e[p++] = 0x00;
    e[p++] = 0x00;
    e[p++] = 340 / 5;

    if (slot >= 4) {
        // HDMI Forum block: 600 MHz character rate, SCDC present
        e[p++] = u8((3 << 5) | 7);
        e[p++] = 0xD8;
        e[p++] = 0x5D;
        e[p++] = 0xC4;
        e[p++] = 0x01;
        e[p++] = 600 / 5;
        e[p++] = 0x80;
        e[p++] = 0x00;
    }
    e[2] = u8(p);   // no detailed timings follow the data blocks
    e[127] = block_checksum(e);
}

}

bool cvt_rb_timing(int width, int height, int rate, EDID_TIMING *out)
{
    if (!out || width <= 0 || height <= 0 || rate <= 0)
        return false;
    if (width > DTD_MAX_ACTIVE || height > DTD_MAX_ACTIVE)
        return false;

    // frame time left after the minimum vertical blank, shared by the active lines
    const long long frame_us_x_rate = 1000000LL;                 // (1e6 / rate) * rate
    const long long usable = frame_us_x_rate - (long long)RB_MIN_V_BLANK_US * rate;
    if (usable <= 0)
        return false;
    const int vsync = vsync_lines(width, height);
    // lines in the minimum blank: floor(460 us / line period) + 1
    long long vbi = (long long)RB_MIN_V_BLANK_US * height * rate / usable + 1;
    const long long min_vbi = RB_V_FRONT_PORCH + vsync + RB_MIN_V_BACK_PORCH;
    if (vbi < min_vbi)
        vbi = min_vbi;
    if (vbi > DTD_MAX_BLANK)
        return false;

    // For a width that is a multiple of 8 this is exactly CVT's timing. Other
    // widths keep the asked active width, so the source sends that size, and
    // the clock comes from the whole line: CVT takes the width rounded down to
    // 8 pixels for its clock, which lowers the rate (1366x768@60: 72.25 MHz,
    // 59.93 Hz here; 72.00 MHz, 59.72 Hz by CVT). Every other field is CVT's.
    const long long h_total = width + RB_H_BLANK;
    const long long v_total = height + vbi;
    const long long clock_hz = (rate * v_total * h_total) / CLOCK_STEP_HZ * CLOCK_STEP_HZ;
    const long long clock_10khz = clock_hz / 10000;
    if (clock_10khz < DTD_MIN_CLOCK || clock_10khz > DTD_MAX_CLOCK)
        return false;
    const long long frame = h_total * v_total;
    if (clock_hz < RANGE_MIN_RATE_HZ * frame || clock_hz > RANGE_MAX_RATE_HZ * frame ||
        clock_hz > RANGE_MAX_LINE_HZ * h_total)
        return false;

    out->pixel_clock_10khz = u32(clock_10khz);
    out->h_active = width;
    out->h_blank = RB_H_BLANK;
    out->h_front_porch = RB_H_FRONT_PORCH;
    out->h_sync = RB_H_SYNC;
    out->v_active = height;
    out->v_blank = int(vbi);
    out->v_front_porch = RB_V_FRONT_PORCH;
    out->v_sync = vsync;
    out->h_sync_positive = true;
    out->v_sync_positive = false;
    return true;
}

void default_size(int slot, int *width, int *height, int *rate)
{
    const bool uhd = slot >= 4;
    *width = uhd ? 3840 : 1920;
    *height = uhd ? 2160 : 1080;
    *rate = 60;
}

void write_dtd(const EDID_TIMING &t, u8 *d)
{
    std::memset(d, 0, 18);
    d[0] = u8(t.pixel_clock_10khz & 0xFF);
    d[1] = u8((t.pixel_clock_10khz >> 8) & 0xFF);
    d[2] = u8(t.h_active & 0xFF);
    d[3] = u8(t.h_blank & 0xFF);
    d[4] = u8((((t.h_active >> 8) & 0x0F) << 4) | ((t.h_blank >> 8) & 0x0F));
    d[5] = u8(t.v_active & 0xFF);
    d[6] = u8(t.v_blank & 0xFF);
    d[7] = u8((((t.v_active >> 8) & 0x0F) << 4) | ((t.v_blank >> 8) & 0x0F));
    d[8] = u8(t.h_front_porch & 0xFF);
    d[9] = u8(t.h_sync & 0xFF);
    d[10] = u8(((t.v_front_porch & 0x0F) << 4) | (t.v_sync & 0x0F));
    d[11] = u8((((t.h_front_porch >> 8) & 3) << 6) | (((t.h_sync >> 8) & 3) << 4) |
               (((t.v_front_porch >> 4) & 3) << 2) | ((t.v_sync >> 4) & 3));
    // 12..16: image size and borders not given
    d[17] = u8(0x18 | (t.v_sync_positive ? 0x04 : 0) | (t.h_sync_positive ? 0x02 : 0));
}

void build(int slot, const EDID_TIMING &t, u8 *edid)
{
    if (slot < 0)
        slot = 0;
    if (slot > 5)
        slot = 5;
    build_base(slot, t, edid);
    build_cta(slot, edid + BLOCK_SIZE);
}

u8 block_checksum(const u8 *block)
{
    u8 sum = 0;
    for (int i = 0; i < BLOCK_SIZE - 1; ++i)
        sum = u8(sum + block[i]);
    return u8(0x100 - sum);
}

}
