#include "scaler/c331_manage.h"

#include <cstring>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "video_io/tavixsource.h"

c331_manage *c331_manage::p_c331_manage = nullptr;
std::mutex &c331_manage::para_mutex = QelRamPara::image_mutex();
std::atomic<u8> &c331_manage::para_update = QelRamPara::update_byte();

namespace {

const char *const kOsdMenu = "/data/configs/omenu.json";

bool differs(const u8 *a, const u8 *b, int off, int len) { return std::memcmp(a + off, b + off, len) != 0; }

// Panel fields that need the LED set-up hand-over: splice mode, canvas, OUT1 size.
bool panelDiffers(const u8 *a, const u8 *b)
{
    return differs(a, b, Img::SPLICE_MODE, 6) || differs(a, b, Img::OUT1_W, 4);
}

u8 spliceOf(const u8 *img)
{
    const u16 m = Img::rd16(img, Img::SPLICE_MODE);
    return (m == 2 || m == 3) ? u8(m) : u8(4);
}

// Crop record k as the chip takes it; a free or malformed record is unused.
C331_CROP cropView(const u8 *buf, int k)
{
    C331_CROP c;
    const CropView v(buf, k);
    if (!v.valid())
        return c;
    c.used = 1;
    c.source = u8(v.slot());
    c.number = u8(v.number());
    c.x = v.x();
    c.y = v.y();
    c.w = v.width();
    c.h = v.height();
    return c;
}

bool sameCrop(const C331_CROP &a, const C331_CROP &b)
{
    return a.used == b.used && a.source == b.source && a.number == b.number && a.x == b.x && a.y == b.y &&
           a.w == b.w && a.h == b.h;
}

// Window w as the chip takes it, read from an image buffer through the same
// views as the screens.
C331_WINDOW windowView(const u8 *buf, int w)
{
    C331_WINDOW v;
    const WindowView win(buf, w);
    v.on = win.on() ? 1 : 0;

    const WindowSource src = windowSource(buf, w);
    if (src.valid())
        v.source = u8(src.slot);
    if (src.isCrop()) {
        const CropView c(buf, src.record);
        // a crop with no width or height shows the whole input: nothing
        // downstream scales by an empty rectangle
        if (c.width() != 0 && c.height() != 0) {
            v.crop = u8(src.record);
            v.crop_x = c.x();
            v.crop_y = c.y();
            v.crop_w = c.width();
            v.crop_h = c.height();
        }
    }

    v.x = win.x();
    v.y = win.y();
    v.w = win.width();
    v.h = win.height();
    v.mirror = win.mirror() <= 3 ? win.mirror() : 0;

    v.p2p = win.pointToPoint() ? 1 : 0;
    const u16 splice = win.p2pSplice();
    v.p2p_splice = (splice == 8 || splice == 9) ? splice : 0;
    v.fade = win.fade() ? 1 : 0;
    v.fade_in = buf[Img::FADE_PAIRS + 4 * w];
    v.fade_out = buf[Img::FADE_PAIRS + 4 * w + 2];
    v.volume = win.volume();
    v.audio = win.audioOn() ? 1 : 0;
    return v;
}

C331_OSD osdEntry(const OSD_PARA &e)
{
    C331_OSD o;
    static_cast<OSD_LAYOUT &>(o) = e;
    o.back_color = omenu_color(e.back_color);
    o.font_color = omenu_color(e.font_color);
    o.texts = e.texts;
    return o;
}

u8 clampU8(int v, int hi) { return u8(v < 0 ? 0 : (v > hi ? hi : v)); }

bool osdOn(const u8 *img) { return Img::rd16(img, Img::OSD_ON) != 0; }

void readMenuFile(OSD_LIST *list)
{
    char path[64];
    std::strncpy(path, kOsdMenu, sizeof path - 1);
    path[sizeof path - 1] = '\0';
    get_json_omenu_para(path, list);
}

// Made once and never destroyed, so wake() is safe at any time.
ManagerThread &managerThread()
{
    static ManagerThread *const t = new ManagerThread();
    return *t;
}

} // namespace

