#include "ui/advanced/advancedoption.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_recovery_file.h"
#include "remote/r58_wifi_config.h"
#include "scaler/c331_manage.h"
#include "ui/advanced/advancedoption_common.h"
#include "ui/picture/settings_page.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "video_io/it66121_sys.h"
#include "video_io/tavixsource.h"
#include "ui_advancedoption.h"

using namespace advanced;

namespace {

const char *const kTabOn = "color:#4777FF;";
const char *const kTabOff = "color:#FFFFFF;";
// the receiving-card menu button without recovery files
const char *const kRcvGrey = "background-color: gray;color:rgb(255,255,255)";

const char *const kHostapdKill = "kill -9 `pidof /usr/bin/hostapd /etc/rtl_hostapd_2G.conf`";
const char *const kUdhcpdKill = "kill -9 `pidof /usr/sbin/udhcpd  /etc/udhcpd.conf`";

const PanelText kImageItem = {"画面%1", "image%1", "Канал%1", "Hình ảnh%1", "畫麵%1"};

}

AdvancedOption::AdvancedOption(QWidget *parent) : QDialog(parent), ui(new Ui::AdvancedOption)
{
    ui->setupUi(this);
    ui->stackedWidget->setCurrentIndex(0);
    ui->stackedWidget_2->setCurrentIndex(0);

    set_back_icon(ui->Button_back);
    menu_selected = ui->Button_LCDshow;
    set_style(ui->Button_LCDshow, SELECTED_STYLE);

    ui->label_time->setText(time_text(g_back_to_mainwindow_time));
    {
        const QSignalBlocker block(ui->horizontalSlider);
        ui->horizontalSlider->setValue(g_back_to_mainwindow_time);
    }

    for (QPushButton *b : {ui->Button_5min, ui->Button_10min, ui->Button_never}) {
        b->setIconSize(QSize(32, 32));
        set_res_icon(b, kUnchecked);
    }
    set_res_icon(ui->Button_5min, kChecked);
    if (g_auto_lock_time == kLock5min)
        set_auto_lock(ui->Button_5min);
    else if (g_auto_lock_time == kLock10min)
        set_auto_lock(ui->Button_10min);
    else if (g_auto_lock_time == kLockNever)
        set_auto_lock(ui->Button_never);

    ui->Button_DBD_open->setIconSize(QSize(32, 32));
    ui->Button_DBD_close->setIconSize(QSize(32, 32));
    ui->Button_timeplan->hide();
    ui->label_para_file->hide();
    ui->label_para_name->hide();
    set_list_view(ui->ImageVolume);
    // its style gives the items no colour: white on the dark list, as the
    // other screens' lists
    QPalette list = ui->ImageVolume->view()->palette();
    list.setColor(QPalette::Text, Qt::white);
    ui->ImageVolume->view()->setPalette(list);

    para_init();
    lcd_language_deal();
    language_changed();

    agelog_open = 0;
    agelog_page = 0;
    if (g_numberkeyboard)
        connect(g_numberkeyboard, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, this,
                &AdvancedOption::confirmString);
    connect(JobRelay::instance(), &JobRelay::recovery_result, this, &AdvancedOption::recovery_result);
}

AdvancedOption::~AdvancedOption()
{
    if (g_advancedoption == this)
        g_advancedoption = nullptr;
    delete ui;
}

// ---------------------------------------------------------------- menu

void AdvancedOption::button_select(QPushButton *b)
{
    move_selection(menu_selected, b);
}

// The menu is inert while a receiving-card job shows its ring.
bool AdvancedOption::menu_open(QPushButton *b, int page)
{
    if (g_qround_bar)
        return false;
    agelog_open = 0;
    ui->stackedWidget->setCurrentIndex(page);
    button_select(b);
    return true;
}

void AdvancedOption::on_Button_LCDshow_clicked() { menu_open(ui->Button_LCDshow, 0); }

void AdvancedOption::on_Button_timeplan_clicked() { menu_open(ui->Button_timeplan, 2); }

void AdvancedOption::on_Button_other_clicked()
{
    if (!menu_open(ui->Button_other, 3))
        return;
    ui->Button_seamless->setIconSize(QSize(32, 32));
    ui->Button_fade->setIconSize(QSize(32, 32));
    ui->Button_volume_state->setIconSize(QSize(70, 32));
    ui->Button_wifi_state->setIconSize(QSize(70, 32));
}

