#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QStackedWidget>

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
#include "video_io/it66121_sys.h"
#include "video_io/tavixsource.h"

namespace {

const QString kNoCards = QStringLiteral("No receiving cards that need to be updated!");

// The advanced settings screen in the shell, the simulated device behind it:
// both FPGAs running, four receiving cards on LED3.
struct Advanced : Shell
{
    AdvancedOption *s = nullptr;
    QelRamPara *para = QelRamPara::p_qelrampara_config;

    Advanced()
    {
        root.writeSim(R"({"fpgas":[{"state":3},{"state":3}],"cards":{"3":4},"fonts":5})");   // fonts 0101
        QObject::connect(para, &QelRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                         Qt::QueuedConnection);
        settle();
    }
    ~Advanced()
    {
        delete g_advancedoption;
        for (auto destroy : {&fpga_manage::destroyInstance, &tavixsource::destroyInstance, &R58_WIFI_CONFIG::destroyInstance,
                             &c331_manage::destroyInstance, &ConfigEngine::destroyInstance})
            destroy();
        JobRelay::instance()->attach(nullptr, 0);   // a new manager may reuse the address
    }
    void settle() { memcpy(para->ram_para_shadow, para->ram_para, Img::SIZE); }
    void open() { s = g_advancedoption = new AdvancedOption; g_page_focus = PAGE_ADVANCED; s->show(); }
    void press(const QString &button) { click(s, button); }
    int img(int offset) const { return para->get_u16(offset); }
    int byte(int offset) const { return para->ram_para[offset]; }
    int page() const { return child<QStackedWidget>(s, "stackedWidget")->currentIndex(); }
    QString text(const char *name) const { return labelText(s, name); }
    // The receiving-card list as drawn: its rows, or the empty text.
    QString list() const
    {
        QFrame *frame = child<QFrame>(s, "frame_file");
        QStringList rows;
        for (int k = 0; k < 5; ++k)
            if (QLabel *l = child<QLabel>(frame, QStringLiteral("row_label_%1").arg(k)))
                rows << l->text();
        return rows.isEmpty() ? labelText(frame, "empty_label_0") : rows.join(QLatin1Char('|'));
    }
    // The wall from the sim, its recovery file holding block 0x40 + k for
    // card k of LED3; the third card lost its parameters.
    fpga_manage *wall()
    {
        root.write("/data/rcvrecovery/screen_a", TestEnv::recoveryFile({{2, 4, 0x40}}));
        fpga_manage *m = fpga_manage::pInstance();
        m->fpga(0)->set_needs_recovery(2, 2, true);
        m->pass();
        return m;
    }
    // A finished check reports its entries and their count for `screen`.
    void checkResult(const QStringList &entries, int count, QDialog *screen = nullptr)
    {
        JobRelay::instance()->attach(screen ? screen : s, JOB_CHECK_CARDS);
        emit JobRelay::instance()->recovery_result(entries, count);
    }
    // Types on the keypad that the ageing button opens.
    void ageCode(const QString &digits)
    {
        const auto keypad = onModal([&](QWidget *pad) {
            QVERIFY(pad == g_numberkeyboard);
            typeOnKeypad(digits);
        });
        press("Button_factory_age");
    }
    // Whether the ageing button opens the keypad (closed at once).
    bool asksCode() { return opensModal([&] { press("Button_factory_age"); }); }
};

}

