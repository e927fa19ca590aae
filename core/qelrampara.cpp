#include "core/qelrampara.h"

#include <QFile>
#include <cstring>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"

QelRamPara *QelRamPara::p_qelrampara_config = nullptr;

namespace {

constexpr int kFileBytes = 4096;                                  // marker + settings + zeros
const char *const kDeviceInfo = "/data/ram_device_info";

void put16(u8 *p, int off, u16 v)
{
    p[off] = u8(v & 0xFF);
    p[off + 1] = u8(v >> 8);
}

u16 get16(const u8 *p, int off) { return u16(p[off] | (p[off + 1] << 8)); }

// Factory table in the saved-file layout.
struct FactoryTable
{
    u8 bytes[kFileBytes];

    FactoryTable()
    {
        std::memset(bytes, 0, sizeof bytes);
        bytes[0] = 0xAA;
        bytes[1] = 0xAA;
        u8 img[Img::SIZE] = {};   // img[o] is image byte o
        img[Img::LANGUAGE] = 1;
        img[Img::WIFI_OFF] = 0;
        for (int i = 0; i < 6; ++i) {
            const int o = Img::EDID_RECORD + Img::EDID_RECORD_SIZE * i;
            put16(img, o, i < 4 ? 1920 : 3840);
            put16(img, o + 2, i < 4 ? 1080 : 2160);
            put16(img, o + 4, 60);
        }
        put16(img, Img::SPLICE_MODE, 4);
        put16(img, Img::CANVAS_W, 1920);
        put16(img, Img::CANVAS_H, 1080);
        put16(img, Img::OUT1_W, 1920);
        put16(img, Img::OUT1_H, 1080);
        put16(img, Img::OUT2_X, 0);
        put16(img, Img::OUT2_Y, 0);
        put16(img, Img::OUT2_W, 1920);
        put16(img, Img::OUT2_H, 1080);
        put16(img, Img::BRIGHTNESS, 100);
        put16(img, Img::CONTRAST, 50);
        put16(img, Img::SHARPNESS, 10);
        put16(img, Img::SATURATION, 50);
        put16(img, Img::COLOR_TEMP, 2);
        put16(img, Img::GAIN_R, 64);
        put16(img, Img::GAIN_G, 64);
        put16(img, Img::GAIN_B, 64);
        for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
            put16(img, Img::window(w, Img::W_ON), w == 0 ? 1 : 0);
            img[Img::window(w, Img::W_SOURCE)] = 2;   // HDMI1
            img[Img::window(w, Img::W_CROP_FLAG)] = 0;
            put16(img, Img::window(w, Img::W_X), 0);
            put16(img, Img::window(w, Img::W_Y), 0);
            put16(img, Img::window(w, Img::W_W), w == 0 ? 1920 : 960);
            put16(img, Img::window(w, Img::W_H), w == 0 ? 1080 : 540);
        }
        for (int k = 0; k < 16; ++k) {
            img[Img::FADE_PAIRS + 4 * k] = 60;
            img[Img::FADE_PAIRS + 4 * k + 2] = 60;
        }
        std::memcpy(bytes + 2, img + Img::SETTINGS_START, Img::SETTINGS_SIZE);
    }
};

const FactoryTable &factoryTable()
{
    static const FactoryTable table;
    return table;
}

// An in-use crop record with an input slot 0..5 and a crop number 1..40.
bool cropValid(const u8 *buf, int recordOffset)
{
    const u16 word = get16(buf, recordOffset);
    if (!(word & 0x8000))
        return false;
    const int slot = word & 0xFF;
    const int number = ((word >> 8) & 0x7F) + 1;
    return slot <= 5 && number <= 40;
}

int cropSlot(const u8 *buf, int recordOffset) { return get16(buf, recordOffset) & 0xFF; }
int cropNumber(const u8 *buf, int recordOffset) { return ((get16(buf, recordOffset) >> 8) & 0x7F) + 1; }

} // namespace

QelRamPara::QelRamPara()
{
    std::memset(ram_para, 0, sizeof ram_para);
    std::memset(ram_para_shadow, 0, sizeof ram_para_shadow);
    std::memset(status_block, 0, sizeof status_block);
    for (USER_MODE_PARA &m : user_mode) {
        m.flag[0] = m.flag[1] = 0xFF;
        std::memset(m.para, 0, sizeof m.para);
    }
}

QelRamPara *QelRamPara::pInstance()
{
    if (!p_qelrampara_config) {
        p_qelrampara_config = new QelRamPara();
        p_qelrampara_config->load_device_info();
        for (int s = 0; s < 16; ++s)
            p_qelrampara_config->load_user_mode(s);
        p_qelrampara_config->QelCropSourceInit();
    }
    return p_qelrampara_config;
}

