#ifndef QEL_CORE_PARAM_LAYOUT_H
#define QEL_CORE_PARAM_LAYOUT_H

// Byte offsets into the 4096-byte parameter image. 16-bit fields are
// little-endian. 0..767 is live status, 768..4095 the saved settings.
namespace Img {
constexpr int SIZE = 4096;
constexpr int SETTINGS_START = 768;
constexpr int SETTINGS_SIZE = SIZE - SETTINGS_START;   // the saved part, 3328 bytes

constexpr int INPUT_TIMING = 256;      // + 6i: u16 w, u16 h, u8 rate (input slot i)
constexpr int INPUT_TIMING_SIZE = 6;

constexpr int LANGUAGE = 768;          // u8 0..4
constexpr int LANGUAGE_FIXED = 769;    // cleared when the language is corrected
constexpr int WIFI_OFF = 774;          // u8, 0 on
constexpr int TEST_PATTERN = 864;      // u8, 0 none, 1..8
constexpr int CURRENT_MODE = 866;      // u16, slot + 1, 0 none
constexpr int SAVE_MODE_REQUEST = 868; // u16, slot + 1: store the settings into that slot

constexpr int USER_PAYLOAD = 896;      // user-mode payload = image 896..4095
constexpr int USER_PAYLOAD_SIZE = 3200;
constexpr int EDID_RECORD = 896;       // + 6i: u16 w, h, rate
constexpr int EDID_RECORD_SIZE = 6;

constexpr int SPLICE_MODE = 1376;      // u16: 2 vertical, 3 horizontal, 4 copy
constexpr int CANVAS_W = 1378;
constexpr int CANVAS_H = 1380;
constexpr int OUT1_W = 1412;
constexpr int OUT1_H = 1414;
constexpr int OUT2_X = 1416;
constexpr int OUT2_Y = 1418;
constexpr int OUT2_W = 1420;
constexpr int OUT2_H = 1422;

constexpr int CROP_TABLE = 1472;       // + 10k, k 0..39
constexpr int CROP_SIZE = 10;
constexpr int CROP_COUNT = 40;

constexpr int AUDIO_WINDOW = 2112;
constexpr int POINT_TO_POINT = 2114;
constexpr int SWITCH_EFFECT = 2118;
constexpr int OSD_ON = 2124;

constexpr int PICTURE = 2176;          // picture block 2176..2191
constexpr int BRIGHTNESS = 2176;
constexpr int CONTRAST = 2178;
constexpr int SHARPNESS = 2180;
constexpr int SATURATION = 2182;
constexpr int COLOR_TEMP = 2184;
constexpr int GAIN_R = 2186;
constexpr int GAIN_G = 2188;
constexpr int GAIN_B = 2190;

constexpr int WINDOW = 2272;           // + 26w, records 0..15 (windows 0..5 used)
constexpr int WINDOW_SIZE = 26;
constexpr int WINDOW_RECORDS = 16;
constexpr int WINDOWS_USED = 6;
// offsets inside a window record
constexpr int W_ON = 0;
constexpr int W_MIRROR = 4;
constexpr int W_SOURCE = 8;            // u8 slot or crop record index
constexpr int W_CROP_FLAG = 9;         // bit 7: source is a crop record
constexpr int W_X = 10;
constexpr int W_Y = 12;
constexpr int W_W = 14;
constexpr int W_H = 16;
constexpr int W_FLAGS = 18;            // bit 2 fade, bit 8 point-to-point; +19 p2p byte
constexpr int W_VOLUME = 20;
constexpr int W_AUDIO = 21;            // bit 7 on
constexpr int W_P2P_SPLICE = 22;       // u16: 0, 8 or 9

constexpr int FADE_PAIRS = 2816;       // 2816 + 4k and 2818 + 4k, k 0..15

// In a user-mode payload every field sits 896 bytes lower.
constexpr int payload(int imageOffset) { return imageOffset - USER_PAYLOAD; }
constexpr int window(int w, int field) { return WINDOW + WINDOW_SIZE * w + field; }
constexpr int crop(int k) { return CROP_TABLE + CROP_SIZE * k; }
}

#endif