class TestAdvancedOption : public QObject
{
    Q_OBJECT

private slots:
    // One fixture: the audio window, the switch settings, the managers coming up, the languages.
    void settingsAndManagers()
    {
        Advanced a;
        for (int w : {0, 2, 5})
            a.para->set_u16(Img::window(w, Img::W_ON), 1);
        a.para->set_u16(Img::AUDIO_WINDOW, 7);
        a.settle();
        a.open();
        QCOMPARE(a.img(Img::AUDIO_WINDOW) + c331_manage::para_update, 0);   // corrected, without a refresh
        QComboBox *combo = child<QComboBox>(a.s, "ImageVolume");
        QCOMPARE(combo->count(), 3);
        {   // the items not highlighted are legible on the dark list: light ink in their row
            combo->showPopup();
            QAbstractItemView *view = combo->view();
            const QImage list = view->grab().toImage();
            const QRect row = view->visualRect(view->model()->index(1, 0));
            int light = 0;
            for (int y = row.top(); y <= row.bottom(); ++y)
                for (int x = row.left(); x <= row.right(); ++x)
                    light += qGray(list.pixel(x, y)) > 160;
            combo->hidePopup();
            QVERIFY2(light > 20, qPrintable(QString::number(light)));
        }
        combo->setCurrentIndex(1);   // the second window that is on
        a.press("Button_volume_state");
        QCOMPARE(a.img(Img::AUDIO_WINDOW), 2);
        QCOMPARE(a.byte(Img::window(2, Img::W_VOLUME)) * 1000 + a.byte(Img::window(2, Img::W_AUDIO)), 255128);
        a.press("Button_volume_state");
        QCOMPARE(a.byte(Img::window(2, Img::W_VOLUME)) + a.byte(Img::window(2, Img::W_AUDIO)), 0);
        // no item, or an item past the windows that are on: nothing is written
        a.para->set_u16(Img::window(5, Img::W_ON), 0);   // from outside, not yet refreshed
        c331_manage::para_update = 0;
        const QByteArray before = TestEnv::image();
        for (int index : {-1, 2}) {
            combo->setCurrentIndex(index);
            a.press("Button_volume_state");
        }
        QVERIFY(TestEnv::image() == before && c331_manage::para_update == 0);
        // fade and point to point: saved at once, the byte and each window's flag bit
        const struct { const char *on, *off; int offset, flag; } switches[] = {
            {"Button_fade", "Button_seamless", Img::SWITCH_EFFECT, 0x0004},
            {"Button_DBD_open", "Button_DBD_close", Img::POINT_TO_POINT, 0x0100}};
        for (const auto &sw : switches)
            for (int set : {1, 0}) {
                QFile::remove(a.root.file("/data/ram_device_info"));
                a.press(set ? sw.on : sw.off);
                QCoreApplication::sendPostedEvents();   // the queued refresh saves
                QVERIFY(a.root.exists("/data/ram_device_info"));
                QCOMPARE(a.byte(sw.offset), set);
                for (int w = 0; w < 16; ++w)
                    QCOMPARE(a.img(Img::window(w, Img::W_FLAGS)) & sw.flag, set * sw.flag);
            }
        c331_manage::para_update = 0;
        Utils::clearRecordedCommands();
        // no input or scaler manager: the projection device button does nothing, every font shows absent
        a.press("modeButton");
        a.press("Button_factory");
        QCOMPARE(res(a.s, "label_32CNS"), QStringLiteral(":/png/osd_no.bmp"));
        tavixsource *source = tavixsource::pInstance();
        a.press("modeButton");
        QCOMPARE(source->it66121->gs2971_reset_pulses(), 1);
        c331_manage::pInstance();   // font bits 0101
        a.press("Button_factory");
        QCOMPARE(res(a.s, "label_256CNS") + res(a.s, "label_32ENS"), QStringLiteral(":/png/osd_yes.bmp:/png/osd_no.bmp"));
        // off: the byte, then the two daemons killed
        a.press("Button_wifi_state");
        QCOMPARE(a.byte(Img::WIFI_OFF) * 10 + c331_manage::para_update, 11);
        QCOMPARE(Utils::recordedCommands(),
                 QStringList({"kill -9 `pidof /usr/bin/hostapd /etc/rtl_hostapd_2G.conf`",
                              "kill -9 `pidof /usr/sbin/udhcpd  /etc/udhcpd.conf`"}));
        // on without a Wi-Fi manager: only the byte; with it, the access point restarts
        Utils::clearRecordedCommands();
        a.press("Button_wifi_state");
        QCOMPARE(a.byte(Img::WIFI_OFF) + int(g_wifi_reset_flag) + Utils::recordedCommands().size(), 0);
        a.press("Button_wifi_state");
        R58_WIFI_CONFIG *wifi = R58_WIFI_CONFIG::pInstance();
        Utils::clearRecordedCommands();
        a.press("Button_wifi_state");
        QCOMPARE(int(g_wifi_reset_flag), 1);
        wifi->pass();   // reads the byte already written
        QCOMPARE(Utils::recordedCommands().filter(QStringLiteral("hostapd -B")).size(), 1);
        // each language button: the byte and the texts once; the current one again writes nothing
        const char *langs[5][2] = {{"Button_chinese", "高级设置"}, {"Button_english", "Advanced Settings"},
                                   {"Button_ru", "Доп.опции"}, {"Button_vn", "Cài đặt nâng cao"}, {"Button_tn", "高級設置"}};
        for (int lang : {2, 3, 4, 0, 1}) {
            c331_manage::para_update = 0;
            a.press(langs[lang][0]);
            QCOMPARE(int(g_language) * 100 + a.byte(Img::LANGUAGE) * 10 + c331_manage::para_update, lang * 110 + 1);
            QCOMPARE(a.text("label_title"), QString::fromUtf8(langs[lang][1]));
            c331_manage::para_update = 0;
            a.press(langs[lang][0]);
            QCOMPARE(int(c331_manage::para_update), 0);
        }
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
        g_str_ip = QStringLiteral("10.1.2.3");
        // saved settings far from the factory ones: input 2's timing, canvas, Wi-Fi off, user modes
        for (const auto &[offset, value] : {std::pair{Img::EDID_RECORD + 12, 1280}, {Img::EDID_RECORD + 14, 720},
                                            {Img::CANVAS_W, 3840}, {Img::AUDIO_WINDOW, 3}})
            a.para->set_u16(offset, u16(value));
        a.para->ram_para[Img::WIFI_OFF] = 1;
        a.para->user_mode[5].flag[0] = a.para->user_mode[5].flag[1] = 0xAA;
        const char *files[] = {"custom_mode1", "custom_mode6", "MO06.json"};
        for (const char *f : files)
            a.root.write(QStringLiteral("/data/modes/") + f, "x");
        a.settle();
        // the inputs carry EDIDs built for that timing
        for (int slot = 0; slot < 6; ++slot)
            source->request_edid_rewrite(slot);
        source->pass();
        source->pass();
        int writes[6];
        for (int slot = 0; slot < 6; ++slot)
            writes[slot] = source->sim().edid_writes(slot);
        a.open();
        a.press(button);
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
        // the canvas changed and both FPGAs run: the LED set-up is asked for; the Wi-Fi came back on
        QCOMPARE(int(g_set_led_para) * 100 + int(g_set_led_setup) * 10 + int(g_wifi_reset_flag), 101);
        // user modes gone, with their files
        QCOMPARE(a.para->user_mode[5].flag[0] & a.para->user_mode[5].flag[1], 0xFF);
        for (const char *f : files)
            QVERIFY2(!a.root.exists(QStringLiteral("/data/modes/") + f), f);
        // the EDIDs rebuilt from the restored timing, on all six inputs, or left alone
        source->pass();
        source->pass();
        for (int slot = 0; slot < 6; ++slot)
            QCOMPARE(source->sim().edid_writes(slot) - writes[slot], keepsInputs ? 0 : 1);
        QCOMPARE(decodeEdid(source->sim().edid(2)).h_active, keepsInputs ? 1280 : 1920);
        // the network settings return to theirs with reset 3 only
        QCOMPARE(g_str_ip.get(), network ? QStringLiteral("192.168.0.199") : QStringLiteral("10.1.2.3"));
        QCOMPARE(Utils::recordedCommands().contains(QStringLiteral("ifconfig eth0 192.168.0.199 netmask 255.255.255.0")),
                 network);
        if (!network)
            return;
        // once more, nothing left to change: geometry, address and Wi-Fi stay untouched
        g_set_led_para = 0;
        g_wifi_reset_flag = 0;
        QFile::remove(a.root.file("/data/configs/tcpip.ini"));
        Utils::clearRecordedCommands();
        a.settle();
        a.press(button);
        QVERIFY(g_set_led_para == 0 && g_wifi_reset_flag == 0 && Utils::recordedCommands().isEmpty());
        QVERIFY(!a.root.exists("/data/configs/tcpip.ini"));
    }