void QelRamPara::destroyInstance()
{
    delete p_qelrampara_config;
    p_qelrampara_config = nullptr;
}

const u8 *QelRamPara::default_para_ramlist() { return factoryTable().bytes; }

u16 QelRamPara::get_u16(int offset) const
{
    if (offset < 0 || offset > Img::SIZE - 2)
        return 0;
    return get16(ram_para, offset);
}

void QelRamPara::set_u16(int offset, u16 value)
{
    if (offset < 0 || offset > Img::SIZE - 2)
        return;
    put16(ram_para, offset, value);
}

std::mutex &QelRamPara::image_mutex() { return c331_manage::para_mutex; }

void QelRamPara::raise_update(u8 code) { c331_manage::para_update = code; }

void QelRamPara::edit_u16(int offset, u16 value, u8 code)
{
    edit([&](u8 *) { set_u16(offset, value); }, code);
}

u16 QelRamPara::shadow_u16(int offset) const
{
    if (offset < 0 || offset > Img::SIZE - 2)
        return 0;
    return get16(ram_para_shadow, offset);
}

// ---------------------------------------------------------------- refresh

int QelRamPara::test_signal(int code)
{
    std::lock_guard<std::mutex> lock(Utils::_test_signal_mutex);
    emit sig_update_para(code);
    return 1;
}

int QelRamPara::ram_para_save() { return test_signal(1); }

int QelRamPara::QelLanguageChanged()
{
    if (get_u16(Img::LANGUAGE) == shadow_u16(Img::LANGUAGE))
        return 0;
    int lang = ram_para[Img::LANGUAGE];
    if (lang > 4 || !(g_lcd_lang_valid & (1 << lang))) {
        int allowed = 1;   // English stands in when nothing is allowed
        for (int n = 0; n <= 4; ++n) {
            if (g_lcd_lang_valid & (1 << n)) {
                allowed = n;
                break;
            }
        }
        lang = allowed;
        std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
        ram_para[Img::LANGUAGE] = u8(lang);
        ram_para[Img::LANGUAGE_FIXED] = 0;
    }
    g_language = u8(lang);
    return 1;
}

// ------------------------------------------------------------------ files

void QelRamPara::factory_defaults()
{
    std::memcpy(ram_para + Img::SETTINGS_START, factoryTable().bytes + 2, Img::SETTINGS_SIZE);
}

void QelRamPara::load_device_info()
{
    bool ok = false;
    const QByteArray data = Utils::readFile(QString::fromLatin1(kDeviceInfo), &ok);
    if (!ok) {
        writeLogMsg(LOG_NOTICE, QStringLiteral("no parameter file: factory settings"));
        factory_defaults();
    } else if (data.size() < 2 + Img::SETTINGS_SIZE || u8(data[0]) != 0xAA || u8(data[1]) != 0xAA) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("parameter file short or corrupt (%1 bytes): factory settings")
                                     .arg(data.size()));
        factory_defaults();
    } else {
        std::memcpy(ram_para + Img::SETTINGS_START, data.constData() + 2, Img::SETTINGS_SIZE);
    }
    ram_para[Img::TEST_PATTERN] = 0;
    g_language = ram_para[Img::LANGUAGE];
    if (g_language > 4)
        g_language = 1;
    std::memcpy(ram_para_shadow, ram_para, sizeof ram_para);
}

bool QelRamPara::save_device_info() { return save_device_info(ram_para); }

bool QelRamPara::save_device_info(const u8 *image)
{
    QByteArray data(kFileBytes, '\0');
    data[0] = char(0xAA);
    data[1] = char(0xAA);
    std::memcpy(data.data() + 2, image + Img::SETTINGS_START, Img::SETTINGS_SIZE);
    return Utils::writeFileAtomic(QString::fromLatin1(kDeviceInfo), data);
}

QString QelRamPara::userModePath(int slot)
{
    return QStringLiteral("/data/modes/custom_mode%1").arg(slot + 1);
}

QString QelRamPara::userModeOsdPath(int slot)
{
    return QStringLiteral("/data/modes/MO%1.json").arg(slot + 1, 2, 16, QLatin1Char('0'));
}