void AdvancedOption::on_Button_factory_clicked()
{
    if (!menu_open(ui->Button_factory, 4))
        return;
    lcd_language_deal();
    show_fonts();
}

void AdvancedOption::select_tab(QPushButton *tab, QPushButton *partner, QWidget *line, int x)
{
    tab->setStyleSheet(QString::fromLatin1(kTabOn));
    partner->setStyleSheet(QString::fromLatin1(kTabOff));
    line->setGeometry(x, 57, 305, 4);
}

void AdvancedOption::on_Button_plan_clicked()
{
    ui->stackedWidget_3->setCurrentIndex(0);
    select_tab(ui->Button_plan, ui->Button_switch, ui->line_choose_2, 0);
}

void AdvancedOption::on_Button_switch_clicked()
{
    ui->stackedWidget_3->setCurrentIndex(0);
    select_tab(ui->Button_switch, ui->Button_plan, ui->line_choose_2, 305);
}

void AdvancedOption::on_Button_language_clicked()
{
    ui->stackedWidget_2->setCurrentIndex(0);
    select_tab(ui->Button_language, ui->Button_reset, ui->line_choose, 0);
}

void AdvancedOption::on_Button_reset_clicked()
{
    ui->stackedWidget_2->setCurrentIndex(1);
    select_tab(ui->Button_reset, ui->Button_language, ui->line_choose, 305);
}

// ---------------------------------------------------------------- time-outs

QString AdvancedOption::time_text(int ticks)
{
    if (ticks < 6000)
        return QString::asprintf("%ds", ticks / 100);
    if (ticks > 17999)
        return QString::asprintf("%dm", 3);
    if (ticks % 6000 != 0)
        return QString::asprintf("%.1fm", ticks / 6000.0);
    return QString::asprintf("%dm", ticks / 6000);
}

void AdvancedOption::on_horizontalSlider_valueChanged(int value) { ui->label_time->setText(time_text(value)); }

// Only a released handle changes the idle return; it lasts until a restart.
void AdvancedOption::on_horizontalSlider_sliderReleased()
{
    g_back_to_mainwindow_time = ui->horizontalSlider->value();
}

void AdvancedOption::set_auto_lock(QPushButton *chosen)
{
    const std::pair<QPushButton *, int> buttons[] = {
        {ui->Button_5min, kLock5min}, {ui->Button_10min, kLock10min}, {ui->Button_never, kLockNever}};
    for (const auto &[b, ticks] : buttons) {
        set_res_icon(b, b == chosen ? kChecked : kUnchecked);
        if (b == chosen)
            g_auto_lock_time = ticks;
    }
}

void AdvancedOption::on_Button_5min_clicked() { set_auto_lock(ui->Button_5min); }
void AdvancedOption::on_Button_10min_clicked() { set_auto_lock(ui->Button_10min); }
void AdvancedOption::on_Button_never_clicked() { set_auto_lock(ui->Button_never); }

// ---------------------------------------------------------------- languages

void AdvancedOption::lcd_language_deal()
{
    const std::pair<QPushButton *, QLabel *> family[5] = {{ui->Button_chinese, ui->label_cn},
                                                          {ui->Button_english, ui->label_en},
                                                          {ui->Button_ru, ui->label_ru},
                                                          {ui->Button_vn, ui->label_vn},
                                                          {ui->Button_tn, ui->label_tn}};
    for (int n = 0; n < 5; ++n) {
        const bool allowed = (g_lcd_lang_valid & (1 << n)) != 0;
        family[n].first->setVisible(allowed);
        family[n].second->setVisible(allowed);
        if (allowed && g_language <= 4)
            for (int m = 0; m < 5; ++m)
                set_res_icon(family[m].first, m == g_language ? kChecked : kUnchecked);
    }
    for (const auto &f : family)
        f.first->setIconSize(QSize(32, 32));
}