std::function<void(OSD_LIST *)> c331_manage::read_osd_menu = readMenuFile;

c331_manage::c331_manage()
{
    std::memset(m_applied, 0, sizeof m_applied);
    QelRamPara::set_scaler_wake(&c331_manage::wake);
    read_fonts();
}

c331_manage::~c331_manage() { stop(); }

c331_manage *c331_manage::pInstance()
{
    if (!p_c331_manage)
        p_c331_manage = new c331_manage();
    return p_c331_manage;
}

void c331_manage::destroyInstance()
{
    if (p_c331_manage)
        p_c331_manage->stop();
    delete p_c331_manage;
    p_c331_manage = nullptr;
}

void c331_manage::read_fonts() { font_state = m_chip.qelApi_ReadFontHeaders(); }

void c331_manage::start()
{
    managerThread().start([this] {
        pass();
        return next_sleep_ms();
    });
}

void c331_manage::stop() { managerThread().stop(); }

void c331_manage::wake() { managerThread().wake(); }

const ManagerThread &c331_manage::thread() { return managerThread(); }

// Asleep until a writer raises the update byte; a panel change waiting for
// the LED set-up looks again every tick, and a display that came on after its
// menu file was read is taken up at once.
int c331_manage::next_sleep_ms() const
{
    if (!m_up || !QelRamPara::p_qelrampara_config)
        return ManagerThread::POLL_MS;   // waits for the parameter store
    if (m_osd_pending)
        return 0;
    return m_led_pending ? ManagerThread::WORK_MS : ManagerThread::UNTIL_WOKEN;
}

void c331_manage::pass()
{
    QelRamPara *ram = QelRamPara::p_qelrampara_config;
    if (!ram)
        return;
    if (!m_up) {
        prepare_osd(ram);
        std::lock_guard<std::mutex> lock(para_mutex);
        chip_init(ram);
    }
    const bool ledDue = m_led_pending && g_set_led_para.load() != 1;
    if (para_update.load() == 0 && !ledDue && !m_osd_pending)
        return;

    prepare_osd(ram);
    u8 code = 0;
    {
        std::lock_guard<std::mutex> lock(para_mutex);
        code = para_update.exchange(0);
        apply(ram, false);
    }
    // after the lock is released: the FPGA manager resets the FPGAs, and the
    // emission takes the signal lock
    if (m_led_handed_over) {
        m_led_handed_over = false;
        fpga_manage::wake();
    }
    if (code)
        ram->test_signal(code);
}

void c331_manage::chip_init(QelRamPara *ram)
{
    m_chip.qelApi_Init();
    apply(ram, true);
    m_up = true;
}

// The menu file is read and parsed here, before the lock, when the display
// is about to come on; apply_osd takes the entries under the lock.
void c331_manage::prepare_osd(QelRamPara *ram)
{
    m_osd_ready = false;
    const bool on = ram->read(osdOn);
    if (!on || (m_up && osdOn(m_applied)))
        return;
    m_osd_list = OSD_LIST();
    if (read_osd_menu)
        read_osd_menu(&m_osd_list);
    m_osd_ready = true;
}

// Programs every field of the image that differs from the applied copy
// (all of them when `all`), then takes the image as the applied copy, but
// for the fields still waiting. Caller holds para_mutex.
void c331_manage::apply(QelRamPara *ram, bool all)
{
    const u8 *img = ram->ram_para;
    const bool panelDone = apply_panel(img, all);
    apply_crops(img, all);
    apply_windows(img, all);
    apply_picture(img, all);
    apply_output_settings(img, all);
    const bool osdDone = apply_osd(img, all);
    if (!all)
        raise_edid_rewrites(img);

    u8 keepPanel[6], keepOut[12], keepOsd[2];
    std::memcpy(keepPanel, m_applied + Img::SPLICE_MODE, sizeof keepPanel);
    std::memcpy(keepOut, m_applied + Img::OUT1_W, sizeof keepOut);
    std::memcpy(keepOsd, m_applied + Img::OSD_ON, sizeof keepOsd);
    std::memcpy(m_applied, img, Img::SIZE);
    if (!panelDone) {
        std::memcpy(m_applied + Img::SPLICE_MODE, keepPanel, sizeof keepPanel);
        std::memcpy(m_applied + Img::OUT1_W, keepOut, sizeof keepOut);
    }
    if (!osdDone)
        std::memcpy(m_applied + Img::OSD_ON, keepOsd, sizeof keepOsd);
}

