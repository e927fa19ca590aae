#ifndef QEL_CORE_QELRAMPARA_H
#define QEL_CORE_QELRAMPARA_H

#include <QObject>
#include <QString>
#include <atomic>
#include <mutex>
#include <type_traits>
#include <utility>

#include "core/param_layout.h"
#include "core/param_view.h"
#include "core/refresh_codes.h"
#include "core/types.h"

// One user-mode slot: marker AA AA (saved) or FF FF (empty), then a copy of
// image 896..4095 at payload offset p = image offset - 896 (3200 bytes used).
struct USER_MODE_PARA
{
    u8 flag[2];
    u8 para[4096];
};
static_assert(sizeof(USER_MODE_PARA) == 4098, "user-mode record is 4098 bytes");

struct CROP_PARA
{
    i32 crop_word;
    i32 x;
    i32 y;
    i32 width;
    i32 height;
};

// The parameter store: image, shadow image, user-mode slots and their files.
class QelRamPara : public QObject
{
    Q_OBJECT
public:
    static QelRamPara *p_qelrampara_config;
    static QelRamPara *pInstance();     // creates on first use and loads the files
    static void destroyInstance();      // tests

    u8 ram_para[Img::SIZE];             // the image
    u8 ram_para_shadow[Img::SIZE];      // the image as last saved
    USER_MODE_PARA user_mode[16];
    u8 status_block[256];               // controller-local registers, chip-present bits

    // 4096-byte factory table in the saved-file layout: marker AA AA, then
    // byte 2 + i = factory value of image byte 768 + i.
    static const u8 *default_para_ramlist();

    u16 get_u16(int offset) const;          // image, little-endian
    void set_u16(int offset, u16 value);    // image; caller holds para_mutex
    u16 shadow_u16(int offset) const;

    // The one way for a screen to change the image: locks para_mutex, runs
    // change(ram_para) and raises the scaler's update byte with `code`, then
    // wakes the scaler once the lock is released. A change that returns bool
    // raises it only when it returns true. Returns whether the update byte
    // was raised.
    template <class Fn> bool edit(Fn &&change, u8 code = REFRESH_SAVE)
    {
        {
            std::lock_guard<std::mutex> lock(image_mutex());
            if constexpr (std::is_same_v<decltype(change(ram_para)), bool>) {
                if (!change(ram_para))
                    return false;
            } else {
                change(ram_para);
            }
            raise_update(code);
        }
        wake_scaler();
        return true;
    }
    // A look at the image under the lock, for a reader beside the scaler
    // thread's writers: returns what look(ram_para) returns.
    template <class Fn> auto read(Fn &&look) const
    {
        std::lock_guard<std::mutex> lock(image_mutex());
        return look(static_cast<const u8 *>(ram_para));
    }
    // The live timing of input slot 0..5 (none for any other), copied under
    // the lock: the input manager rewrites the records from its thread.
    InputSignal input_signal(int slot) const
    {
        if (slot < 0 || slot > 5)
            return InputSignal();
        return read([slot](const u8 *img) { return InputTimingView(img, slot).value(); });
    }
    // One 16-bit field, written and raised under the lock.
    void edit_u16(int offset, u16 value, u8 code = REFRESH_SAVE);
    // The image's one lock and the scaler's update byte (the scaler manager
    // knows them as c331_manage::para_mutex and para_update).
    static std::mutex &image_mutex();
    static std::atomic<u8> &update_byte();
    static void raise_update(u8 code);  // caller holds image_mutex(); then wake_scaler()
    static void wake_scaler();          // after the lock is released
    // What wake_scaler() calls; the scaler manager sets it when it is made.
    static void set_scaler_wake(void (*wake)());

    // ---- refresh ----
    int test_signal(int code);          // emits sig_update_para under _test_signal_mutex; 1
    int ram_para_save();                // test_signal(1)
    int QelLanguageChanged();           // 1 when image 768 differs from the shadow

    // ---- files ----
    void load_device_info();            // "/data/ram_device_info" or the factory table
    bool save_device_info();            // marker AA AA + image 768..4095, atomically
    static bool save_device_info(const u8 *image);   // the same from a copy of the image
    void factory_defaults();            // image 768..4095 := factory table (no save)
    int load_user_mode(int slot);       // 1 when a valid file was loaded; else slot empty
    bool save_user_mode(int slot);      // writes user_mode[slot] (and its OSD copy when on)
    int mode_file_deal(int slot, int op);
    static QString userModePath(int slot);     // "/data/modes/custom_mode<slot+1>"
    static QString userModeOsdPath(int slot);  // "/data/modes/MO<hh>.json"

    // ---- sources and crops ----
    int QelGetImageSource(u8 *buffer, u8 window, short *isCrop, char *cropIndex, u8 layout);
    int QelGetSourceNum(int slot, int n);
    void QelCropSourceInit();
    int QelGetCropID(int slot, int n);
    int QelAddCropID(int slot);
    // The n-th crop of the slot: out zeroed first; index 40 when there is none.
    void QelGetCropPara(int slot, int n, CROP_PARA *out, int *index);
    // The crop operations rebuild the crop bitmap from the image they change,
    // under the lock, before and after they act.
    void QelSetCropPara(char slot, char n, CROP_PARA *crop);
    bool QelAddNewCrop(int slot, CROP_PARA *crop);   // false: no free number or record
    void QelDeleteCrop(char slot, char n);
    // The same on crop record k, only while it still holds crop `number` of
    // `slot`; false (nothing written) otherwise.
    bool QelSetCropRecord(int k, int slot, int number, const CROP_PARA &crop);
    bool QelDeleteCropRecord(int k, int slot, int number);
    void QelSetImageSource(int n, char slot, char window);

    // ---- EDID and user modes ----
    void QelSetEDIDPara(int slot, short width, short height, short rate);
    int QelGetCurrentModeIndex();
    int QelUserModeSaved(int slot);

signals:
    void sig_update_para(int code);

private:
    QelRamPara();
};

#endif