    void ageingLogBehindItsCode()
    {
        Advanced a;
        a.open();
        g_back_to_mainwindow_time = 1 << 30;
        for (const char *wrong : {"05093", "509", ""})
            a.ageCode(QString::fromLatin1(wrong));
        QCOMPARE(a.page(), 0);
        // another screen's field is not the one being edited
        My_lineEdit other;
        g_lineedit = &other;
        a.ageCode(QStringLiteral("5093"));
        QVERIFY(!g_lineedit && a.page() == 5);
        QCOMPARE(a.text("page_info") + ' ' + a.text("label_page"), QStringLiteral("0 0/0"));
        // open: the button asks no more; a code typed for another reason is not taken
        QVERIFY(!a.asksCode());
        a.press("Button_LCDshow");
        a.s->confirmString(QStringLiteral("5093"));
        QCOMPARE(a.page(), 0);
        // a full log with a malformed line, 16 lines a page
        for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
            factoryage_log << QStringLiteral("01-02 03:04 %1 17 0 0 0 0").arg(i % 256);
        factoryage_log[1] = QStringLiteral("01-02 03:01 1 31 0 0 0");   // seven fields: left out
        factoryage_log_diff3 = 4;
        a.ageCode(QStringLiteral("5093"));
        QCOMPARE(a.text("page_info") + ' ' + a.text("label_page"), QStringLiteral("3360 1/210"));
        const QStringList lines = a.text("label_log1").split(QStringLiteral("<br>"));
        QVERIFY(lines.size() == 15 && lines[1].startsWith(QLatin1String("01-02 03:04 002 ")));
        a.press("pre");
        QCOMPARE(a.text("label_page"), QStringLiteral("210/210"));
        // redrawn by the tick once each ageing period, whatever page shows
        a.press("Button_other");
        factoryage_log_diff3 = 77;
        TestEnv::advanceTicks(17998);   // the tick itself counts one more
        a.w->slot_update_timer_ticks();
        a.w->slot_update_timer_ticks();
        QVERIFY(a.text("label_3").startsWith(QLatin1String("OUT1:77<3")));
        QCOMPARE(a.text("label_page"), QStringLiteral("210/210"));
        QRoundProgressBar::create_qround_bar(a.s);   // the ring up: no keypad
        QVERIFY(!a.asksCode());
    }