void AdvancedOption::choose_language(int code)
{
    QelRamPara *p = para();
    if (!p || p->ram_para[Img::LANGUAGE] == code)
        return;
    QPushButton *const buttons[5] = {ui->Button_chinese, ui->Button_english, ui->Button_ru, ui->Button_vn,
                                     ui->Button_tn};
    for (int m = 0; m < 5; ++m)
        set_res_icon(buttons[m], m == code ? kChecked : kUnchecked);
    g_language = u8(code);
    p->edit([code](u8 *img) { img[Img::LANGUAGE] = u8(code); });
    language_changed();
}

void AdvancedOption::on_Button_chinese_clicked() { choose_language(0); }
void AdvancedOption::on_Button_english_clicked() { choose_language(1); }
void AdvancedOption::on_Button_ru_clicked() { choose_language(2); }
void AdvancedOption::on_Button_vn_clicked() { choose_language(3); }
void AdvancedOption::on_Button_tn_clicked() { choose_language(4); }

// The scaler's font-presence bits; without the scaler manager every font
// shows absent. The 128- and 256-dot entries follow the 64-dot bits.
void AdvancedOption::show_fonts()
{
    const c331_manage *scaler = c331_manage::p_c331_manage;
    const u8 bits = scaler ? scaler->font_state.load() : 0;
    const std::pair<QLabel *, int> pictures[] = {
        {ui->label_32CNS, 0},  {ui->label_32ENS, 1},  {ui->label_64CNS, 2},  {ui->label_128CNS, 2},
        {ui->label_256CNS, 2}, {ui->label_64ENS, 3},  {ui->label_128ENS, 3}, {ui->label_256ENS, 3},
    };
    for (const auto &[label, bit] : pictures) {
        const QString path = QString::fromLatin1((bits >> bit) & 1 ? ":/png/osd_yes.bmp" : ":/png/osd_no.bmp");
        label->setPixmap(QPixmap(path));
        label->setProperty("res", path);
    }
}

// ---------------------------------------------------------------- other settings

// The window that is on and has exactly `position` windows on before it;
// -1 for no item, a position past them or no image.
int AdvancedOption::volume_window(int position) const
{
    const QelRamPara *p = para();
    if (!p || position < 0 || position > 5)
        return -1;
    for (int w = 0, seen = 0; w < Img::WINDOWS_USED; ++w) {
        if (!WindowView(p->ram_para, w).on())
            continue;
        if (seen++ == position)
            return w;
    }
    return -1;
}

void AdvancedOption::show_volume_state(int position)
{
    const int w = volume_window(position);
    const bool on = w >= 0 && WindowView(para()->ram_para, w).audioOn();
    set_res_icon(ui->Button_volume_state, on ? kToggleOn : kToggleOff);
}

void AdvancedOption::show_wifi(bool on) { set_res_icon(ui->Button_wifi_state, on ? kToggleOn : kToggleOff); }

void AdvancedOption::para_init()
{
    QelRamPara *p = para();
    if (!p)
        return;
    const u8 *img = p->ram_para;

    // an audio window out of range or switched off becomes window 0 (no refresh)
    const i16 audio = i16(Img::rd16(img, Img::AUDIO_WINDOW));
    if (audio < 0 || audio > 5 || !WindowView(img, audio).on())
        p->edit([](u8 *image) {
            Img::wr16(image, Img::AUDIO_WINDOW, 0);
            return false;
        });

    {
        // the refill is no operator's choice
        const QSignalBlocker block(ui->ImageVolume);
        ui->ImageVolume->clear();
        int current = -1;
        const int chosen = Img::rd16(img, Img::AUDIO_WINDOW);
        for (int w = 0; w < Img::WINDOWS_USED; ++w) {
            if (!WindowView(img, w).on())
                continue;
            if (w == chosen)
                current = ui->ImageVolume->count();
            ui->ImageVolume->addItem(kImageItem.text().arg(w + 1));
        }
        ui->ImageVolume->setCurrentIndex(current);
    }
    show_volume_state(ui->ImageVolume->currentIndex());

    show_wifi(img[Img::WIFI_OFF] == 0);

    const bool fade = Img::rd16(img, Img::SWITCH_EFFECT) != 0;
    set_res_icon(ui->Button_fade, fade ? kChecked : kUnchecked);
    set_res_icon(ui->Button_seamless, fade ? kUnchecked : kChecked);

    bool dbd = Img::rd16(img, Img::POINT_TO_POINT) != 0;
    for (int w = 0; w < Img::WINDOW_RECORDS && !dbd; ++w) {
        const WindowView rec(img, w);
        dbd = (rec.flags() >> 8) != 0 && rec.on();
    }
    set_res_icon(ui->Button_DBD_open, dbd ? kChecked : kUnchecked);
    set_res_icon(ui->Button_DBD_close, dbd ? kUnchecked : kChecked);
}

