#include "ui/shell/syncupdate.h"

#include <cstring>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"

SyncUpdate *SyncUpdate::p_syncupdate = nullptr;

SyncUpdate::SyncUpdate() = default;

SyncUpdate *SyncUpdate::pInstance()
{
    if (!p_syncupdate)
        p_syncupdate = new SyncUpdate();
    return p_syncupdate;
}

void SyncUpdate::destroyInstance()
{
    delete p_syncupdate;
    p_syncupdate = nullptr;
}

void SyncUpdate::para_sync(int code)
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    if (!para)
        return;
    if (code == REFRESH_USER_MODES)
        reload_user_modes(para);
    serve_mode_save(para);
    refresh_page(code);
    save_and_shadow(para);
    show_tips(code);
}

void SyncUpdate::reload_user_modes(QelRamPara *para)
{
    for (int s = 0; s < 16; ++s)
        para->load_user_mode(s);
}

// Image 868 = slot + 1 asks for the settings (image 896..4095) to be kept in
// that slot: marker AA AA, payload, the slot's file; then 866 := slot + 1.
void SyncUpdate::serve_mode_save(QelRamPara *para)
{
    // taken and cleared in one locked step; serving it raises no update
    u16 request = 0;
    para->edit([&](u8 *img) {
        request = Img::rd16(img, Img::SAVE_MODE_REQUEST);
        Img::wr16(img, Img::SAVE_MODE_REQUEST, 0);
        if (request >= 1 && request <= 16) {
            USER_MODE_PARA &mode = para->user_mode[request - 1];
            mode.flag[0] = mode.flag[1] = 0xAA;
            std::memcpy(mode.para, img + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
            std::memset(mode.para + Img::USER_PAYLOAD_SIZE, 0, sizeof mode.para - Img::USER_PAYLOAD_SIZE);
        }
        return false;
    });
    if (request == 0)
        return;
    if (request > 16) {
        writeLogMsg(LOG_NOTICE, QStringLiteral("user-mode save request %1 ignored").arg(request));
        return;
    }
    const int slot = request - 1;
    if (!para->save_user_mode(slot)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("user mode %1 not saved").arg(slot + 1));
        para->load_user_mode(slot);   // the slot stays as its file has it
        return;
    }
    para->edit([slot](u8 *img) {
        Img::wr16(img, Img::CURRENT_MODE, u16(slot + 1));
        return false;
    });
}

// The visible screen repaints from the image.
void SyncUpdate::refresh_page(int code)
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    switch (g_page_focus) {
    case PAGE_HOME:
        if (g_lockwindow) {
            if (para->QelLanguageChanged())
                g_lockwindow->language_changed();
            g_lockwindow->signal_update();
        }
        break;
    case PAGE_MAIN:
        if (g_mainwindow) {
            if (para->QelLanguageChanged())
                g_mainwindow->language_changed();
            if (g_mainwindow->mode_window_open())
                g_mainwindow->mode_window_update();
        }
        break;
    case PAGE_SETTINGS:
        if (g_option && para->QelLanguageChanged())
            g_option->language_changed();
        break;
    default:
        refresh_screen(g_page_focus, code);
        break;
    }
}

// The setting screen of the page, when one is registered and open: its
// syncUpdate, with the code where it takes one.
void SyncUpdate::refresh_screen(u8 page, int code) { ScreenRegistry::refresh(page, code); }

// The settings part goes to "/data/ram_device_info" when it differs from the
// shadow; then the shadow follows the image. A failed save leaves the
// settings part of the shadow as it was, so the next refresh tries again.
void SyncUpdate::save_and_shadow(QelRamPara *para)
{
    // The image is copied under the lock; the file is written outside it, so
    // the scaler thread never waits for the disk. Only this thread writes the
    // shadow.
    u8 image[Img::SIZE];
    para->read([&image](const u8 *img) { std::memcpy(image, img, Img::SIZE); });
    const bool changed =
        std::memcmp(image + Img::SETTINGS_START, para->ram_para_shadow + Img::SETTINGS_START, Img::SETTINGS_SIZE) != 0;
    if (changed && !QelRamPara::save_device_info(image)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("parameter file not saved"));
        std::memcpy(para->ram_para_shadow, image, Img::SETTINGS_START);
        return;
    }
    std::memcpy(para->ram_para_shadow, image, Img::SIZE);
}

// The tip the page's screen asks for after this code.
void SyncUpdate::show_tips(int code)
{
    TIP *tip = g_tip;
    if (!tip)
        return;
    if (const int shown = ScreenRegistry::tip(g_page_focus, code))
        tip->tip_create(shown);
}
