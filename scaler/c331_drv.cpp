#include "scaler/c331_drv.h"

#include <cstring>
#include <mutex>

#include "core/sim_config.h"
#include "core/utils.h"

namespace {

// register banks
constexpr u8 BANK_SYS = 0x00;
constexpr u8 BANK_OUT = 0x01;
constexpr u8 BANK_WIN = 0x10;     // + window
constexpr u8 BANK_PIC = 0x20;
constexpr u8 BANK_CROP = 0x30;    // + index / 25
constexpr u8 BANK_OSD = 0x40;     // + entry

void put16(u8 *p, u16 v)
{
    p[0] = u8(v & 0xFF);
    p[1] = u8(v >> 8);
}

void rect(u8 *p, u16 a, u16 b, u16 c, u16 d)
{
    put16(p, a);
    put16(p + 2, b);
    put16(p + 4, c);
    put16(p + 6, d);
}

typedef std::lock_guard<std::mutex> BankLock;

} // namespace

c331_drv::c331_drv()
{
    std::memset(m_regs, 0, sizeof m_regs);
}

void c331_drv::writeRegs(C331_REG reg, const u8 *data)
{
    const int bank = (reg >> 16) & 0xFF;
    const int addr = (reg >> 8) & 0xFF;
    const int count = reg & 0xFF;
    for (int i = 0; i < count && addr + i < 256; ++i)
        m_regs[bank][addr + i] = data[i];
    ++m_state.reg_writes;
    m_write_log.push_back(reg);
    if (m_write_log.size() > WRITE_LOG_MAX)
        m_write_log.pop_front();
}

std::vector<C331_REG> c331_drv::write_log() const
{
    BankLock lock(Utils::_c331_bnk_mutex);
    return std::vector<C331_REG>(m_write_log.begin(), m_write_log.end());
}

void c331_drv::clear_write_log()
{
    BankLock lock(Utils::_c331_bnk_mutex);
    m_write_log.clear();
}

int c331_drv::qelApi_Init()
{
    BankLock lock(Utils::_c331_bnk_mutex);
    std::memset(m_regs, 0, sizeof m_regs);
    const u32 writes = m_state.reg_writes;
    const u32 inits = m_state.panel_inits;
    m_state = C331_STATE();
    m_state.reg_writes = writes;
    m_state.panel_inits = inits;
    return 0;
}

u8 c331_drv::qelApi_ReadFontHeaders()
{
    return u8(SimConfig::load().fonts & 0x0F);
}

template <typename F>
void c331_drv::program(C331_REG reg, const u8 *data, F update)
{
    BankLock lock(Utils::_c331_bnk_mutex);
    writeRegs(reg, data);
    update(m_state);
}

template <typename F>
void c331_drv::programWindow(int win, u8 addr, const u8 *data, u8 count, F update)
{
    if (windowOk(win))
        program(c331_reg(u8(BANK_WIN + win), addr, count), data, [&](C331_STATE &s) { update(s.window[win]); });
}

void c331_drv::setByte(u8 bank, u8 addr, u8 v, u8 C331_STATE::*field)
{
    program(c331_reg(bank, addr, 1), &v, [&](C331_STATE &s) { s.*field = v; });
}

void c331_drv::setWindowPair(int win, u8 addr, u16 a, u16 b, u16 C331_WINDOW::*fa, u16 C331_WINDOW::*fb)
{
    u8 d[4];
    put16(d, a);
    put16(d + 2, b);
    programWindow(win, addr, d, 4, [&](C331_WINDOW &s) {
        s.*fa = a;
        s.*fb = b;
    });
}

int c331_drv::qelApi_PnlInit2(u8 splice, u16 canvasW, u16 canvasH)
{
    u8 b[5] = {splice};
    put16(b + 1, canvasW);
    put16(b + 3, canvasH);
    program(c331_reg(BANK_SYS, 0x00, 5), b, [&](C331_STATE &s) {
        s.splice_mode = splice;
        s.canvas_w = canvasW;
        s.canvas_h = canvasH;
        ++s.panel_inits;
    });
    return 0;
}