// Shows the audio state of the chosen window; writes nothing.
void AdvancedOption::on_ImageVolume_currentIndexChanged(int index)
{
    if (index > 5)
        return;
    show_volume_state(index);
}

void AdvancedOption::on_Button_volume_state_clicked()
{
    QelRamPara *p = para();
    const int w = volume_window(ui->ImageVolume->currentIndex());
    if (!p || w < 0)
        return;
    bool on = false;
    p->edit([&](u8 *img) {
        WindowEdit rec(img, w);
        on = !rec.audioOn();
        Img::wr16(img, Img::AUDIO_WINDOW, u16(w));
        rec.setVolume(on ? 255 : 0);
        rec.setAudio(on ? 0x80 : 0);
    });
    set_res_icon(ui->Button_volume_state, on ? kToggleOn : kToggleOff);
}

void AdvancedOption::set_switch_effect(bool fade)
{
    set_res_icon(ui->Button_fade, fade ? kChecked : kUnchecked);
    set_res_icon(ui->Button_seamless, fade ? kUnchecked : kChecked);
    QelRamPara *p = para();
    if (!p)
        return;
    p->edit([fade](u8 *img) {
        img[Img::SWITCH_EFFECT] = fade ? 1 : 0;
        if (fade)
            set_fade_pairs(img);
        for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
            WindowEdit rec(img, w);
            rec.setFlags(u16(fade ? rec.flags() | 0x0004 : rec.flags() & ~0x0004));
        }
    });
    p->ram_para_save();
}

void AdvancedOption::on_Button_seamless_clicked() { set_switch_effect(false); }
void AdvancedOption::on_Button_fade_clicked() { set_switch_effect(true); }

void AdvancedOption::set_point_to_point(bool on)
{
    set_res_icon(ui->Button_DBD_open, on ? kChecked : kUnchecked);
    set_res_icon(ui->Button_DBD_close, on ? kUnchecked : kChecked);
    QelRamPara *p = para();
    if (!p)
        return;
    p->edit([on](u8 *img) {
        img[Img::POINT_TO_POINT] = on ? 1 : 0;
        // the high byte of each record's flags is its point-to-point byte
        for (int w = 0; w < Img::WINDOW_RECORDS; ++w) {
            WindowEdit rec(img, w);
            rec.setFlags(u16((rec.flags() & 0x00FF) | (on ? 0x0100 : 0)));
        }
    });
    p->ram_para_save();
}

void AdvancedOption::on_Button_DBD_open_clicked() { set_point_to_point(true); }
void AdvancedOption::on_Button_DBD_close_clicked() { set_point_to_point(false); }

// The projection device's receiver: a 50 ms reset pulse.
void AdvancedOption::on_modeButton_clicked()
{
    tavixsource *source = tavixsource::p_tavix_source;
    if (source && source->it66121)
        source->it66121->GS2971_Reset();
}

// The byte is in the image before the access point is restarted or stopped.
void AdvancedOption::on_Button_wifi_state_clicked()
{
    QelRamPara *p = para();
    if (!p)
        return;
    const u8 before = p->ram_para[Img::WIFI_OFF];
    const u8 after = before != 0 ? 0 : 1;
    p->edit([after](u8 *img) { img[Img::WIFI_OFF] = after; });
    wifi_follow(before, after);
    show_wifi(after == 0);
}

// The access point follows a change of image byte 774: restarted by the
// Wi-Fi manager when it comes on, its daemons killed when it goes off.
void AdvancedOption::wifi_follow(u8 before, u8 after)
{
    if ((before == 0) == (after == 0))
        return;
    if (after == 0) {
        if (R58_WIFI_CONFIG::p_wifi)
            R58_WIFI_CONFIG::set_wifi_reset_flag();
        return;
    }
    Utils::system_mutex(QString::fromLatin1(kHostapdKill), nullptr);
    Utils::system_mutex(QString::fromLatin1(kUdhcpdKill), nullptr);
}

