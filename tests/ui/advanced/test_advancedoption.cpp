#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QPointer>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QStackedWidget>

#include "core/config_engine.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_card.h"
#include "led_output/rcv_recovery_file.h"
#include "remote/r58_wifi_config.h"
#include "tests/ui/shell/shell_fixture.h"
#include "tests/video_io/edid_decode.h"
#include "ui/advanced/advancedoption.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screen_registry.h"
#include "video_io/it66121_sys.h"
#include "video_io/tavixsource.h"

namespace {

// Both FPGAs running; LED1 two good cards, LED3 four cards of which the third
// lost its parameters, LED14 a card that never answers, LED15 one that
// answers too late.
const char *kWall = R"({"fpgas":[{"state":3,"version":[3,17,5,24]},{"state":3,"version":[3,17,5,24]}],
                        "cards":{"1":2,"3":4,"14":1,"15":1},"card_reply":{"14":"never","15":"late"},"fonts":5})";

QByteArray recoveryFile(QList<QPair<u8, int>> sections, u8 seed)
{
    QByteArray d("QRCV\x01", 5);
    d.append(char(sections.size()));
    for (const auto &[port, cards] : sections) {
        d.append(char(port)).append(char(0)).append(char(cards & 0xFF)).append(char(cards >> 8));
        for (int c = 0; c < cards; ++c)
            d.append(QByteArray(rcv_card::PARA_SIZE, char(seed + c)));
    }
    return d;
}

// The advanced settings screen in the shell, the simulated device behind it.
struct Advanced : Shell
{
    AdvancedOption *s = nullptr;
    QelRamPara *para = QelRamPara::p_qelrampara_config;

    explicit Advanced(const char *sim = kWall)
    {
        root.writeSim(sim);
        register_screens();
        QObject::connect(para, &QelRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                         Qt::QueuedConnection);
        settle();
    }
    ~Advanced()
    {
        delete g_advancedoption;
        for (auto destroy : {&fpga_manage::destroyInstance, &tavixsource::destroyInstance,
                             &R58_WIFI_CONFIG::destroyInstance, &c331_manage::destroyInstance,
                             &ConfigEngine::destroyInstance})
            destroy();
        JobRelay::instance()->attach(nullptr, 0);   // a new manager may reuse the address
    }
    void settle() { memcpy(para->ram_para_shadow, para->ram_para, Img::SIZE); }
    AdvancedOption *open()
    {
        s = g_advancedoption = new AdvancedOption;
        g_page_focus = PAGE_ADVANCED;
        s->show();
        return s;
    }
    // What was handed to the GUI thread arrives: results, refreshes, deletions.
    void deliver()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The scaler applies the image and the refresh follows.
    C331_STATE applied()
    {
        c331_manage::pInstance()->pass();
        deliver();
        return c331_manage::pInstance()->chip()->state();
    }
    int img(int offset) const { return para->get_u16(offset); }
    int byte(int offset) const { return para->ram_para[offset]; }
    int page() const { return child<QStackedWidget>(s, "stackedWidget")->currentIndex(); }
    QString style(const char *name) const { return child(s, name)->styleSheet(); }
    QString text(const char *name) const
    {
        if (auto *b = child<QPushButton>(s, name))
            return b->text();
        return labelText(s, name);
    }
    // The receiving-card list as drawn: its rows, or the empty text.
    QString list() const
    {
        QFrame *frame = child<QFrame>(s, "frame_file");
        if (!frame)
            return QStringLiteral("<no list>");
        QStringList rows;
        for (int k = 0; k < 5; ++k)
            if (QLabel *l = child<QLabel>(frame, QStringLiteral("row_label_%1").arg(k)))
                rows << l->text();
        return rows.isEmpty() ? labelText(frame, "empty_label_0") : rows.join(QLatin1Char('|'));
    }
    // The FPGA manager runs the posted job to its end.
    void runJob()
    {
        fpga_manage *m = fpga_manage::p_fpga_manage;
        for (int i = 0; i < 20000 && g_send_para.job() != 0; ++i) {
            m->pass();
            TestEnv::advanceTicks(10);
            deliver();
        }
        deliver();
    }
    // Recovery files under "/data/rcvrecovery" and the wall built from the sim.
    fpga_manage *wall()
    {
        root.write("/data/rcvrecovery/screen_a", recoveryFile({{0, 2}, {13, 1}, {14, 1}, {2, 4}}, 0x40));
        fpga_manage *m = fpga_manage::pInstance();
        m->fpga(0)->set_needs_recovery(2, 2, true);
        m->pass();
        return m;
    }
    // Types on the keypad that the ageing button opens; false when it did not open.
    bool ageCode(const QString &digits)
    {
        bool opened = false;
        onModal([&](QWidget *pad) {
            opened = pad == g_numberkeyboard;
            if (opened)
                typeOnKeypad(digits);
            else if (pad)
                pad->hide();
        });
        click(s, "Button_factory_age");
        QCoreApplication::processEvents();   // the timer runs even when no keypad opened
        return opened;
    }
};

}

