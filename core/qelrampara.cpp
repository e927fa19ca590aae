#include "core/qelrampara.h"

#include <QFile>
#include <cstring>
#include <utility>

#include "core/global.h"
#include "core/json_guard.h"
#include "core/logmsg.h"
#include "core/utils.h"

QelRamPara *QelRamPara::p_qelrampara_config = nullptr;

namespace {

constexpr int kFileBytes = 4096;                                  // marker + settings + zeros
const char *const kDeviceInfo = "/data/ram_device_info";

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
        for (int i = 0; i < 6; ++i)
            EdidEdit(img, i).set(i < 4 ? 1920 : 3840, i < 4 ? 1080 : 2160, 60);
        const std::pair<int, u16> words[] = {
            {Img::SPLICE_MODE, 4}, {Img::CANVAS_W, 1920},  {Img::CANVAS_H, 1080},  {Img::OUT1_W, 1920},
            {Img::OUT1_H, 1080},   {Img::OUT2_X, 0},       {Img::OUT2_Y, 0},       {Img::OUT2_W, 1920},
            {Img::OUT2_H, 1080},   {Img::BRIGHTNESS, 100}, {Img::CONTRAST, 50},    {Img::SHARPNESS, 10},
            {Img::SATURATION, 50}, {Img::COLOR_TEMP, 2},   {Img::GAIN_R, 64},      {Img::GAIN_G, 64},
            {Img::GAIN_B, 64},
        };
        for (const auto &[offset, value] : words)
            Img::wr16(img, offset, value);
        for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
            WindowEdit win(img, w);
            win.setOn(w == 0);
            win.setInput(2);   // HDMI1
            win.setX(0);
            win.setY(0);
            win.setWidth(w == 0 ? 1920 : 960);
            win.setHeight(w == 0 ? 1080 : 540);
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
        wake_scaler();   // the scaler comes up from the image
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
    return Img::rd16(ram_para, offset);
}

void QelRamPara::set_u16(int offset, u16 value)
{
    if (offset < 0 || offset > Img::SIZE - 2)
        return;
    Img::wr16(ram_para, offset, value);
}

namespace {
std::mutex g_image_mutex;
std::atomic<u8> g_update_byte{0};
std::atomic<void (*)()> g_scaler_wake{nullptr};
}

std::mutex &QelRamPara::image_mutex() { return g_image_mutex; }

std::atomic<u8> &QelRamPara::update_byte() { return g_update_byte; }

void QelRamPara::raise_update(u8 code) { g_update_byte = code; }

void QelRamPara::wake_scaler()
{
    if (void (*wake)() = g_scaler_wake.load())
        wake();
}

void QelRamPara::set_scaler_wake(void (*wake)()) { g_scaler_wake = wake; }

void QelRamPara::edit_u16(int offset, u16 value, u8 code)
{
    edit([&](u8 *) { set_u16(offset, value); }, code);
}

u16 QelRamPara::shadow_u16(int offset) const
{
    if (offset < 0 || offset > Img::SIZE - 2)
        return 0;
    return Img::rd16(ram_para_shadow, offset);
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
        std::lock_guard<std::mutex> lock(image_mutex());   // a correction, no update
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
    Utils::ReadStatus read;
    const QByteArray data = Utils::readFile(QString::fromLatin1(kDeviceInfo), kFileBytes, &read);
    if (read == Utils::ReadStatus::Missing) {
        writeLogMsg(LOG_NOTICE, QStringLiteral("no parameter file: factory settings"));
        factory_defaults();
    } else if (read != Utils::ReadStatus::Read) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("parameter file %1: factory settings")
                                     .arg(Utils::readStatusText(read, kFileBytes)));
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
    Utils::ReadStatus read;
    const QByteArray data = Utils::readFile(userModePath(slot), sizeof(USER_MODE_PARA), &read);
    if (read == Utils::ReadStatus::Read && data.size() == int(sizeof(USER_MODE_PARA)) && u8(data[0]) == 0xAA
        && u8(data[1]) == 0xAA) {
        std::memcpy(&m, data.constData(), sizeof m);
        return 1;
    }
    if (read != Utils::ReadStatus::Missing)
        writeLogMsg(LOG_FAILURE, QStringLiteral("user mode %1: %2, slot empty")
                                     .arg(slot + 1)
                                     .arg(read == Utils::ReadStatus::Read ? QStringLiteral("wrong size or marker")
                                                                          : Utils::readStatusText(read, sizeof m)));
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
    if (Img::rd16(m.para, Img::payload(Img::OSD_ON))) {
        Utils::ReadStatus read;
        const QByteArray menu = Utils::readFile(QStringLiteral("/data/configs/omenu.json"), JsonGuard::MAX_BYTES, &read);
        if (read == Utils::ReadStatus::Read)
            Utils::writeFileAtomic(userModeOsdPath(slot), menu);
    }
    return true;
}