// ---------------------------------------------------------------- texts

// The recovery files are counted again, unless a job is using them.
void AdvancedOption::read_recovery_count()
{
    fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f || !f->rcv_recovery || g_send_para.job() != 0)
        return;
    if (f->rcv_recovery->get_dir_file(QString::fromLatin1(rcvRecovery::RECOVERY_DIR)) == 0)
        rcv_file_count = u8(qMin(f->rcv_recovery->recovery_file_count(), 255));
}

void AdvancedOption::language_changed()
{
    read_recovery_count();
    const char *style = kRcvGrey;
    if (rcv_file_count != 0)
        style = menu_selected == ui->Button_rcv_recovery ? SELECTED_STYLE : PLAIN_STYLE;
    set_style(ui->Button_rcv_recovery, style);

    const std::pair<QLabel *, PanelText> labels[] = {
        {ui->label_title, {"高级设置", "Advanced Settings", "Доп.опции", "Cài đặt nâng cao", "高級設置"}},
        {ui->label_backmainwindow,
         {"返回主界面时长", "To main interface", "Возврат к главному", "Quay lại màn hình chính", "返回主界麵時長"}},
        {ui->label_autolock, {"自动锁屏", "Auto-screen lock", "Автоблокировка", "Tự đọng khoá màn hình", "自動鎖屏"}},
        {ui->label_5min, {"5分钟", "5min", "5 мин", "5 phút", "5分鐘"}},
        {ui->label_10min, {"10分钟", "10min", "10 мин", "10 phút", "10分鐘"}},
        {ui->label_never, {"从不", "Never", "Отключить", "Không bao giờ khoá", "從不"}},
        {ui->label_rcv_update,
         {"接收卡更新", "Receiving card update", "Получить обновление карты", "Nhận thông tin cập nhập về thẻ",
          "接收卡更新"}},
        {ui->label_name_volume, {"音量", "Volume", "Звук", "âm thanh", "音量"}},
        {ui->label_name_switch, {"切换特效", "Switch mode", "Эффект", "Hiệu ứng", "切換特效"}},
        {ui->label_name_mode, {"投屏设备", "Projection", "Радиоприбор", "Cài đặt Thiết bị", "投屏設備"}},
        {ui->label_wifi, {"WIFI状态", "Wifi state", "WiFi статус", "Trạng thái wifi", "WIFI狀態"}},
        {ui->label_seamless, {"无缝快切", "Seamless", "Быстро", "Chuyển đổi ngay", "無縫快切"}},
        {ui->label_fade, {"淡入淡出", "Fade", "Плавно", "và ngoài", "淡入淡出"}},
        {ui->label_language, {"语言", "language", "Язык", "Ngôn ngữ", "語言"}},
        {ui->label_32CN, {"32高中文", "32 CN", "32 CN", "32 CN", "32高中文"}},
        {ui->label_32EN, {"32高英文", "32 EN", "32 EN", "32 EN", "32高英文"}},
        {ui->label_64CN, {"64高中文", "64 CN", "64 CN", "64 CN", "64高中文"}},
        {ui->label_64EN, {"64高英文", "64 EN", "64 EN", "64 EN", "64高英文"}},
        {ui->label_128CN, {"128高中文", "128 CN", "128 CN", "128 CN", "128高中文"}},
        {ui->label_128EN, {"128高英文", "128 EN", "128 EN", "128 EN", "128高英文"}},
        {ui->label_256CN, {"256高中文", "256 CN", "256 CN", "256 CN", "256高中文"}},
        {ui->label_256EN, {"256高英文", "256 EN", "256 EN", "256 EN", "256高英文"}},
        {ui->label_DBD_open, {"开启", "ON", "Вкл", "Mở", "開啟"}},
        {ui->label_DBD_open_2, {"关闭", "OFF", "Откл", "Đóng", "關閉"}},
        {ui->label_name_DBD, {"点对点", "DBD", "Пиксель к пикселю", "Điểm tới điểm", "點對點"}},
    };
    const std::pair<QPushButton *, PanelText> buttons[] = {
        {ui->Button_self_recovery, {"恢复", "Recover", "Восстановить", "Phục hồi", "恢複"}},
        {ui->Button_check, {"查询", "Check", "Считать", "Tìm hiểu", "查詢"}},
        {ui->Button_rcv_recovery,
         {"接收卡自恢复", "Rcv\nself-recovery", "Самовосст\nановление", "Thẻ nhận tự\nphục hồi", "接收卡自恢複"}},
        {ui->Button_plan, {"计划任务", "Planning Tasks", "Расписание задач", "Nhiệm vụ theo lịch trình", "計劃任務"}},
        {ui->Button_switch, {"定时切换", "Timer switch", "Расписание задач", "Kế hoạch thời gian", "定時切換"}},
        {ui->modeButton, {"点击切换", "Click OK", "Нажмите ОК", "Đồng ý", "點擊切換"}},
        {ui->Button_language, {"语言", "language", "Язык", "Ngôn ngữ", "語言"}},
        {ui->Button_reset, {"工厂复位", "Factory reset", "Сброс настроек", "Khôi phục cài đặt gốc", "工廠複位"}},
        {ui->Button_LCDshow, {"液晶显示", "LCD display", "ЖК дисплей", "Màn hình LCD", "液晶顯示"}},
        {ui->Button_timeplan,
         {"计划任务", "Planning Tasks", "Расписание задач", "Nhiệm vụ theo lịch trình", "計劃任務"}},
        {ui->Button_other, {"其它设置", "Other Settings", "Другие\nнастройки", "Cài đặt khác", "其它設置"}},
        {ui->Button_factory,
         {"工厂设置", "Factory setup", "Системные\nнастройки", "Khôi phục\ncàiđăt gốc", "工廠設置"}},
        {ui->Button_reset1, {"保持IP不变", "Keep IP", "Сохранить IP", "Giữ nguyên IP", "保持IP不變"}},
        {ui->Button_reset2,
         {"IP和EDID保持不变", "Keep IP,EDIP", "Сохранить IP и EDID", "IP và EDID vẫn giữ nguyên", "IP和EDID保持不變"}},
        {ui->Button_reset3,
         {"全部恢复出厂设置", "Reset ALL", "Сбросить все", "Khôi phục cài đặt gốc tất cả", "全部恢複出廠設置"}},
        {ui->Button_factory_age, {"工厂老化", "Aging", "Сброс\nнастроек", "Lão hóa\nnhà máy", "工廠老化"}},
    };
    for (const auto &[label, text] : labels)
        label->setText(text.text());
    for (const auto &[button, text] : buttons)
        button->setText(text.text());
}