class TestAdvancedOption : public QObject
{
    Q_OBJECT

private slots:
    void timeOutsLiveInTheirGlobals()
    {
        Advanced a;
        g_auto_lock_time = 45000;
        a.open();
        QCOMPARE(res(a.s, "Button_5min"), QStringLiteral(":/png/checked.png"));
        QSlider *slider = child<QSlider>(a.s, "horizontalSlider");
        QCOMPARE(slider->value(), 18000);
        const QList<QPair<int, QString>> labels = {{3000, "30s"}, {5999, "59s"},   {6000, "1m"},
                                                   {9000, "1.5m"}, {17999, "3.0m"}, {18000, "3m"}};
        for (const auto &[value, shown] : labels) {
            slider->setValue(value);
            QCOMPARE(a.text("label_time"), shown);
        }
        QCOMPARE(g_back_to_mainwindow_time, 18000);   // moved, not released
        slider->setSliderDown(true);
        slider->setSliderPosition(9000);
        slider->setSliderDown(false);
        QCOMPARE(g_back_to_mainwindow_time, 9000);

        const QList<QPair<const char *, int>> locks = {{"Button_10min", 60000}, {"Button_never", 120000},
                                                       {"Button_5min", 30000}};
        for (const auto &[button, ticks] : locks) {
            click(a.s, button);
            QCOMPARE(g_auto_lock_time, ticks);
            for (const char *b : {"Button_5min", "Button_10min", "Button_never"})
                QCOMPARE(res(a.s, b).endsWith(QLatin1String("/checked.png")), strcmp(b, button) == 0);
        }
        QCOMPARE(int(c331_manage::para_update), 0);   // nothing of it is in the image
    }