int QelRamPara::load_user_mode(int slot)
{
    if (slot < 0 || slot > 15)
        return 0;
    USER_MODE_PARA &m = user_mode[slot];
    bool ok = false;
    const QByteArray data = Utils::readFile(userModePath(slot), &ok);
    if (ok && data.size() == int(sizeof(USER_MODE_PARA)) && u8(data[0]) == 0xAA && u8(data[1]) == 0xAA) {
        std::memcpy(&m, data.constData(), sizeof m);
        return 1;
    }
    if (ok)
        writeLogMsg(LOG_FAILURE, QStringLiteral("user mode %1: wrong size or marker, slot empty").arg(slot + 1));
    m.flag[0] = m.flag[1] = 0xFF;
    std::memset(m.para, 0, sizeof m.para);
    return 0;
}

bool QelRamPara::save_user_mode(int slot)
{
    if (slot < 0 || slot > 15)
        return false;
    const USER_MODE_PARA &m = user_mode[slot];
    const QByteArray data(reinterpret_cast<const char *>(&m), int(sizeof m));
    if (!Utils::writeFileAtomic(userModePath(slot), data))
        return false;
    if (get16(m.para, Img::payload(Img::OSD_ON))) {
        bool ok = false;
        const QByteArray menu = Utils::readFile(QStringLiteral("/data/configs/omenu.json"), &ok);
        if (ok)
            Utils::writeFileAtomic(userModeOsdPath(slot), menu);
    }
    return true;
}

int QelRamPara::mode_file_deal(int slot, int op)
{
    if (slot < 0 || slot > 15)
        return 0;
    if (op == 1) {
        const bool osdOn = QelUserModeSaved(slot) && get16(user_mode[slot].para, Img::payload(Img::OSD_ON));
        QFile::remove(Utils::devicePath(userModePath(slot)));
        if (osdOn)
            QFile::remove(Utils::devicePath(userModeOsdPath(slot)));
    }
    return load_user_mode(slot);
}

// ------------------------------------------------------- sources and crops

int QelRamPara::QelGetImageSource(u8 *buffer, u8 window, short *isCrop, char *cropIndex, u8 layout)
{
    if (!buffer || window >= Img::WINDOW_RECORDS)
        return 0xFF;
    const int shift = layout == 1 ? Img::USER_PAYLOAD : 0;
    const u16 word = get16(buffer, Img::window(window, Img::W_SOURCE) - shift);
    if (!(word & 0x8000)) {
        if (isCrop)
            *isCrop = 0;
        const int slot = word & 0xFF;
        return slot <= 5 ? slot : 0xFF;
    }
    const int c = word & 0xFF;
    if (isCrop)
        *isCrop = 1;
    if (cropIndex)
        *cropIndex = char(c);
    if (c >= Img::CROP_COUNT)
        return 0xFF;
    const int rec = Img::crop(c) - shift;
    if (!cropValid(buffer, rec))
        return 0xFF;
    return cropSlot(buffer, rec);
}

int QelRamPara::QelGetSourceNum(int slot, int n)
{
    if (n < 1)
        return 0;
    int count = 0;
    for (int k = 0; k < n && k < Img::CROP_COUNT; ++k) {
        const int rec = Img::crop(k);
        if (cropValid(ram_para, rec) && cropSlot(ram_para, rec) == slot)
            ++count;
    }
    return count;
}

void QelRamPara::QelCropSourceInit()
{
    std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const int rec = Img::crop(k);
        if (!cropValid(ram_para, rec))
            continue;
        const int bit = cropSlot(ram_para, rec) * 40 + cropNumber(ram_para, rec) - 1;
        g_cut_source_state[bit / 8] |= u8(1 << (bit % 8));
    }
}

int QelRamPara::QelGetCropID(int slot, int n)
{
    if (slot < 0 || slot > 5 || n < 1)
        return 0;
    int seen = 0;
    for (int c = 0; c < 40; ++c) {
        const int bit = slot * 40 + c;
        if (g_cut_source_state[bit / 8] & (1 << (bit % 8))) {
            if (++seen == n)
                return c + 1;
        }
    }
    return 0;
}

int QelRamPara::QelAddCropID(int slot)
{
    if (slot < 0 || slot > 5)
        return 0;
    for (int c = 0; c < 40; ++c) {
        const int bit = slot * 40 + c;
        if (!(g_cut_source_state[bit / 8] & (1 << (bit % 8))))
            return c + 1;
    }
    return 0;
}

namespace {
// Record index of the slot's crop with the given number, or 40.
int findCrop(const u8 *img, int slot, int number)
{
    if (number < 1)
        return Img::CROP_COUNT;
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const int rec = Img::crop(k);
        if (cropValid(img, rec) && cropSlot(img, rec) == slot && cropNumber(img, rec) == number)
            return k;
    }
    return Img::CROP_COUNT;
}
}