// ---------------------------------------------------------------- refresh

// The shown settings differ between the image and the shadow.
bool AdvancedOption::settings_changed() const
{
    const QelRamPara *p = para();
    const u8 *img = p->ram_para;
    const u8 *shadow = p->ram_para_shadow;
    const auto differs = [img, shadow](int offset) { return Img::rd16(img, offset) != Img::rd16(shadow, offset); };
    const int audio = Img::rd16(img, Img::AUDIO_WINDOW);
    if (audio <= 5 && differs(Img::window(audio, Img::W_VOLUME)))
        return true;
    for (int offset : {Img::SWITCH_EFFECT, Img::AUDIO_WINDOW, Img::POINT_TO_POINT})
        if (differs(offset))
            return true;
    for (int w = 0; w < Img::WINDOWS_USED; ++w)
        if (differs(Img::window(w, Img::W_ON)) || differs(Img::window(w, Img::W_FLAGS)))
            return true;
    return img[Img::WIFI_OFF] != shadow[Img::WIFI_OFF];
}

void AdvancedOption::syncUpdate(int code)
{
    QelRamPara *p = para();
    if (!p)
        return;
    bool language = false;
    if (p->QelLanguageChanged() == 1) {
        language = true;
        language_changed();
        lcd_language_deal();
    }
    if (language || settings_changed())
        para_init();
    const u16 counter = g_send_para.recovery_counter.load();
    if (rcv_self_recovery_ornot()
        && (code == REFRESH_RECOVERY_EMPTY || (counter != 255 && counter != fpga_manage::NO_RECOVERY)))
        rcv_self_recovery_file_list();
}

// A running receiving-card job reports to this screen: it stays open.
void AdvancedOption::on_Button_back_clicked()
{
    if (g_qround_bar)
        return;
    back_to_settings(this, g_advancedoption);
}