    void menuTabsAndFontStatus()
    {
        Advanced a;
        a.open();
        QCOMPARE(a.page(), 0);
        QVERIFY(child(a.s, "Button_timeplan")->isHidden());
        const QList<QPair<const char *, int>> menu = {{"Button_other", 3}, {"Button_factory", 4}, {"Button_LCDshow", 0}};
        const char *previous = "Button_LCDshow";
        for (const auto &[button, page] : menu) {
            click(a.s, button);
            QCOMPARE(a.page(), page);
            QCOMPARE(a.style(button), QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
            if (strcmp(previous, button) != 0)
                QCOMPARE(a.style(previous), QStringLiteral("background-color:#10101C;color:#FFFFFF"));
            previous = button;
        }
        click(a.s, "Button_reset");
        QCOMPARE(child<QStackedWidget>(a.s, "stackedWidget_2")->currentIndex(), 1);
        QCOMPARE(child(a.s, "line_choose")->geometry(), QRect(305, 57, 305, 4));
        QCOMPARE(a.style("Button_reset") + a.style("Button_language"), QStringLiteral("color:#4777FF;color:#FFFFFF;"));

        // no scaler manager: every font absent; then the presence bits 0101
        click(a.s, "Button_factory");
        QCOMPARE(res(a.s, "label_64ENS"), QStringLiteral(":/png/osd_no.bmp"));
        c331_manage::pInstance();
        click(a.s, "Button_factory");
        QStringList shown;
        for (const char *l : {"label_32CNS", "label_32ENS", "label_64CNS", "label_128CNS", "label_256CNS",
                              "label_64ENS", "label_128ENS", "label_256ENS"})
            shown << (res(a.s, l) == QLatin1String(":/png/osd_yes.bmp") ? "yes" : "no");
        QCOMPARE(shown.join(' '), QStringLiteral("yes no yes yes yes no no no"));

        // a receiving-card job's ring makes the menu and Back inert
        QRoundProgressBar::create_qround_bar(a.s);
        click(a.s, "Button_other");
        click(a.s, "Button_back");
        QCOMPARE(a.page(), 4);
        QVERIFY(g_advancedoption);
        g_qround_bar->para_sync(100);
        a.deliver();
        QPointer<AdvancedOption> alive(a.s);
        click(a.s, "Button_back");
        QVERIFY(!alive && !g_advancedoption);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
    }

    void languagesAndTexts()
    {
        Advanced a;
        g_lcd_lang_valid = 0x1001F;
        a.open();
        for (const char *b : {"Button_chinese", "Button_english", "Button_ru", "Button_vn", "Button_tn"})
            QVERIFY(!child(a.s, b)->isHidden());
        QCOMPARE(res(a.s, "Button_english"), QStringLiteral(":/png/checked.png"));

        // the current language does nothing, not even a refresh
        QSignalSpy refreshes(a.para, &QelRamPara::sig_update_para);
        click(a.s, "Button_english");
        QCOMPARE(int(c331_manage::para_update), 0);

        const char *const titles[5] = {"高级设置", "Advanced Settings", "Доп.опции", "Cài đặt nâng cao", "高級設置"};
        const char *const items[5] = {"画面1", "image1", "Канал1", "Hình ảnh1", "畫麵1"};
        const char *const buttons[5] = {"Button_chinese", "Button_english", "Button_ru", "Button_vn", "Button_tn"};
        for (int lang : {2, 0, 3, 4, 1}) {
            click(a.s, buttons[lang]);
            QCOMPARE(int(g_language), lang);
            QCOMPARE(a.byte(Img::LANGUAGE), lang);
            QCOMPARE(a.text("label_title"), QString::fromUtf8(titles[lang]));
            QCOMPARE(res(a.s, buttons[lang]), QStringLiteral(":/png/checked.png"));
            a.applied();   // the refresh refills the audio list in that language
            QCOMPARE(child<QComboBox>(a.s, "ImageVolume")->itemText(0), QString::fromUtf8(items[lang]));
            QCOMPARE(a.text("label_cn") + a.text("label_tn"), QString::fromUtf8("中文繁体中文"));
        }
        QCOMPARE(refreshes.size(), 5);
        QVERIFY(a.root.exists("/data/ram_device_info"));

        // only English allowed: one button, and English texts for language 0
        g_lcd_lang_valid = 0x02;
        g_language = 0;
        a.s->lcd_language_deal();
        a.s->language_changed();
        QCOMPARE(child(a.s, "Button_english")->isHidden(), false);
        QCOMPARE(child(a.s, "Button_chinese")->isHidden(), true);
        QCOMPARE(child(a.s, "label_ru")->isHidden(), true);
        QCOMPARE(a.text("Button_rcv_recovery"), QStringLiteral("Rcv\nself-recovery"));
        QCOMPARE(a.text("Button_factory_age"), QStringLiteral("Aging"));

        // the form's styles as given
        QCOMPARE(a.style("Button_reset1"), QStringLiteral("color: rgb(255, 255, 255);\nborder:1px solid rgb(255, 255, 255);"));
        QCOMPARE(a.style("ImageVolume"),
                 QStringLiteral("QComboBox{\ncolor:rgb(255,255,255);\n}\nQComboBox QAbstractItemView::item { min-height: 40px;}"));
        QCOMPARE(a.style("Button_other"), QStringLiteral("QPushButton::checked{background-color: rgb(71, 119, 255);}\n"
                                                         "QPushButton {color: rgb(255, 255, 255);}"));
    }

    void audioWindow()
    {
        Advanced a;
        for (int w : {0, 2, 5})
            a.para->set_u16(Img::window(w, Img::W_ON), 1);
        a.para->set_u16(Img::AUDIO_WINDOW, 7);
        a.settle();
        a.open();
        QCOMPARE(a.img(Img::AUDIO_WINDOW), 0);   // corrected, without a refresh
        QCOMPARE(int(c331_manage::para_update), 0);
        QComboBox *combo = child<QComboBox>(a.s, "ImageVolume");
        QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}).join(' '),
                 QStringLiteral("image1 image3 image6"));
        QCOMPARE(combo->currentIndex(), 0);

        combo->setCurrentIndex(1);
        click(a.s, "Button_volume_state");
        QCOMPARE(a.img(Img::AUDIO_WINDOW), 2);
        QCOMPARE(a.byte(Img::window(2, Img::W_VOLUME)) * 1000 + a.byte(Img::window(2, Img::W_AUDIO)), 255128);
        QCOMPARE(res(a.s, "Button_volume_state"), QStringLiteral(":/png/button_on.png"));
        const C331_STATE chip = a.applied();
        QCOMPARE(int(chip.audio_window), 2);
        QCOMPARE(int(chip.window[2].volume), 255);
        click(a.s, "Button_volume_state");
        QCOMPARE(a.byte(Img::window(2, Img::W_VOLUME)) + a.byte(Img::window(2, Img::W_AUDIO)), 0);
        QCOMPARE(res(a.s, "Button_volume_state"), QStringLiteral(":/png/button_off.png"));

        // no item, or an item past the windows that are on: nothing is written
        a.para->set_u16(Img::window(5, Img::W_ON), 0);   // from outside, not yet refreshed
        c331_manage::para_update = 0;
        u8 before[Img::SIZE];
        memcpy(before, a.para->ram_para, Img::SIZE);
        combo->setCurrentIndex(-1);
        click(a.s, "Button_volume_state");
        combo->setCurrentIndex(2);
        click(a.s, "Button_volume_state");
        combo->clear();
        click(a.s, "Button_volume_state");
        QCOMPARE(memcmp(before, a.para->ram_para, Img::SIZE), 0);
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void switchEffectAndPointToPoint()
    {
        Advanced a;
        a.open();
        click(a.s, "Button_other");
        QCOMPARE(res(a.s, "Button_seamless"), QStringLiteral(":/png/checked.png"));
        QSignalSpy refreshes(a.para, &QelRamPara::sig_update_para);
        click(a.s, "Button_fade");
        QCOMPARE(refreshes.size(), 1);   // saved at once
        QCOMPARE(a.byte(Img::SWITCH_EFFECT), 1);
        for (int w = 0; w < 16; ++w)
            QCOMPARE(a.byte(Img::window(w, Img::W_FLAGS)) & 4, 4);
        for (int k = 0; k < 16; ++k)
            QCOMPARE(a.byte(Img::FADE_PAIRS + 4 * k) + a.byte(Img::FADE_PAIRS + 4 * k + 2), 120);
        QCOMPARE(int(a.applied().window[0].fade), 1);
        QCOMPARE(int(c331_manage::pInstance()->chip()->state().switch_effect), 1);
        click(a.s, "Button_seamless");
        QCOMPARE(a.byte(Img::SWITCH_EFFECT), 0);
        for (int w = 0; w < 16; ++w)
            QCOMPARE(a.byte(Img::window(w, Img::W_FLAGS)) & 4, 0);

        click(a.s, "Button_DBD_open");
        QCOMPARE(a.byte(Img::POINT_TO_POINT), 1);
        for (int w = 0; w < 16; ++w)
            QCOMPARE(a.byte(Img::window(w, Img::W_FLAGS) + 1), 1);
        QCOMPARE(int(a.applied().point_to_point), 1);
        QCOMPARE(res(a.s, "Button_DBD_open") + res(a.s, "Button_DBD_close"),
                 QStringLiteral(":/png/checked.png:/png/unchecked.png"));
        click(a.s, "Button_DBD_close");
        QCOMPARE(a.byte(Img::POINT_TO_POINT) + a.byte(Img::window(15, Img::W_FLAGS) + 1), 0);

        // a refresh shows what the image holds
        a.para->ram_para[Img::SWITCH_EFFECT] = 1;
        a.para->ram_para[Img::window(3, Img::W_FLAGS) + 1] = 1;
        a.para->set_u16(Img::window(3, Img::W_ON), 1);
        SyncUpdate::pInstance()->para_sync(1);
        QCOMPARE(res(a.s, "Button_fade") + res(a.s, "Button_DBD_open"), QStringLiteral(":/png/checked.png:/png/checked.png"));
    }

    void wifiAndProjectionDevice()
    {
        Advanced a;
        a.open();
        click(a.s, "modeButton");   // without an input manager: nothing
        tavixsource *source = tavixsource::pInstance();
        click(a.s, "modeButton");
        QCOMPARE(source->it66121->gs2971_reset_pulses(), 1);
        TestEnv::advanceTicks(it66121_sys::GS2971_RESET_TICKS);
        source->pass();
        QVERIFY(source->it66121->gs2971_reset_high());

        // off: the byte, then the two daemons killed
        QCOMPARE(res(a.s, "Button_wifi_state"), QStringLiteral(":/png/button_on.png"));
        click(a.s, "Button_wifi_state");
        QCOMPARE(a.byte(Img::WIFI_OFF), 1);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(Utils::recordedCommands(),
                 QStringList({"kill -9 `pidof /usr/bin/hostapd /etc/rtl_hostapd_2G.conf`",
                              "kill -9 `pidof /usr/sbin/udhcpd  /etc/udhcpd.conf`"}));
        QCOMPARE(res(a.s, "Button_wifi_state"), QStringLiteral(":/png/button_off.png"));
        // on without a Wi-Fi manager: only the byte
        Utils::clearRecordedCommands();
        click(a.s, "Button_wifi_state");
        QCOMPARE(a.byte(Img::WIFI_OFF) + int(g_wifi_reset_flag), 0);
        // on with it: the manager restarts the access point, reading the byte already written
        click(a.s, "Button_wifi_state");
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        Utils::clearRecordedCommands();
        click(a.s, "Button_wifi_state");
        QCOMPARE(int(g_wifi_reset_flag), 1);
        wifi->pass();
        QCOMPARE(int(g_wifi_reset_flag), 0);
        QVERIFY(Utils::recordedCommands().filter(QStringLiteral("hostapd -B")).size() == 1);
    }

    void factoryResets_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("keepsInputs");
        QTest::addColumn<bool>("network");
        QTest::newRow("keep IP") << "Button_reset1" << false << false;
        QTest::newRow("keep IP and EDID") << "Button_reset2" << true << false;
        QTest::newRow("reset all") << "Button_reset3" << false << true;
    }

    void factoryResets()
    {
        QFETCH(QString, button);
        QFETCH(bool, keepsInputs);
        QFETCH(bool, network);
        Advanced a;
        fpga_manage::pInstance();
        tavixsource *source = tavixsource::pInstance();
        R58_WIFI_CONFIG::pInstance();
        ConfigEngine::pInstance();
        g_str_ip = QStringLiteral("10.1.2.3");
        // saved settings far from the factory ones: inputs, canvas, Wi-Fi off, language
        a.para->set_u16(Img::EDID_RECORD + 6 * 2, 1280);
        a.para->set_u16(Img::EDID_RECORD + 6 * 2 + 2, 720);
        a.para->set_u16(Img::CANVAS_W, 3840);
        a.para->set_u16(Img::AUDIO_WINDOW, 3);
        a.para->ram_para[Img::WIFI_OFF] = 1;
        a.para->ram_para[Img::LANGUAGE] = 2;
        a.para->set_u16(Img::CONTRAST, 90);
        for (int slot : {0, 5}) {
            a.para->user_mode[slot].flag[0] = a.para->user_mode[slot].flag[1] = 0xAA;
            a.para->set_u16(Img::OSD_ON, slot == 5);
            memcpy(a.para->user_mode[slot].para, a.para->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
            a.root.write("/data/configs/omenu.json", "{}");
            QVERIFY(a.para->save_user_mode(slot));
        }
        QVERIFY(a.root.exists("/data/modes/MO06.json"));
        a.settle();
        // the inputs carry EDIDs built for 1280 x 720 on input 2
        for (int slot = 0; slot < 6; ++slot)
            source->request_edid_rewrite(slot);
        source->pass();
        source->pass();
        QCOMPARE(decodeEdid(source->sim().edid(2)).h_active, 1280);
        const int writes = source->sim().edid_writes(2);

        a.open();
        click(a.s, "Button_factory");
        click(a.s, "Button_reset");
        click(a.s, button);
        QCOMPARE(g_tip->code(), 1);
        QCOMPARE(a.style(qPrintable(button)),
                 QStringLiteral("background-color:#4777FF;color:#FFFFFF;border:1px solid rgb(255, 255, 255);"));
        QCOMPARE(int(c331_manage::para_update), 1);

        // the settings part is the factory table, but for what the button keeps
        const u8 *factory = QelRamPara::default_para_ramlist() + 2;
        for (int o = Img::SETTINGS_START; o < Img::SIZE; ++o) {
            int want = factory[o - Img::SETTINGS_START];
            if (keepsInputs && o >= 896 && o < 1376)
                want = a.para->ram_para_shadow[o];
            if (o == Img::AUDIO_WINDOW || o == Img::AUDIO_WINDOW + 1)
                want = 0;   // the canvas changed
            QVERIFY2(a.byte(o) == want, qPrintable(QStringLiteral("byte %1: %2, want %3").arg(o).arg(a.byte(o)).arg(want)));
        }
        QCOMPARE(a.img(Img::EDID_RECORD + 12), keepsInputs ? 1280 : 1920);
        // the canvas changed and both FPGAs run: the LED set-up is asked for
        QCOMPARE(int(g_set_led_para) * 10 + int(g_set_led_setup), 10);
        // the Wi-Fi came back on: the access point restarts
        QCOMPARE(int(g_wifi_reset_flag), 1);
        // user modes gone, with their files
        for (int slot = 0; slot < 16; ++slot)
            QCOMPARE(a.para->user_mode[slot].flag[0] & a.para->user_mode[slot].flag[1], 0xFF);
        QVERIFY(!a.root.exists("/data/modes/custom_mode1") && !a.root.exists("/data/modes/custom_mode6"));
        QVERIFY(!a.root.exists("/data/modes/MO06.json"));

        // the EDIDs rebuilt from the restored timing, on all six inputs, or left alone
        source->pass();
        source->pass();
        for (int slot = 0; slot < 6; ++slot)
            QCOMPARE(int(source->set_edid_flag[slot]), 0);
        QCOMPARE(decodeEdid(source->sim().edid(2)).h_active, keepsInputs ? 1280 : 1920);
        QCOMPARE(decodeEdid(source->sim().edid(5)).h_active, 3840);
        QCOMPARE(source->sim().edid_writes(2) - writes, keepsInputs ? 0 : 1);
        QCOMPARE(source->sim().receiver_restarts(0), keepsInputs ? 1 : 2);

        // the network settings return to theirs with reset 3 only
        const QSettings ini(a.root.file("/data/configs/tcpip.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("config/IPAddress").toString(), network ? QStringLiteral("192.168.0.199") : QString());
        QCOMPARE(ini.value("config/GateWay").toString(), network ? QStringLiteral("192.168.0.1") : QString());
        QCOMPARE(g_str_ip.get(), network ? QStringLiteral("192.168.0.199") : QStringLiteral("10.1.2.3"));
        QCOMPARE(Utils::recordedCommands().contains(QStringLiteral("ifconfig eth0 192.168.0.199 netmask 255.255.255.0")),
                 network);

        // the refresh follows the default language and saves the file
        SyncUpdate::pInstance()->para_sync(1);
        QCOMPARE(a.text("label_title"), QStringLiteral("Advanced Settings"));
        QCOMPARE(a.root.read("/data/ram_device_info").mid(2, Img::SETTINGS_SIZE),
                 QByteArray(reinterpret_cast<const char *>(a.para->ram_para + Img::SETTINGS_START), Img::SETTINGS_SIZE));
        QCOMPARE(res(a.s, "Button_wifi_state"), QStringLiteral(":/png/button_on.png"));

        // a second reset puts the first button back to plain
        const QString other = button == "Button_reset1" ? "Button_reset2" : "Button_reset1";
        click(a.s, other);
        QCOMPARE(a.style(qPrintable(button)),
                 QStringLiteral("background-color:#10101C;color:#FFFFFF;border:1px solid rgb(255, 255, 255);"));
    }

    void resetKeepsWhatIsAlreadyDefault()
    {
        // geometry unchanged, address already the default, FPGAs down
        Advanced a(R"({"fpgas":[{"state":3},{"state":1}]})");
        fpga_manage::pInstance();
        a.open();
        click(a.s, "Button_reset3");
        QCOMPARE(int(g_set_led_para), 0);
        QVERIFY(!a.root.exists("/data/configs/tcpip.ini"));
        QVERIFY(Utils::recordedCommands().isEmpty());
        QCOMPARE(int(g_wifi_reset_flag), 0);
        // a changed canvas with an FPGA down: no set-up, the audio window still 0
        a.para->set_u16(Img::CANVAS_H, 2160);
        a.settle();
        a.para->set_u16(Img::AUDIO_WINDOW, 4);
        click(a.s, "Button_reset1");
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(a.img(Img::AUDIO_WINDOW), 0);
        QCOMPARE(a.img(Img::CANVAS_H), 1080);
    }

    void ageingLogBehindItsCode()
    {
        Advanced a;
        a.open();
        for (const char *wrong : {"05093", "509", ""})
            QVERIFY(a.ageCode(QString::fromLatin1(wrong)));
        QCOMPARE(a.page(), 0);

        // another screen's field is not the one being edited
        My_lineEdit other;
        g_lineedit = &other;
        QVERIFY(a.ageCode(QStringLiteral("5093")));
        QVERIFY(!g_lineedit);
        QCOMPARE(a.page(), 5);
        QCOMPARE(a.style("Button_factory_age"), QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
        QVERIFY(QRegularExpression(QString::fromUtf8("^\\d\\d-\\d\\d \\d\\d:\\d\\d  正在老化中...$"))
                    .match(a.text("label_log1")).hasMatch());
        QCOMPARE(a.text("label_3"), QStringLiteral("OUT1:0<3 0<5 0<10 0<20 0>20    OUT2:0<3 0<5 0<10 0<20 0>20"));
        QCOMPARE(a.text("page_info") + ' ' + a.text("label_page"), QStringLiteral("0 0/0"));

        // open: the button asks no more; after another page it asks again
        QVERIFY(!a.ageCode(QStringLiteral("5093")));
        click(a.s, "Button_LCDshow");
        QVERIFY(a.ageCode(QStringLiteral("5093")));
        QCOMPARE(a.page(), 5);
        // a code typed for another reason is not taken
        click(a.s, "Button_LCDshow");
        a.s->confirmString(QStringLiteral("5093"));
        QCOMPARE(a.page(), 0);
        // the ring up: no keypad
        QRoundProgressBar::create_qround_bar(a.s);
        QVERIFY(!a.ageCode(QStringLiteral("5093")));
        g_qround_bar->para_sync(100);
    }

    void ageingLines()
    {
        const QString green = QStringLiteral("<font color = #00FF00 >%1</font> ");
        const QString red = QStringLiteral("<font color = #FF0000 >%1</font> ");
        const auto names = [&](int s) {
            QString out;
            int bit = 0;
            for (const char *n : {"DDR0", "DDR1", "DE", "HS", "VS"})
                out += ((s >> bit++) & 1 ? green : red).arg(QLatin1String(n));
            return out;
        };
        QCOMPARE(AdvancedOption::agelog_line("01-02 03:04 5 1 7 8 0 9"),
                 "01-02 03:04 005 " + names(1) + "007    ,008 " + names(0) + "009");
        QCOMPARE(AdvancedOption::agelog_line("12-31 23:59 250 31 x 1000 0 -"),
                 "12-31 23:59 250 " + names(31) + "000    ,1000 " + names(0) + "000");
        QVERIFY(AdvancedOption::agelog_line("01-02 03:04 5 1 7 8 0").isEmpty());
        QVERIFY(AdvancedOption::agelog_line("01-02 03:04 5 1 7 8 0 9 9").isEmpty());
        QVERIFY(AdvancedOption::agelog_line("01-02  03:04 5 1 7 8 0 9").isEmpty());   // an empty field counts
    }

    void ageingPagesAndTheTick()
    {
        Advanced a;
        g_back_to_mainwindow_time = 1 << 30;
        g_auto_lock_time = 120000;
        for (int i = 0; i < 17; ++i)
            factoryage_log << QStringLiteral("01-02 03:%1 %1 31 0 0 0 0").arg(i, 2, 10, QLatin1Char('0'));
        factoryage_log[1] = QStringLiteral("01-02 03:01 1 31 0 0 0");   // seven fields: left out
        factoryage_log_diff3 = 4;
        factoryage_log2_diffmore = 9;
        a.open();
        QVERIFY(a.ageCode(QStringLiteral("5093")));
        QCOMPARE(a.text("page_info") + ' ' + a.text("label_page"), QStringLiteral("17 1/2"));
        const QStringList lines = a.text("label_log1").split(QStringLiteral("<br>"));
        QCOMPARE(lines.size(), 15);
        QVERIFY(lines[0].startsWith(QLatin1String("01-02 03:00 000 ")));
        QVERIFY(lines[1].startsWith(QLatin1String("01-02 03:02 002 ")));
        QCOMPARE(a.text("label_3"),
                 QStringLiteral("OUT1:4<3  0<5  0<10  0<20  0>20     OUT2:0<3  0<5  0<10  0<20  9>20 "));

        click(a.s, "next");
        QCOMPARE(a.text("label_page"), QStringLiteral("2/2"));
        QVERIFY(a.text("label_log1").startsWith(QLatin1String("01-02 03:16 016 ")));
        QVERIFY(!a.text("label_log1").contains(QLatin1String("<br>")));
        click(a.s, "next");
        QCOMPARE(a.text("label_page"), QStringLiteral("1/2"));
        click(a.s, "pre");
        QCOMPARE(a.text("label_page"), QStringLiteral("2/2"));
        click(a.s, "pre");
        QCOMPARE(a.text("label_page"), QStringLiteral("1/2"));

        // a full log, redrawn by the tick once each ageing period, whatever page shows
        factoryage_log.clear();
        for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
            factoryage_log << QStringLiteral("01-02 03:04 %1 31 0 0 0 0").arg(i % 256);
        click(a.s, "pre");
        QCOMPARE(a.text("page_info") + ' ' + a.text("label_page"), QStringLiteral("3360 210/210"));
        click(a.s, "Button_other");
        factoryage_log_diff3 = 77;
        TestEnv::advanceTicks(17998);   // the tick itself counts one more
        a.w->slot_update_timer_ticks();
        QVERIFY(a.text("label_3").startsWith(QLatin1String("OUT1:4<3")));
        a.w->slot_update_timer_ticks();
        QVERIFY(a.text("label_3").startsWith(QLatin1String("OUT1:77<3")));
        QCOMPARE(a.text("label_page"), QStringLiteral("210/210"));
    }

    void checkAndSelfRecoveryOnTheWall()
    {
        Advanced a;
        fpga_manage *m = a.wall();
        a.open();
        QCOMPARE(a.style("Button_rcv_recovery"), QStringLiteral("background-color: #10101C;color:rgb(255,255,255)"));
        click(a.s, "Button_rcv_recovery");
        QCOMPARE(a.page(), 1);
        QCOMPARE(a.list(), QStringLiteral("No receiving cards that need to be updated!"));

        click(a.s, "Button_check");
        QVERIFY(g_qround_bar && g_qround_bar->parent() == a.s);
        QCOMPARE(int(g_send_para.job()), int(JOB_CHECK_CARDS));
        QCOMPARE(a.style("Button_check"), QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
        click(a.s, "Button_back");   // stays while the job reports to it
        click(a.s, "Button_LCDshow");
        QVERIFY(g_advancedoption);
        QCOMPARE(a.page(), 1);
        a.runJob();
        QVERIFY(!g_qround_bar);
        // the LED3 card, past two silent or late cards, within the stored four
        QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FFFFFF >03</font>"));
        QCOMPARE(child(child(a.s, "frame_file"), "row_label_0")->styleSheet(),
                 QStringLiteral("background-color:#4777FF;color: #FFFFFF;"));

        g_language = 0;
        a.s->language_changed();
        a.s->rcv_self_recovery_file_list();
        QCOMPARE(a.list(), QString::fromUtf8("发现 屏幕01, 网口LED03, 接收卡<font color = #FFFFFF >03</font>"));
        g_language = 1;

        // self-recovery writes the stored block into that card; nothing is left
        click(a.s, "Button_self_recovery");
        QCOMPARE(int(g_send_para.job()), int(JOB_SELF_RECOVERY));
        QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FFFFFF >03</font>"));
        a.runJob();
        const rcv_card fixed = m->fpga(0)->card(2, 2);
        QCOMPARE(fixed.saved, QByteArray(rcv_card::PARA_SIZE, char(0x40 + 2)));
        QVERIFY(!fixed.needs_recovery);
        QCOMPARE(a.list(), QStringLiteral("No receiving cards that need to be updated!"));
        // with nothing found, self-recovery is refused
        click(a.s, "Button_self_recovery");
        QVERIFY(!g_qround_bar);
        QCOMPARE(int(g_send_para.job()), 0);

        // a card past the stored count shows red and cannot be restored
        m->fpga(0)->set_needs_recovery(2, 3, false);
        m->fpga(0)->set_card_count(2, 6);
        m->fpga(0)->set_needs_recovery(2, 5, true);
        click(a.s, "Button_check");
        a.runJob();
        QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FF0000 >06</font>"));
        click(a.s, "Button_self_recovery");
        QVERIFY(!g_qround_bar);
        // the next check clears the old entry and the mark first
        m->fpga(0)->set_needs_recovery(2, 5, false);
        click(a.s, "Button_check");
        QCOMPARE(a.list(), QStringLiteral("No receiving cards that need to be updated!"));
        a.runJob();
        QCOMPARE(a.list(), QStringLiteral("No receiving cards that need to be updated!"));
        QCOMPARE(m->fpga(0)->card(2, 5).recovery_writes, 0u);
    }

    void refusedChecksPostNothing()
    {
        Advanced a;
        a.root.write("/data/rcvrecovery/screen_a", recoveryFile({{2, 4}}, 0x40));
        a.open();
        click(a.s, "Button_rcv_recovery");   // no FPGA manager: no file count either
        QCOMPARE(a.page(), 0);
        // no manager, FPGA 1 down, a job running, an upgrade running
        const auto refused = [&a](const char *why) {
            child<QPushButton>(a.s, "Button_check")->click();
            QVERIFY2(!g_qround_bar, why);
            QVERIFY2(a.style("Button_check") == QLatin1String("background-color:#10101C;color:#FFFFFF"), why);
        };
        refused("no manager");
        fpga_manage *m = fpga_manage::pInstance();
        a.s->language_changed();
        click(a.s, "Button_rcv_recovery");
        QCOMPARE(a.page(), 1);
        m->fpga(1)->set_state(0);
        m->pass();
        refused("FPGA 1 down");
        QCOMPARE(int(g_send_para.job()), 0);
        m->fpga(1)->set_state(3);
        m->pass();
        g_send_para.post(JOB_SAVE_PARA);
        refused("job running");
        QCOMPARE(int(g_send_para.job()), int(JOB_SAVE_PARA));
        // the files are not counted again while a job uses them
        QFile::remove(a.root.file("/data/rcvrecovery/screen_a"));
        a.s->language_changed();
        QCOMPARE(m->rcv_recovery->recovery_file_count(), 1);
        g_send_para.clear();
        g_usb_grade = 1;
        refused("upgrade");
        g_usb_grade = 0;
        a.s->language_changed();
        QCOMPARE(a.style("Button_rcv_recovery"), QStringLiteral("background-color: gray;color:rgb(255,255,255)"));
    }

    void resultsReachOnlyTheLiveScreen()
    {
        Advanced a;
        fpga_manage *m = a.wall();
        a.open();
        JobRelay *relay = JobRelay::instance();
        // more rows than a page, a count beyond the list, a short entry
        relay->attach(a.s, JOB_CHECK_CARDS);
        emit relay->recovery_result({"01/01/01/04", "01/01/02/04", "1/2", "01/02/03/04", "01/02/04/04", "01/03/05/04",
                                     "02/01/01/04"},
                                    40);
        click(a.s, "Button_rcv_recovery");
        QCOMPARE(a.list().count(QLatin1Char('|')), 3);   // four rows: the short entry draws none
        click(child(a.s, "frame_file"), "3");
        QFrame *frame = child<QFrame>(a.s, "frame_file");
        QCOMPARE(child(frame, "row_label_0")->styleSheet(), QStringLiteral("background-color: rgb(33, 36, 53);color: #FFFFFF;"));
        QCOMPARE(child(frame, "row_label_3")->styleSheet(), QStringLiteral("background-color:#4777FF;color: #FFFFFF;"));
        QCOMPARE(res(frame, "button_next_0"), QStringLiteral(":/png/next.png"));
        QVERIFY(!child(frame, "button_previous_0"));
        click(frame, "button_next_0");
        QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FF0000 >05</font>|"
                                          "Find Screen02, LED01, Rcv<font color = #FFFFFF >01</font>"));
        click(child(a.s, "frame_file"), "button_previous_0");
        QVERIFY(a.list().startsWith(QLatin1String("Find Screen01, LED01, Rcv")));

        // a job started here whose screen went away: its results are dropped
        click(a.s, "Button_check");
        QVERIFY(g_qround_bar);
        delete a.s;
        a.s = nullptr;
        QVERIFY(!g_advancedoption && !g_qround_bar);
        a.runJob();
        QCOMPARE(int(g_send_para.job()), 0);
        QStringList entries;
        m->recovery_result(&entries, nullptr);
        QCOMPARE(entries, QStringList{"01/03/03/04"});
    }

    void recoveryFileCountSaturates()
    {
        Advanced a;
        for (int i = 0; i < 256; ++i)
            a.root.write(QStringLiteral("/data/rcvrecovery/f%1").arg(i, 3, 10, QLatin1Char('0')), "x");
        fpga_manage::pInstance();
        a.open();
        QCOMPARE(a.style("Button_rcv_recovery"), QStringLiteral("background-color: #10101C;color:rgb(255,255,255)"));
        click(a.s, "Button_rcv_recovery");
        QCOMPARE(a.page(), 1);
        QCOMPARE(a.style("Button_rcv_recovery"), QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
    }

    void openedFromTheSettingsMenuAndClosedOnIdle()
    {
        Advanced a;
        bool seen = false;
        a.inSettings([&](QWidget *option) {
            QVERIFY(child<QPushButton>(option, "AdvanceButton")->isEnabled());
            onModal([&](QWidget *m) {
                seen = m == g_advancedoption && qobject_cast<AdvancedOption *>(m);
                QCOMPARE(int(g_page_focus), int(PAGE_ADVANCED));
                a.idle(u32(g_back_to_mainwindow_time) + 1);
            });
            click(option, "AdvanceButton");
        });
        QVERIFY(seen);
        QVERIFY(!g_advancedoption);
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestAdvancedOption)
#include "test_advancedoption.moc"
