#ifndef QEL_SCALER_C331_MANAGE_H
#define QEL_SCALER_C331_MANAGE_H

#include <atomic>
#include <functional>
#include <mutex>

#include "core/manager_thread.h"
#include "core/param_layout.h"
#include "core/types.h"
#include "scaler/c331_drv.h"
#include "scaler/omenu.h"

class QelRamPara;

// The scaler manager: brings the chip up and turns every change of the
// parameter image into register writes.
class c331_manage
{
public:
    static c331_manage *p_c331_manage;
    static c331_manage *pInstance();     // creates; the thread starts with start()
    static void destroyInstance();       // tests

    // The one lock between writers of the parameter image and this manager.
    // Both it and the update byte belong to the image (QelRamPara::image_mutex(),
    // update_byte()); this manager knows them by these names.
    static std::mutex &para_mutex;
    // Set to a refresh code (1 from the screens) under para_mutex; the
    // writer then calls wake().
    static std::atomic<u8> &para_update;

    // bit 0 32-dot Chinese, bit 1 32-dot English, bit 2 64-dot Chinese, bit 3 64-dot English
    std::atomic<u8> font_state{0};

    c331_drv *chip() { return &m_chip; }

    // Reads the font headers from the scaler's serial flash into font_state.
    void read_fonts();

    void pass();
    void start();
    void stop();
    // Ends the manager thread's sleep: there is work. Any thread; nothing
    // happens while the manager or its thread does not exist.
    static void wake();
    static const ManagerThread &thread();

    // Reads the on-screen-display menu file, outside para_mutex; tests may
    // replace it.
    static std::function<void(OSD_LIST *)> read_osd_menu;

private:
    c331_manage();
    ~c331_manage();

    int next_sleep_ms() const;
    void chip_init(QelRamPara *ram);
    void prepare_osd(QelRamPara *ram);
    void apply(QelRamPara *ram, bool all);
    bool apply_panel(const u8 *img, bool all);
    void apply_crops(const u8 *img, bool all);
    void apply_windows(const u8 *img, bool all);
    void apply_picture(const u8 *img, bool all);
    void apply_output_settings(const u8 *img, bool all);
    bool apply_osd(const u8 *img, bool all);
    void raise_edid_rewrites(const u8 *img);

    c331_drv m_chip;
    u8 m_applied[Img::SIZE];     // the image as last programmed into the chip
    bool m_up = false;           // chip brought up from the image
    bool m_led_pending = false;  // panel change waiting for the LED set-up
    bool m_led_handed_over = false;   // g_set_led_para := 2, FPGA manager not woken yet
    OSD_LIST m_osd_list;         // the menu file, read before the lock
    bool m_osd_ready = false;    // m_osd_list read for the display coming on
    bool m_osd_pending = false;  // the display came on after the file was read
};

#endif
