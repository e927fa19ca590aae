// Factory resets of the advanced settings screen.
#include <QFile>
#include <QPushButton>
#include <cstring>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "ui/advanced/advancedoption.h"
#include "ui/advanced/advancedoption_common.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"
#include "video_io/tavixsource.h"
#include "ui_advancedoption.h"

using namespace advanced;

namespace {
// a reset button not chosen; the chosen one wears FRAMED_SELECTED_STYLE
const char *const kResetPlain = "background-color:#10101C;color:#FFFFFF;border:1px solid rgb(255, 255, 255);";

// image 896..1375: the inputs' EDID records among other input settings
constexpr int kInputBlock = Img::USER_PAYLOAD;
constexpr int kInputBlockEnd = 1376;
}

void AdvancedOption::on_Button_reset1_clicked() { factory_reset(KEEP_IP); }
void AdvancedOption::on_Button_reset2_clicked() { factory_reset(KEEP_IP_EDID); }
void AdvancedOption::on_Button_reset3_clicked() { factory_reset(RESET_ALL); }

// The network settings back to the defaults, applied to eth0.
void AdvancedOption::reset_network()
{
    if (g_str_ip.get() == QLatin1String(GlobalStart::IP))
        return;
    ConfigEngine *config = ConfigEngine::pInstance();
    // the three together, in one replace of the file
    config->write_config_variants({{ConfigItem::IPAddress, QString::fromLatin1(GlobalStart::IP)},
                                   {ConfigItem::SubNetMask, QString::fromLatin1(GlobalStart::MASK)},
                                   {ConfigItem::GateWay, QString::fromLatin1(GlobalStart::GATEWAY)}});
    Utils::initIPAddress();
}

// The saved user modes go with their files, so they do not come back at the
// next start; each slot is read again from its (now missing) file.
void AdvancedOption::remove_user_modes()
{
    QelRamPara *p = para();
    for (int slot = 0; slot < 16; ++slot) {
        p->mode_file_deal(slot, 1);
        QFile::remove(Utils::devicePath(QelRamPara::userModeOsdPath(slot)));
    }
}

void AdvancedOption::factory_reset(Reset which)
{
    QelRamPara *p = para();
    if (!p)
        return;
    if (TIP *tip = g_tip)
        tip->tip_create(1);
    if (which == RESET_ALL)
        reset_network();
    // files are never touched under the image lock
    remove_user_modes();

    const u8 wifi_before = p->ram_para[Img::WIFI_OFF];
    p->edit([&](u8 *img) {
        // factory table byte 2 + i is image byte 768 + i
        const u8 *factory = QelRamPara::default_para_ramlist() + 2;
        const auto restore = [img, factory](int from, int to) {
            std::memcpy(img + from, factory + (from - Img::SETTINGS_START), size_t(to - from));
        };
        if (which == KEEP_IP_EDID) {
            restore(Img::SETTINGS_START, kInputBlock);
            restore(kInputBlockEnd, Img::SIZE);
        } else {
            restore(Img::SETTINGS_START, Img::SIZE);
        }
        set_fade_pairs(img);
        const u8 *shadow = p->ram_para_shadow;
        bool geometry = false;
        for (int offset : {Img::SPLICE_MODE, Img::CANVAS_W, Img::CANVAS_H})
            geometry = geometry || Img::rd16(img, offset) != Img::rd16(shadow, offset);
        if (geometry) {
            // raised before the scaler sees the update byte, so it waits for the set-up
            DeviceRequests::request_led_setup();
            Img::wr16(img, Img::AUDIO_WINDOW, 0);
        }
        for (USER_MODE_PARA &mode : p->user_mode)
            mode.flag[0] = mode.flag[1] = 0xFF;
    });

    if (which != KEEP_IP_EDID) {
        // the written marks go first, so each EDID is rebuilt from the restored timing
        if (tavixsource *source = tavixsource::p_tavix_source)
            for (int slot = 0; slot < 6; ++slot)
                source->request_edid_rewrite(slot);
    }
    wifi_follow(wifi_before, p->ram_para[Img::WIFI_OFF]);

    QPushButton *chosen = which == KEEP_IP ? ui->Button_reset1 : which == KEEP_IP_EDID ? ui->Button_reset2 : ui->Button_reset3;
    move_selection(reset_selected, chosen, FRAMED_SELECTED_STYLE, kResetPlain);
}
