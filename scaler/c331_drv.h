#ifndef QEL_SCALER_C331_DRV_H
#define QEL_SCALER_C331_DRV_H

#include <QString>

#include <deque>
#include <vector>

#include "core/types.h"
#include "scaler/omenu.h"

// Register descriptor: bank (bits 16..23), first address (bits 8..15),
// byte count (bits 0..7).
typedef u32 C331_REG;
constexpr C331_REG c331_reg(u8 bank, u8 addr, u8 count)
{
    return (u32(bank) << 16) | (u32(addr) << 8) | u32(count);
}

constexpr int C331_WINDOWS = 6;
constexpr int C331_CROPS = 40;
constexpr int C331_OSD_ENTRIES = 3;
constexpr u8 C331_NO_SOURCE = 0xFF;

struct C331_WINDOW
{
    u8 on = 0;
    u8 source = C331_NO_SOURCE;   // input slot 0..5
    u8 crop = C331_NO_SOURCE;     // crop record shown, or none: the whole input
    u16 crop_x = 0, crop_y = 0, crop_w = 0, crop_h = 0;
    u16 x = 0, y = 0, w = 0, h = 0;
    u8 mirror = 0;                // 0..3
    u8 p2p = 0;
    u16 p2p_splice = 0;           // 0, 8, 9
    u8 fade = 0;
    u8 fade_in = 0, fade_out = 0;
    u8 volume = 0;
    u8 audio = 0;
};

struct C331_CROP
{
    u8 used = 0;
    u8 source = 0;
    u8 number = 0;                // 1..40
    u16 x = 0, y = 0, w = 0, h = 0;
};

// An on-screen-display entry with its colours as 0xRRGGBB.
struct C331_OSD : OSD_LAYOUT
{
    u32 back_color = 0;
    u32 font_color = 0;
    QString texts;
};

// What the chip has been programmed with, as the LED wall would show it.
struct C331_STATE
{
    // panel and output channels
    u8 splice_mode = 0;           // 2 vertical, 3 horizontal, 4 copy
    u16 canvas_w = 0, canvas_h = 0;
    u16 out1_w = 0, out1_h = 0;
    u16 out2_x = 0, out2_y = 0, out2_w = 0, out2_h = 0;

    C331_WINDOW window[C331_WINDOWS];
    C331_CROP crop[C331_CROPS];

    // picture
    u8 brightness = 0, contrast = 0, sharpness = 0, saturation = 0;
    u8 color_temp = 0;
    u8 gain_r = 0, gain_g = 0, gain_b = 0;

    u8 audio_window = C331_NO_SOURCE;
    u8 switch_effect = 0;         // 0 seamless, 1 fade
    u8 point_to_point = 0;
    u8 test_pattern = 0;          // 0 none, 1..8

    u8 osd_on = 0;
    int osd_count = 0;
    C331_OSD osd[C331_OSD_ENTRIES];

    u32 reg_writes = 0;
    u32 panel_inits = 0;
};

// The scaler chip. Off the device it is a model that keeps its register
// banks and the programmed state; all access under Utils::_c331_bnk_mutex.
class c331_drv
{
public:
    c331_drv();

    // bring-up and font flash
    int qelApi_Init();                    // chip reset: registers and state cleared, counters kept; 0
    u8 qelApi_ReadFontHeaders();          // font presence bits from the serial flash

    // panel and output channels
    int qelApi_PnlInit2(u8 splice, u16 canvasW, u16 canvasH);
    void c331_SetOutput(int channel, u16 x, u16 y, u16 w, u16 h);   // channel 1 or 2

    // windows
    void c331_SetWindowEnable(int win, bool on);
    void c331_SetWindowSource(int win, u8 slot, u8 crop, u16 x, u16 y, u16 w, u16 h);
    void c331_SetWindowPosition(int win, u16 x, u16 y);
    void c331_SetWindowSize(int win, u16 w, u16 h);
    void c331_SetMirror(int win, u8 mode);
    void c331_SetPointToPoint(int win, bool on, u16 splice);
    void c331_SetFade(int win, bool on, u8 fadeIn, u8 fadeOut);
    void c331_SetVolume(int win, u8 volume, bool on);

    // crops
    void c331_SetCrop(int index, const C331_CROP &crop);

    // picture
    void c331_SetBrightness(u8 v);
    void c331_SetContrast(u8 v);
    void c331_SetSharpness(u8 v);
    void c331_SetSaturation(u8 v);
    void c331_SetColorTemp(u8 type, u8 r, u8 g, u8 b);

    // output-wide settings
    void c331_SetAudioWindow(u8 win);
    void c331_SetSwitchEffect(u8 effect);
    void c331_SetPointToPointMode(u8 on);
    void c331_SetTestPattern(u8 pattern);

    // on-screen display
    void c331_SetOsdEnable(bool on);
    void c331_SetOsd(int index, const C331_OSD &entry);
    void c331_ClearOsd();

    // inspection
    C331_STATE state() const;
    // The register writes in the order made (bank, address, count), the
    // newest WRITE_LOG_MAX kept.
    static constexpr int WRITE_LOG_MAX = 4096;
    std::vector<C331_REG> write_log() const;
    void clear_write_log();
    u8 c331_ReadReg(u8 bank, u8 addr) const;

private:
    void writeRegs(C331_REG reg, const u8 *data);   // caller holds the bank lock
    // a register write and the state it programs, under one bank lock
    template <typename F>
    void program(C331_REG reg, const u8 *data, F update);
    template <typename F>
    void programWindow(int win, u8 addr, const u8 *data, u8 count, F update);
    void setByte(u8 bank, u8 addr, u8 v, u8 C331_STATE::*field);
    void setWindowPair(int win, u8 addr, u16 a, u16 b, u16 C331_WINDOW::*fa, u16 C331_WINDOW::*fb);
    static bool windowOk(int win) { return win >= 0 && win < C331_WINDOWS; }

    u8 m_regs[256][256];
    C331_STATE m_state;
    std::deque<C331_REG> m_write_log;
};

#endif