// Panel and output channels. A change of splice mode, canvas or OUT1 size
// re-initialises the panel once the FPGA manager's LED set-up (flag 1) is
// over; until then the fields stay un-applied and later passes look again.
// Returns false while the change waits.
bool c331_manage::apply_panel(const u8 *img, bool all)
{
    auto out2 = [this, img] {
        m_chip.c331_SetOutput(2, Img::rd16(img, Img::OUT2_X), Img::rd16(img, Img::OUT2_Y),
                              Img::rd16(img, Img::OUT2_W), Img::rd16(img, Img::OUT2_H));
    };
    auto program = [this, img, &out2] {
        m_chip.qelApi_PnlInit2(spliceOf(img), Img::rd16(img, Img::CANVAS_W), Img::rd16(img, Img::CANVAS_H));
        m_chip.c331_SetOutput(1, 0, 0, Img::rd16(img, Img::OUT1_W), Img::rd16(img, Img::OUT1_H));
        out2();
    };
    if (all) {
        program();
        m_led_pending = false;
        return true;
    }
    if (panelDiffers(img, m_applied)) {
        std::lock_guard<std::mutex> led(Utils::_led_para_init_mutex);
        if (g_set_led_para.load() == 1) {
            m_led_pending = true;
            return false;
        }
        program();
        g_set_led_para = 2;
        m_led_handed_over = true;
        m_led_pending = false;
        return true;
    }
    m_led_pending = false;
    if (differs(img, m_applied, Img::OUT2_X, 8))
        out2();
    return true;
}

void c331_manage::apply_crops(const u8 *img, bool all)
{
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const C331_CROP now = cropView(img, k);
        if (all || !sameCrop(now, cropView(m_applied, k)))
            m_chip.c331_SetCrop(k, now);
    }
}

void c331_manage::apply_windows(const u8 *img, bool all)
{
    for (int w = 0; w < C331_WINDOWS; ++w) {
        const C331_WINDOW n = windowView(img, w);
        const C331_WINDOW o = windowView(m_applied, w);
        // switched off first and on last, so no half-programmed window shows
        const bool onChanged = all || n.on != o.on;
        if (onChanged && !n.on)
            m_chip.c331_SetWindowEnable(w, false);
        if (all || n.source != o.source || n.crop != o.crop || n.crop_x != o.crop_x || n.crop_y != o.crop_y ||
            n.crop_w != o.crop_w || n.crop_h != o.crop_h)
            m_chip.c331_SetWindowSource(w, n.source, n.crop, n.crop_x, n.crop_y, n.crop_w, n.crop_h);
        if (all || n.x != o.x || n.y != o.y)
            m_chip.c331_SetWindowPosition(w, n.x, n.y);
        if (all || n.w != o.w || n.h != o.h)
            m_chip.c331_SetWindowSize(w, n.w, n.h);
        if (all || n.mirror != o.mirror)
            m_chip.c331_SetMirror(w, n.mirror);
        if (all || n.p2p != o.p2p || n.p2p_splice != o.p2p_splice)
            m_chip.c331_SetPointToPoint(w, n.p2p, n.p2p_splice);
        if (all || n.fade != o.fade || n.fade_in != o.fade_in || n.fade_out != o.fade_out)
            m_chip.c331_SetFade(w, n.fade, n.fade_in, n.fade_out);
        if (all || n.volume != o.volume || n.audio != o.audio)
            m_chip.c331_SetVolume(w, n.volume, n.audio);
        if (onChanged && n.on)
            m_chip.c331_SetWindowEnable(w, true);
    }
}

