#include "tools/screenshots/tour_device.h"

#include "core/global.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_card.h"
#include "scaler/c331_manage.h"
#include "tools/screenshots/tour_kit.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/syncupdate.h"

namespace tour {

namespace {

const char kSim[] = R"({
  "inputs": [ {"slot": 2, "width": 1920, "height": 1080, "rate": 60},
              {"slot": 4, "width": 3840, "height": 2160, "rate": 30},
              {"slot": 1, "width": 1280, "height": 720, "rate": 60} ],
  "fpgas":  [ {"state": 3, "version": [1, 6, 11, 26]}, {"state": 3, "version": [1, 6, 11, 26]} ],
  "cards":  { "1": 4, "2": 4, "3": 4, "13": 2 },
  "fonts":  15
})";

// LED3 (port 2): its third card lost its parameters; the recovery data of
// screen 1 holds that port's four cards.
constexpr int kRecoveryPort = 2;
constexpr int kRecoveryCards = 4;
constexpr int kLostCard = 2;

QByteArray recovery_data()
{
    QByteArray d("QRCV\x01\x01", 6);
    d.append(char(kRecoveryPort)).append(char(0)).append(char(kRecoveryCards)).append(char(0));
    for (int c = 0; c < kRecoveryCards; ++c)
        d.append(QByteArray(rcv_card::PARA_SIZE, char(0x40 + c)));
    return d;
}

const char kMenu[] = R"({"osdcount":1,"osdlist":[{"x":0,"y":0,"w":1920,"h":96,"effect":2,"speed":4,
  "back_color":"0x00203A","font_color":"0xFFFFFF","startx":16,"starty":8,"fontw":48,"fonth":64,
  "wordspace":2,"verticalspace":0,"texts":"Welcome to the hall"}]})";

// Device files, then the stick's: scan files in both places, upgrade
// packages on the stick.
const char *const kScanFiles[] = {"/data/smartmapping/cabinet_500x500.qlfile",
                                  "/data/smartmapping/cabinet_500x1000.qlfile",
                                  "/data/smartmapping/cabinet_640x480.qlfile",
                                  "/mnt/usb1/stage_left.qlfile",
                                  "/mnt/usb1/stage_right.qlfile",
                                  "/mnt/usb1/wall_p3.9.qlfile"};
const char *const kPackages[] = {"/mnt/usb1/panel_app_2.4.QEL", "/mnt/usb1/panel_app_2.3.QEL",
                                 "/mnt/usb1/fpga_out_1.7.QELZK"};

u32 *const kAgeingCounts[10] = {&factoryage_log_diff3,   &factoryage_log_diff5,   &factoryage_log_diff10,
                                &factoryage_log_diff20,  &factoryage_log_diffmore, &factoryage_log2_diff3,
                                &factoryage_log2_diff5,  &factoryage_log2_diff10, &factoryage_log2_diff20,
                                &factoryage_log2_diffmore};

}

Device::Device()
{
    Utils::writeFileAtomic(QStringLiteral("/sim.json"), QByteArray(kSim));
    Utils::writeFileAtomic(QStringLiteral("/data/rcvrecovery/screen_1"), recovery_data());
    Utils::writeFileAtomic(QStringLiteral("/data/configs/omenu.json"), QByteArray(kMenu));
    for (const char *f : kScanFiles)
        Utils::writeFileAtomic(QString::fromLatin1(f), QByteArray("scan\n"));
    for (const char *f : kPackages)
        Utils::writeFileAtomic(QString::fromLatin1(f), QByteArray("package\n"));

    m_fpga = !fpga_manage::p_fpga_manage;
    fpga_manage *fpga = fpga_manage::pInstance();
    fpga->fpga(0)->set_needs_recovery(kRecoveryPort, kLostCard, true);
    m_scaler = !c331_manage::p_c331_manage;
    c331_manage::pInstance();
}

Device::~Device()
{
    if (m_fpga) {
        fpga_manage::destroyInstance();
        // a manager made later may get the same address
        JobRelay::instance()->attach(nullptr, 0);
    }
    if (m_scaler)
        c331_manage::destroyInstance();
}

void Device::fill(MainWindow *main)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p || !main)
        return;
    p->edit([](u8 *img) {
        InputTiming<u8>(img, 2).set(1920, 1080, 60);
        InputTiming<u8>(img, 4).set(3840, 2160, 30);
        InputTiming<u8>(img, 1).set(1280, 720, 60);
        const u16 halves[2] = {0, 960};
        for (int k = 0; k < 2; ++k) {
            CropEdit crop(img, k);
            crop.setCropWord(Img::cropWord(2, k + 1));
            crop.setRect(halves[k], 0, 960, 1080);
        }
        WindowEdit crop(img, 1);
        crop.setOn(true);
        crop.setCropRecord(0);
        crop.setX(960);
        crop.setWidth(960);
        crop.setHeight(540);
        WindowEdit dvi(img, 2);
        dvi.setOn(true);
        dvi.setInput(1);
        dvi.setY(540);
        dvi.setWidth(960);
        dvi.setHeight(540);
        Img::wr16(img, Img::OSD_ON, 1);
    });
    // the settings kept in modes 1 and 3 as the operator keeps them
    SyncUpdate *shell = SyncUpdate::pInstance();
    shell->para_sync(REFRESH_SAVE);
    for (int slot : {0, 2}) {
        click(main, QStringLiteral("Button_mode"));
        click(main, QStringLiteral("mode_slot_%1").arg(slot));
        click(main, QStringLiteral("Button_mode_save"));
        shell->para_sync(REFRESH_SAVE);
    }
    click(main, QStringLiteral("Button_mode_close"));
}

AgeingLog::AgeingLog() : m_lines(factoryage_log)
{
    for (int i = 0; i < 10; ++i)
        m_counts[i] = *kAgeingCounts[i];
    factoryage_log.clear();
    // two days of samples; DE of output 1 lost now and then
    for (int i = 0; i < 40; ++i)
        factoryage_log << QString::asprintf("03-%02d %02d:%02d %d %d %d %d 31 %d", 14 + i / 24, i % 24, (7 * i) % 60,
                                            i % 3, i % 11 == 4 ? 27 : 31, 120 + i, 118 + i, i % 2);
    const u32 counts[10] = {36, 3, 1, 0, 0, 38, 2, 0, 0, 0};
    for (int i = 0; i < 10; ++i)
        *kAgeingCounts[i] = counts[i];
}

AgeingLog::~AgeingLog()
{
    factoryage_log = m_lines;
    for (int i = 0; i < 10; ++i)
        *kAgeingCounts[i] = m_counts[i];
}

}