void c331_drv::c331_SetOutput(int channel, u16 x, u16 y, u16 w, u16 h)
{
    if (channel != 1 && channel != 2)
        return;
    u8 b[8];
    rect(b, x, y, w, h);
    program(c331_reg(BANK_OUT, u8(0x10 * channel), 8), b, [&](C331_STATE &s) {
        if (channel == 1) {
            s.out1_w = w;
            s.out1_h = h;
        } else {
            s.out2_x = x;
            s.out2_y = y;
            s.out2_w = w;
            s.out2_h = h;
        }
    });
}

void c331_drv::c331_SetWindowEnable(int win, bool on)
{
    const u8 b = on ? 1 : 0;
    programWindow(win, 0x00, &b, 1, [b](C331_WINDOW &s) { s.on = b; });
}

void c331_drv::c331_SetWindowSource(int win, u8 slot, u8 crop, u16 x, u16 y, u16 w, u16 h)
{
    if (slot > 5) {
        slot = C331_NO_SOURCE;
        crop = C331_NO_SOURCE;
    }
    if (crop == C331_NO_SOURCE)
        x = y = w = h = 0;
    u8 b[10] = {slot, crop};
    rect(b + 2, x, y, w, h);
    programWindow(win, 0x01, b, 10, [&](C331_WINDOW &s) {
        s.source = slot;
        s.crop = crop;
        s.crop_x = x;
        s.crop_y = y;
        s.crop_w = w;
        s.crop_h = h;
    });
}

void c331_drv::c331_SetWindowPosition(int win, u16 x, u16 y)
{
    setWindowPair(win, 0x10, x, y, &C331_WINDOW::x, &C331_WINDOW::y);
}

void c331_drv::c331_SetWindowSize(int win, u16 w, u16 h)
{
    setWindowPair(win, 0x14, w, h, &C331_WINDOW::w, &C331_WINDOW::h);
}

void c331_drv::c331_SetMirror(int win, u8 mode)
{
    const u8 b = mode & 3;
    programWindow(win, 0x20, &b, 1, [b](C331_WINDOW &s) { s.mirror = b; });
}

void c331_drv::c331_SetPointToPoint(int win, bool on, u16 splice)
{
    u8 b[3] = {u8(on ? 1 : 0)};
    put16(b + 1, splice);
    programWindow(win, 0x21, b, 3, [&](C331_WINDOW &s) {
        s.p2p = b[0];
        s.p2p_splice = splice;
    });
}

void c331_drv::c331_SetFade(int win, bool on, u8 fadeIn, u8 fadeOut)
{
    const u8 b[3] = {u8(on ? 1 : 0), fadeIn, fadeOut};
    programWindow(win, 0x30, b, 3, [&](C331_WINDOW &s) {
        s.fade = b[0];
        s.fade_in = fadeIn;
        s.fade_out = fadeOut;
    });
}

void c331_drv::c331_SetVolume(int win, u8 volume, bool on)
{
    const u8 b[2] = {volume, u8(on ? 1 : 0)};
    programWindow(win, 0x40, b, 2, [&](C331_WINDOW &s) {
        s.volume = volume;
        s.audio = b[1];
    });
}

void c331_drv::c331_SetCrop(int index, const C331_CROP &crop)
{
    if (index < 0 || index >= C331_CROPS)
        return;
    const C331_CROP c = crop.used ? crop : C331_CROP();
    u8 b[10] = {u8(c.used ? 0x80 | c.source : 0), c.number};
    rect(b + 2, c.x, c.y, c.w, c.h);
    program(c331_reg(u8(BANK_CROP + index / 25), u8(10 * (index % 25)), 10), b,
            [&](C331_STATE &s) { s.crop[index] = c; });
}

