#include "ui/shell/syncupdate.h"

#include <cstring>

#include "core/global.h"
#include "core/logmsg.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/input/inputchoose.h"
#include "ui/output/outputset.h"
#include "ui/picture/imagelayout.h"
#include "ui/picture/imagequality.h"
#include "ui/picture/test_chart.h"
#include "ui/shell/tip.h"

SyncUpdate *SyncUpdate::p_syncupdate = nullptr;

namespace {
constexpr int kCodeUserModes = 2;
constexpr int kCodeUsbIn = 100;
constexpr int kCodeUsbOut = 101;
constexpr int kCodeUsbReady = 102;
constexpr int kCodeUpgradeDone = 104;
}

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
    if (code == kCodeUserModes)
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
    int slot = -1;
    {
        std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
        const u16 request = para->get_u16(Img::SAVE_MODE_REQUEST);
        if (request == 0)
            return;
        para->set_u16(Img::SAVE_MODE_REQUEST, 0);
        if (request > 16) {
            writeLogMsg(LOG_NOTICE, QStringLiteral("user-mode save request %1 ignored").arg(request));
            return;
        }
        slot = request - 1;
        USER_MODE_PARA &mode = para->user_mode[slot];
        mode.flag[0] = mode.flag[1] = 0xAA;
        std::memcpy(mode.para, para->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
        std::memset(mode.para + Img::USER_PAYLOAD_SIZE, 0, sizeof mode.para - Img::USER_PAYLOAD_SIZE);
    }
    if (!para->save_user_mode(slot)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("user mode %1 not saved").arg(slot + 1));
        para->load_user_mode(slot);   // the slot stays as its file has it
        return;
    }
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    para->set_u16(Img::CURRENT_MODE, u16(slot + 1));
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

// The setting screens' syncUpdate: with the code on pages 2, 3, 7, 10, 12
// and 24, without it on 4, 6, 8, 9, 11 and 16. Each screen adds its case:
// `if (g_<screen>) g_<screen>->syncUpdate(...);`
void SyncUpdate::refresh_screen(u8 page, int code)
{
    switch (page) {
    case PAGE_INPUT_CHOICE:
        if (g_inputchoose)
            g_inputchoose->syncUpdate(code);
        break;
    case PAGE_OUTPUT:
        if (g_outputset)
            g_outputset->syncUpdate();
        break;
    case PAGE_LAYOUT:
        if (g_imagelayout)
            g_imagelayout->syncUpdate();
        break;
    case PAGE_PICTURE:
        if (g_imagequality)
            g_imagequality->syncUpdate();
        break;
    case PAGE_TEST_PATTERN:
        if (g_test_chart)
            g_test_chart->syncUpdate();
        break;
    case PAGE_ADVANCED:
        ScreenRegistry::refresh(PAGE_ADVANCED, code);
        break;
    case PAGE_STATUS:           // g_machinestate->syncUpdate(code)
    case PAGE_INPUT_CROP:       // g_inputcut->syncUpdate(code)
    case PAGE_NETWORK:          // g_linkoption->syncUpdate(code)
    case PAGE_SMART_MAPPING:    // g_smartmapping->syncUpdate(code)
        break;
    case PAGE_USER_MODE:        // g_custommode->syncUpdate()
    case PAGE_EDID:             // g_edidset->syncUpdate()
        break;
    default:
        break;
    }
}

// The settings part goes to "/data/ram_device_info" when it differs from the
// shadow; then the shadow follows the image. A failed save leaves the
// settings part of the shadow as it was, so the next refresh tries again.
void SyncUpdate::save_and_shadow(QelRamPara *para)
{
    // The image is copied under the lock; the file is written outside it, so
    // the scaler thread never waits for the disk. Only this thread writes the
    // shadow.
    u8 image[Img::SIZE];
    {
        std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
        std::memcpy(image, para->ram_para, Img::SIZE);
    }
    const bool changed =
        std::memcmp(image + Img::SETTINGS_START, para->ram_para_shadow + Img::SETTINGS_START, Img::SETTINGS_SIZE) != 0;
    if (changed && !QelRamPara::save_device_info(image)) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("parameter file not saved"));
        std::memcpy(para->ram_para_shadow, image, Img::SETTINGS_START);
        return;
    }
    std::memcpy(para->ram_para_shadow, image, Img::SIZE);
}

void SyncUpdate::show_tips(int code)
{
    TIP *tip = g_tip;
    if (!tip)
        return;
    switch (g_page_focus) {
    case PAGE_USER_MODE:
    case PAGE_OUTPUT:
    case PAGE_LAYOUT:
        tip->tip_create(1);
        break;
    case PAGE_NETWORK:
    case PAGE_SMART_MAPPING:
        if (code >= kCodeUsbIn && code <= kCodeUsbReady)
            tip->tip_create(3 + code - kCodeUsbIn);
        else if (g_page_focus == PAGE_NETWORK && code != kCodeUpgradeDone)
            tip->tip_create(1);
        break;
    default:
        break;
    }
}