    void cardJobsRefused_data()
    {
        QTest::addColumn<int>("why");
        int why = 0;
        for (const char *row :
             {"nothing in the way", "no FPGA manager", "FPGA 2 stopped", "nothing found", "card past the stored count"})
            QTest::newRow(row) << why++;
    }
    void cardJobsRefused()
    {
        QFETCH(int, why);
        Advanced a;
        fpga_manage *m = why == 1 ? nullptr : why == 4 ? a.wall() : fpga_manage::pInstance();
        a.open();
        // what the last check found
        a.checkResult(why == 3 ? QStringList() : QStringList{why == 4 ? "01/03/06/04" : "01/03/03/04"}, why != 3);
        if (why == 2) {
            m->fpga(1)->set_state(0);
            m->pass();
        }
        if (why == 4) {   // shown red, cannot be restored
            a.press("Button_rcv_recovery");
            QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FF0000 >06</font>"));
        }
        a.press("Button_self_recovery");
        QVERIFY(g_send_para.job() == (why ? 0 : JOB_SELF_RECOVERY) && bool(g_qround_bar) == !why);
        a.press("Button_check");   // refused without FPGAs; otherwise the old entry goes at once
        QCOMPARE(int(g_send_para.job()), why >= 3 ? int(JOB_CHECK_CARDS) : why ? 0 : int(JOB_SELF_RECOVERY));
        if (why == 4)
            QCOMPARE(a.list(), kNoCards);
    }

    void resultsReachOnlyTheScreenInHandAndFilesAreCountedOutsideJobs()
    {
        Advanced a;
        for (int i = 0; i < 255; ++i)   // 256 recovery files with the wall's
            a.root.write(QStringLiteral("/data/rcvrecovery/f%1").arg(i, 3, 10, QLatin1Char('0')), "x");
        a.wall();
        a.open();
        const QStringList entries = {"01/01/01/04", "01/01/02/04", "1/2", "01/02/03/04",
                                     "01/02/04/04", "01/03/05/04", "02/01/01/04"};
        QDialog other;   // another screen's result is not shown here
        a.checkResult(entries, 7, &other);
        a.press("Button_rcv_recovery");
        QCOMPARE(a.page() * 1000 + fpga_manage::p_fpga_manage->rcv_recovery->recovery_file_count(), 1256);
        QCOMPARE(a.list(), kNoCards);
        // more rows than a page, a count beyond the list, a short entry that draws no row
        a.checkResult(entries, 40);
        a.press("Button_rcv_recovery");
        QCOMPARE(a.list().count(QLatin1Char('|')), 3);
        click(child(a.s, "frame_file"), "next_button_0");
        QCOMPARE(a.list(), QStringLiteral("Find Screen01, LED03, Rcv<font color = #FF0000 >05</font>|"
                                          "Find Screen02, LED01, Rcv<font color = #FFFFFF >01</font>"));
        click(child(a.s, "frame_file"), "previous_button_0");
        QVERIFY(a.list().startsWith(QLatin1String("Find Screen01, LED01, Rcv")));
        // the files are not counted again while a job may use them
        g_send_para.post(JOB_SAVE_PARA);
        QFile::remove(a.root.file("/data/rcvrecovery/f000"));
        a.s->language_changed();
        QCOMPARE(fpga_manage::p_fpga_manage->rcv_recovery->recovery_file_count(), 256);
    }
};

QTEST_MAIN(TestAdvancedOption)
#include "test_advancedoption.moc"