void c331_drv::c331_SetBrightness(u8 v) { setByte(BANK_PIC, 0x00, v, &C331_STATE::brightness); }

void c331_drv::c331_SetContrast(u8 v) { setByte(BANK_PIC, 0x01, v, &C331_STATE::contrast); }

void c331_drv::c331_SetSharpness(u8 v) { setByte(BANK_PIC, 0x02, v, &C331_STATE::sharpness); }

void c331_drv::c331_SetSaturation(u8 v) { setByte(BANK_PIC, 0x03, v, &C331_STATE::saturation); }

void c331_drv::c331_SetColorTemp(u8 type, u8 r, u8 g, u8 b)
{
    const u8 d[4] = {type, r, g, b};
    program(c331_reg(BANK_PIC, 0x04, 4), d, [&](C331_STATE &s) {
        s.color_temp = type;
        s.gain_r = r;
        s.gain_g = g;
        s.gain_b = b;
    });
}

void c331_drv::c331_SetAudioWindow(u8 win) { setByte(BANK_SYS, 0x11, win, &C331_STATE::audio_window); }

void c331_drv::c331_SetSwitchEffect(u8 effect) { setByte(BANK_SYS, 0x12, effect, &C331_STATE::switch_effect); }

void c331_drv::c331_SetPointToPointMode(u8 on) { setByte(BANK_SYS, 0x13, on, &C331_STATE::point_to_point); }

void c331_drv::c331_SetTestPattern(u8 pattern)
{
    setByte(BANK_SYS, 0x10, pattern > 8 ? 0 : pattern, &C331_STATE::test_pattern);
}

void c331_drv::c331_SetOsdEnable(bool on) { setByte(BANK_SYS, 0x20, on ? 1 : 0, &C331_STATE::osd_on); }

void c331_drv::c331_SetOsd(int index, const C331_OSD &entry)
{
    if (index < 0 || index >= C331_OSD_ENTRIES)
        return;
    BankLock lock(Utils::_c331_bnk_mutex);
    u8 b[32] = {u8(entry.type), u8(entry.status), u8(entry.effect), u8(entry.speed),
                u8(entry.staytime), u8(entry.h_align), u8(entry.v_align), u8(entry.back_enable),
                u8(entry.layer)};
    rect(b + 9, u16(entry.x), u16(entry.y), u16(entry.w), u16(entry.h));
    rect(b + 17, u16(entry.startx), u16(entry.starty), u16(entry.fontw), u16(entry.fonth));
    b[25] = u8(entry.wordspace);
    b[26] = u8(entry.verticalspace);
    b[27] = u8(entry.back_color >> 16);
    b[28] = u8(entry.back_color >> 8);
    b[29] = u8(entry.back_color);
    b[30] = u8(entry.bmp_start);
    b[31] = u8(entry.bmp_end);
    writeRegs(c331_reg(u8(BANK_OSD + index), 0x00, 32), b);
    const u8 fc[3] = {u8(entry.font_color >> 16), u8(entry.font_color >> 8), u8(entry.font_color)};
    writeRegs(c331_reg(u8(BANK_OSD + index), 0x20, 3), fc);
    m_state.osd[index] = entry;
    if (index >= m_state.osd_count)
        m_state.osd_count = index + 1;
}

void c331_drv::c331_ClearOsd()
{
    BankLock lock(Utils::_c331_bnk_mutex);
    const u8 zero[35] = {};
    for (int i = 0; i < C331_OSD_ENTRIES; ++i) {
        writeRegs(c331_reg(u8(BANK_OSD + i), 0x00, 35), zero);
        m_state.osd[i] = C331_OSD();
    }
    m_state.osd_count = 0;
}

C331_STATE c331_drv::state() const
{
    BankLock lock(Utils::_c331_bnk_mutex);
    return m_state;
}

u8 c331_drv::c331_ReadReg(u8 bank, u8 addr) const
{
    BankLock lock(Utils::_c331_bnk_mutex);
    return m_regs[bank][addr];
}