void c331_manage::apply_picture(const u8 *img, bool all)
{
    if (all || differs(img, m_applied, Img::BRIGHTNESS, 2))
        m_chip.c331_SetBrightness(clampU8(Img::rd16(img, Img::BRIGHTNESS), 100));
    if (all || differs(img, m_applied, Img::CONTRAST, 2))
        m_chip.c331_SetContrast(clampU8(Img::rd16(img, Img::CONTRAST), 100));
    if (all || differs(img, m_applied, Img::SHARPNESS, 2))
        m_chip.c331_SetSharpness(clampU8(Img::rd16(img, Img::SHARPNESS), 100));
    if (all || differs(img, m_applied, Img::SATURATION, 2))
        m_chip.c331_SetSaturation(clampU8(Img::rd16(img, Img::SATURATION), 100));
    if (all || differs(img, m_applied, Img::COLOR_TEMP, 8)) {
        const u16 type = Img::rd16(img, Img::COLOR_TEMP);
        m_chip.c331_SetColorTemp(type <= 3 ? u8(type) : u8(0), clampU8(Img::rd16(img, Img::GAIN_R), 128),
                                 clampU8(Img::rd16(img, Img::GAIN_G), 128), clampU8(Img::rd16(img, Img::GAIN_B), 128));
    }
}

void c331_manage::apply_output_settings(const u8 *img, bool all)
{
    if (all || differs(img, m_applied, Img::AUDIO_WINDOW, 2)) {
        const u16 w = Img::rd16(img, Img::AUDIO_WINDOW);
        m_chip.c331_SetAudioWindow(w < C331_WINDOWS ? u8(w) : C331_NO_SOURCE);
    }
    if (all || differs(img, m_applied, Img::SWITCH_EFFECT, 2))
        m_chip.c331_SetSwitchEffect(Img::rd16(img, Img::SWITCH_EFFECT) ? 1 : 0);
    if (all || differs(img, m_applied, Img::POINT_TO_POINT, 2))
        m_chip.c331_SetPointToPointMode(Img::rd16(img, Img::POINT_TO_POINT) ? 1 : 0);
    if (all || img[Img::TEST_PATTERN] != m_applied[Img::TEST_PATTERN])
        m_chip.c331_SetTestPattern(img[Img::TEST_PATTERN] <= 8 ? img[Img::TEST_PATTERN] : 0);
}

// The display on or off, with the entries prepare_osd read. A display that
// came on after the file was read stays off until the next pass reads it
// (false then).
bool c331_manage::apply_osd(const u8 *img, bool all)
{
    const bool on = osdOn(img);
    m_osd_pending = false;
    if (!all && on == osdOn(m_applied))
        return true;
    if (on && !m_osd_ready) {
        m_osd_pending = true;
        return false;
    }
    m_chip.c331_ClearOsd();
    if (on) {
        for (int i = 0; i < m_osd_list.osdcount && i < C331_OSD_ENTRIES; ++i)
            m_chip.c331_SetOsd(i, osdEntry(m_osd_list.osdlist[i]));
    }
    m_chip.c331_SetOsdEnable(on);
    m_osd_ready = false;
    return true;
}

// Every input whose EDID record changed gets its EDID rewritten; an input
// with a PC-loaded table is rewritten whenever any record changed.
void c331_manage::raise_edid_rewrites(const u8 *img)
{
    bool changed[6] = {};
    bool any = false;
    for (int i = 0; i < 6; ++i) {
        const EdidView now(img, i), was(m_applied, i);
        changed[i] = now.width() != was.width() || now.height() != was.height() || now.rate() != was.rate();
        any = any || changed[i];
    }
    if (!any)
        return;
    tavixsource *src = tavixsource::p_tavix_source;
    if (!src) {
        writeLogMsg(LOG_MISSING, QStringLiteral("EDID changed, no input-source manager"));
        return;
    }
    for (int i = 0; i < 6; ++i) {
        if (changed[i] || src->pc_edid_loaded[i].load())
            src->request_edid_rewrite(i);
    }
}