int QelRamPara::mode_file_deal(int slot, int op)
{
    if (slot < 0 || slot > 15)
        return 0;
    if (op == 1) {
        const bool osdOn = QelUserModeSaved(slot) && Img::rd16(user_mode[slot].para, Img::payload(Img::OSD_ON));
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
    const int base = layout == 1 ? Img::USER_PAYLOAD : 0;
    const WindowView v(buffer, window, base);
    if (isCrop)
        *isCrop = v.isCrop() ? 1 : 0;
    if (v.isCrop() && cropIndex)
        *cropIndex = char(v.source());
    return windowSource(buffer, window, base).slot;
}

int QelRamPara::QelGetSourceNum(int slot, int n)
{
    int count = 0;
    for (int k = 0; k < n && k < Img::CROP_COUNT; ++k) {
        const CropView c(ram_para, k);
        if (c.valid() && c.slot() == slot)
            ++count;
    }
    return count;
}

namespace {
// g_cut_source_state from the crop table of img.
void buildCropBitmap(const u8 *img)
{
    std::memset(g_cut_source_state, 0, sizeof g_cut_source_state);
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const CropView c(img, k);
        if (!c.valid())
            continue;
        const int bit = c.slot() * 40 + c.number() - 1;
        g_cut_source_state[bit / 8] |= u8(1 << (bit % 8));
    }
}

// Record index of the slot's crop with the given number, or 40.
int findCrop(const u8 *img, int slot, int number)
{
    if (number < 1)
        return Img::CROP_COUNT;
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const CropView c(img, k);
        if (c.valid() && c.slot() == slot && c.number() == number)
            return k;
    }
    return Img::CROP_COUNT;
}

bool holdsCrop(const u8 *img, int k, int slot, int number)
{
    if (k < 0 || k >= Img::CROP_COUNT)
        return false;
    const CropView c(img, k);
    return c.valid() && c.slot() == slot && c.number() == number;
}

void setRect(u8 *img, int k, const CROP_PARA &crop)
{
    CropEdit(img, k).setRect(u16(crop.x), u16(crop.y), u16(crop.width), u16(crop.height));
}

// Frees record k; a window showing it goes to the crop's whole input.
void deleteRecord(u8 *img, int k)
{
    const u8 slot = u8(CropView(img, k).slot());
    CropEdit(img, k).setCropWord(0);
    for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
        WindowEdit win(img, w);
        if (win.isCrop() && win.source() == k)
            win.setInput(slot);
    }
}
}

void QelRamPara::QelCropSourceInit() { buildCropBitmap(ram_para); }

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

void QelRamPara::QelGetCropPara(int slot, int n, CROP_PARA *out, int *index)
{
    if (out)
        *out = CROP_PARA{0, 0, 0, 0, 0};
    const int k = findCrop(ram_para, slot, QelGetCropID(slot, n));
    if (index)
        *index = k;
    if (k >= Img::CROP_COUNT || !out)
        return;
    const CropView c(ram_para, k);
    out->crop_word = c.cropWord();
    out->x = c.x();
    out->y = c.y();
    out->width = c.width();
    out->height = c.height();
}

void QelRamPara::QelSetCropPara(char slot, char n, CROP_PARA *crop)
{
    if (!crop)
        return;
    edit([&](u8 *img) {
        buildCropBitmap(img);
        const int k = findCrop(img, slot, QelGetCropID(slot, n));
        if (k >= Img::CROP_COUNT)
            return false;
        setRect(img, k, *crop);
        return true;
    });
}

bool QelRamPara::QelAddNewCrop(int slot, CROP_PARA *crop)
{
    if (!crop || slot < 0 || slot > 5)
        return false;
    const bool added = edit([&](u8 *img) {
        buildCropBitmap(img);
        const int number = QelAddCropID(slot);
        if (number == 0)
            return false;
        for (int k = 0; k < Img::CROP_COUNT; ++k) {
            if (CropView(img, k).inUse())
                continue;
            CropEdit(img, k).setCropWord(Img::cropWord(slot, number));
            setRect(img, k, *crop);
            buildCropBitmap(img);
            return true;
        }
        return false;
    });
    if (!added)
        writeLogMsg(LOG_NOTICE, QStringLiteral("input %1: no crop added, numbers or records used up").arg(slot));
    return added;
}

void QelRamPara::QelDeleteCrop(char slot, char n)
{
    edit([&](u8 *img) {
        buildCropBitmap(img);
        const int k = findCrop(img, slot, QelGetCropID(slot, n));
        if (k >= Img::CROP_COUNT)
            return false;
        deleteRecord(img, k);
        buildCropBitmap(img);
        return true;
    });
}

bool QelRamPara::QelSetCropRecord(int k, int slot, int number, const CROP_PARA &crop)
{
    return edit([&](u8 *img) {
        if (!holdsCrop(img, k, slot, number))
            return false;
        setRect(img, k, crop);
        return true;
    });
}

bool QelRamPara::QelDeleteCropRecord(int k, int slot, int number)
{
    return edit([&](u8 *img) {
        if (!holdsCrop(img, k, slot, number))
            return false;
        deleteRecord(img, k);
        buildCropBitmap(img);
        return true;
    });
}

void QelRamPara::QelSetImageSource(int n, char slot, char window)
{
    const int w = u8(window);
    if (w >= Img::WINDOW_RECORDS || slot < 0 || slot > 5)
        return;
    const int number = n >= 1 ? QelGetCropID(slot, n) : 0;
    edit([&](u8 *img) {
        WindowEdit win(img, w);
        if (n >= 1) {
            const int k = findCrop(img, slot, number);
            if (k >= Img::CROP_COUNT)
                return false;   // the crop is gone: nothing changes
            win.setCropRecord(u8(k));
        } else {
            win.setInput(u8(slot));
        }
        if (Img::rd16(img, Img::CURRENT_MODE) == shadow_u16(Img::CURRENT_MODE))
            Img::wr16(img, Img::CURRENT_MODE, 0);
        return true;
    });
}

// ------------------------------------------------------ EDID and user modes

void QelRamPara::QelSetEDIDPara(int slot, short width, short height, short rate)
{
    if (slot < 0 || slot > 5)
        return;
    edit([&](u8 *img) { EdidEdit(img, slot).set(u16(width), u16(height), u16(rate)); });
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