void QelRamPara::QelGetCropPara(int slot, int n, CROP_PARA *out, int *index)
{
    const int k = findCrop(ram_para, slot, QelGetCropID(slot, n));
    if (index)
        *index = k;
    if (k >= Img::CROP_COUNT || !out)
        return;
    const int rec = Img::crop(k);
    out->crop_word = get16(ram_para, rec);
    out->x = get16(ram_para, rec + 2);
    out->y = get16(ram_para, rec + 4);
    out->width = get16(ram_para, rec + 6);
    out->height = get16(ram_para, rec + 8);
}

void QelRamPara::QelSetCropPara(char slot, char n, CROP_PARA *crop)
{
    if (!crop)
        return;
    const int k = findCrop(ram_para, slot, QelGetCropID(slot, n));
    if (k >= Img::CROP_COUNT)
        return;
    const int rec = Img::crop(k);
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    put16(ram_para, rec + 2, u16(crop->x));
    put16(ram_para, rec + 4, u16(crop->y));
    put16(ram_para, rec + 6, u16(crop->width));
    put16(ram_para, rec + 8, u16(crop->height));
    c331_manage::para_update = 1;
}

void QelRamPara::QelAddNewCrop(int slot, CROP_PARA *crop)
{
    if (!crop || slot < 0 || slot > 5)
        return;
    const int number = QelAddCropID(slot);
    if (number == 0) {
        writeLogMsg(LOG_NOTICE, QStringLiteral("input %1 has 40 crops already").arg(slot));
        return;
    }
    int k = 0;
    for (; k < Img::CROP_COUNT; ++k)
        if (!(get16(ram_para, Img::crop(k)) & 0x8000))
            break;
    if (k >= Img::CROP_COUNT)
        return;
    const int rec = Img::crop(k);
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    put16(ram_para, rec, u16(0x8000 | (((number - 1) & 0x7F) << 8) | slot));
    put16(ram_para, rec + 2, u16(crop->x));
    put16(ram_para, rec + 4, u16(crop->y));
    put16(ram_para, rec + 6, u16(crop->width));
    put16(ram_para, rec + 8, u16(crop->height));
    c331_manage::para_update = 1;
}

void QelRamPara::QelDeleteCrop(char slot, char n)
{
    const int k = findCrop(ram_para, slot, QelGetCropID(slot, n));
    if (k >= Img::CROP_COUNT)
        return;
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    put16(ram_para, Img::crop(k), 0);
    // a window showing this crop falls back to the crop's whole input
    for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
        if ((ram_para[Img::window(w, Img::W_CROP_FLAG)] & 0x80) && ram_para[Img::window(w, Img::W_SOURCE)] == k) {
            ram_para[Img::window(w, Img::W_SOURCE)] = u8(slot);
            ram_para[Img::window(w, Img::W_CROP_FLAG)] = 0;
        }
    }
    c331_manage::para_update = 1;
}

void QelRamPara::QelSetImageSource(int n, char slot, char window)
{
    const int w = u8(window);
    if (w >= Img::WINDOW_RECORDS || slot < 0 || slot > 5)
        return;
    u8 source = u8(slot);
    u8 flag = 0;
    if (n >= 1) {
        const int k = findCrop(ram_para, slot, QelGetCropID(slot, n));
        if (k >= Img::CROP_COUNT)
            return;   // the crop is gone: nothing changes
        source = u8(k);
        flag = 0x80;
    }
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    ram_para[Img::window(w, Img::W_SOURCE)] = source;
    ram_para[Img::window(w, Img::W_CROP_FLAG)] = flag;
    if (get_u16(Img::CURRENT_MODE) == shadow_u16(Img::CURRENT_MODE))
        set_u16(Img::CURRENT_MODE, 0);
    c331_manage::para_update = 1;
}

// ------------------------------------------------------ EDID and user modes

void QelRamPara::QelSetEDIDPara(int slot, short width, short height, short rate)
{
    if (slot < 0 || slot > 5)
        return;
    const int o = Img::EDID_RECORD + Img::EDID_RECORD_SIZE * slot;
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    put16(ram_para, o, u16(width));
    put16(ram_para, o + 2, u16(height));
    put16(ram_para, o + 4, u16(rate));
    c331_manage::para_update = 1;
}

int QelRamPara::QelGetCurrentModeIndex()
{
    const int v = ram_para[Img::CURRENT_MODE];
    return v > 16 ? 0 : v;
}

int QelRamPara::QelUserModeSaved(int slot)
{
    if (slot < 0 || slot > 15)
        return 0;
    return user_mode[slot].flag[0] == 0xAA && user_mode[slot].flag[1] == 0xAA ? 1 : 0;
}
