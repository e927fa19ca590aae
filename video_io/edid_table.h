#ifndef QEL_VIDEO_IO_EDID_TABLE_H
#define QEL_VIDEO_IO_EDID_TABLE_H

#include "core/types.h"

// The inputs' EDID tables, built in code: a base block (EDID 1.3) and one
// CTA-861 extension, 256 bytes in all.
namespace edid_table {

constexpr int EDID_SIZE = 256;
constexpr int BLOCK_SIZE = 128;

// One detailed timing, in the units of a detailed timing descriptor.
struct EDID_TIMING
{
    u32 pixel_clock_10khz = 0;
    int h_active = 0;
    int h_blank = 0;
    int h_front_porch = 0;
    int h_sync = 0;
    int v_active = 0;
    int v_blank = 0;
    int v_front_porch = 0;
    int v_sync = 0;
    bool h_sync_positive = true;
    bool v_sync_positive = false;
};

// CVT reduced blanking (v1) timing of width x height at rate Hz.
// False when the EDID cannot carry it: size or blank above 4095, clock
// outside 10..655.35 MHz, frame rate outside 1..255 Hz or line rate above
// 255 kHz (what the range limits can hold).
bool cvt_rb_timing(int width, int height, int rate, EDID_TIMING *out);

// The input's default timing: 1920x1080@60 for slots 0..3, 3840x2160@60 for 4..5.
void default_size(int slot, int *width, int *height, int *rate);

// The 18-byte detailed timing descriptor of t.
void write_dtd(const EDID_TIMING &t, u8 *out);

// Full 256-byte EDID of input slot (0..5) with t as its preferred timing.
void build(int slot, const EDID_TIMING &t, u8 *edid);

// Byte that makes a 128-byte block sum to 0 (mod 256).
u8 block_checksum(const u8 *block);

}

#endif
