#include "ui/output/linkoption.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <utility>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/logmsg.h"
#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "ui/picture/settings_page.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/paged_rows.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_linkoption.h"

namespace {

const PanelText kNoFile = {"无加载文件!", "No loaded file!", "Нет файлов для загрузки!", "Không có tập tin để tải!",
                           "無加載文件!"};
const PanelText kUpgradeFailed = {"升级失败：%1", "Upgrade failed: %1", "Ошибка обновления: %1",
                                  "Cập nhật thất bại: %1", "升級失敗：%1"};
const PanelText kKeypadTitles[3] = {
    {"IP", "IP", "IP", "IP", "IP"},
    {"掩码", "mask", "mask", "mask", "掩碼"},
    {"网关", "gateway", "gateway", "gateway", "網關"},
};

// An octet as typed or stored: all digits (at most nine) worth 0..255; -1 otherwise.
int octet_value(const QString &text)
{
    const KeypadNumber n = keypad_number(text, 0, 255);
    return n.ok ? n.value : -1;
}

}

LinkOption::LinkOption(QWidget *parent) : QDialog(parent), ui(new Ui::LinkOption)
{
    ui->setupUi(this);
    ui->stackedWidget->setCurrentIndex(0);
    set_back_icon(ui->Button_back);
    current_menu_button = ui->Button_com;
    set_style(ui->Button_com, SELECTED_STYLE);
    set_connection_mode(true);
    language_changed();

    // the rows of four, address, mask and gateway
    const std::initializer_list<My_lineEdit *> fields = {
        ui->lineEditIp1,   ui->lineEditIp2,   ui->lineEditIp3,   ui->lineEditIp4,
        ui->lineEditMask1, ui->lineEditMask2, ui->lineEditMask3, ui->lineEditMask4,
        ui->lineEditGate1, ui->lineEditGate2, ui->lineEditGate3, ui->lineEditGate4,
    };
    int i = 0;
    for (My_lineEdit *f : fields) {
        octets[i / 4][i % 4] = f;
        octet_style[i / 4][i % 4] = f->styleSheet();
        ++i;
    }
    fill_row(IP, g_str_ip.get());
    fill_row(MASK, g_srt_mask.get());
    fill_row(GATE, g_str_gateway.get());
    connect_keypad(this, fields);
}

LinkOption::~LinkOption()
{
    if (g_linkoption == this)
        g_linkoption = nullptr;
    delete ui;
}

void LinkOption::on_Button_back_clicked() { back_to_settings(this, g_linkoption); }

// ------------------------------------------------------------ menu

void LinkOption::select_menu(QPushButton *button, int page)
{
    ui->stackedWidget->setCurrentIndex(page);
    move_selection(current_menu_button, button);
}

void LinkOption::on_Button_com_clicked() { select_menu(ui->Button_com, 0); }
void LinkOption::on_Button_wlan_clicked() { select_menu(ui->Button_wlan, 1); }

void LinkOption::on_Button_usb_clicked()
{
    select_menu(ui->Button_usb, 2);
    list_files();
}

// Shown only: the choice is kept nowhere.
void LinkOption::set_connection_mode(bool direct)
{
    const QString on = QStringLiteral(":/png/checked.png");
    const QString off = QStringLiteral(":/png/unchecked.png");
    set_icon(ui->Button_direct, direct ? on : off, 32);
    set_icon(ui->Button_IP, direct ? off : on, 32);
}

void LinkOption::on_Button_direct_clicked() { set_connection_mode(true); }
void LinkOption::on_Button_IP_clicked() { set_connection_mode(false); }

// ------------------------------------------------------------ network

// A setting with fewer than four parts leaves the missing fields empty.
void LinkOption::fill_row(Row row, const QString &address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    for (int k = 0; k < 4; ++k)
        octets[row][k]->setText(k < parts.size() ? parts.at(k) : QString());
}

void LinkOption::set_bad(My_lineEdit *field, bool bad)
{
    for (int r = 0; r < ADDRESS_ROWS; ++r)
        for (int k = 0; k < 4; ++k)
            if (octets[r][k] == field)
                field->setStyleSheet(bad ? refused_style(octet_style[r][k]) : octet_style[r][k]);
}

void LinkOption::show_numberkeyboard_ui(QString text)
{
    My_lineEdit *field = sender_field(this, sender());
    if (!field)
        return;
    edit_name = field->objectName();
    for (int r = 0; r < ADDRESS_ROWS; ++r)
        for (My_lineEdit *f : octets[r])
            if (f == field)
                open_keypad(field, kKeypadTitles[r].text(), text);
}

// The field takes the number as QString::number writes it; anything but
// 0..255 leaves it as it was and marks it. The first three address octets
// also go to the gateway.
void LinkOption::confirmString(QString text)
{
    My_lineEdit *field = own_keypad_field(this);
    if (!field)
        return;
    edit_name = field->objectName();
    const int v = octet_value(text);
    if (v < 0) {
        set_bad(field, true);
        return;
    }
    const QString number = QString::number(v);
    field->setText(number);
    set_bad(field, false);
    for (int k = 0; k < 3; ++k) {
        if (field == octets[IP][k]) {
            octets[GATE][k]->setText(number);
            set_bad(octets[GATE][k], false);
        }
    }
}

// Nothing is written unless every field holds 0..255; the others are
// highlighted. The addresses are written as numbers, never with leading zeros.
void LinkOption::on_Button_net_apply_clicked()
{
    set_style(ui->Button_net_cancel, PLAIN_STYLE);
    set_style(ui->Button_net_apply, SELECTED_STYLE);

    QString address[ADDRESS_ROWS];
    bool good = true;
    for (int r = 0; r < ADDRESS_ROWS; ++r) {
        QStringList parts;
        for (My_lineEdit *f : octets[r]) {
            const int v = octet_value(f->text());
            set_bad(f, v < 0);
            good = good && v >= 0;
            parts << QString::number(v);
        }
        address[r] = parts.join(QLatin1Char('.'));
    }
    if (!good)
        return;
    if (address[IP] == g_str_ip.get() && address[MASK] == g_srt_mask.get() && address[GATE] == g_str_gateway.get())
        return;
    ConfigEngine *config = ConfigEngine::p_config;
    if (!config) {
        writeLogMsg(LOG_MISSING, QStringLiteral("network settings: no settings store"));
        return;
    }
    // one replace of the file: a power cut leaves the old three or the new
    if (!config->write_config_variants({{ConfigItem::IPAddress, address[IP]},
                                        {ConfigItem::SubNetMask, address[MASK]},
                                        {ConfigItem::GateWay, address[GATE]}}))
        return;
    Utils::initIPAddress();
    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->test_signal(REFRESH_SAVE);
}

// The fields keep what was typed.
void LinkOption::on_Button_net_cancel_clicked()
{
    set_style(ui->Button_net_cancel, SELECTED_STYLE);
    set_style(ui->Button_net_apply, PLAIN_STYLE);
}

// ------------------------------------------------------------ USB upgrade

// The upgrade files of the stick's upgrade folder in the order the FPGA
// manager takes them; the rows it installs are the marked ones.
void LinkOption::get_file_list_smartpath()
{
    std::memset(file_marked, 0, sizeof file_marked);
    qel_file_count = 0;
    qelzk_file_count = 0;
    upgrade_files.clear();
    for (const fpga_manage::UpgradeFile &file : DeviceRequests::upgrade_listing()) {
        if (upgrade_files.size() >= fpga_manage::UPGRADE_LIST_MAX)
            break;
        if (QFileInfo(file.path).suffix() == QLatin1String("QEL"))
            ++qel_file_count;
        else
            ++qelzk_file_count;
        file_marked[upgrade_files.size()] = file.install ? 1 : 0;
        upgrade_files.append(file.path);
    }
    file_count = upgrade_files.size();
}

// The first five files, each row the file's own name as plain text.
void LinkOption::rcv_self_recovery_file_list()
{
    delete file_frame;
    for (int k = 0; k < ROWS; ++k) {
        row_labels[k] = nullptr;
        row_names[k].clear();
    }
    PagedRows *list = new PagedRows(ui->page_3);
    file_frame = list;
    if (file_count == 0)
        list->show_empty(kNoFile.text());
    for (int k = 0; k < std::min(file_count, int(ROWS)); ++k) {
        const QString name = QFileInfo(upgrade_files.at(k)).fileName();
        // rows take no touches on this screen
        row_labels[k] = list->add_row(k, QStringLiteral("<font color = #FFFFFF >%1</font>").arg(name.toHtmlEscaped()),
                                      Qt::RichText, QString::fromLatin1(file_marked[k] ? SELECTED_STYLE : ROW_PLAIN_STYLE));
        row_names[k] = name;
    }
    file_frame->show();
}

void LinkOption::list_files()
{
    get_file_list_smartpath();
    rcv_self_recovery_file_list();
}

bool LinkOption::any_marked() const
{
    for (int i = 0; i < file_count; ++i)
        if (file_marked[i])
            return true;
    return false;
}

void LinkOption::on_Button_ok_clicked() { menulist_button_ok_page(); }

// Once per stick and screen. Refused with nothing marked, while a job or an
// upgrade runs, or when the stick no longer holds a package.
void LinkOption::menulist_button_ok_page()
{
    if (file_downing == 1 || !any_marked() || DeviceRequests::upgrade_packages().isEmpty())
        return;
    if (!fpga_manage::start_usb_upgrade())
        return;
    file_downing = 1;
    upgrade_first.clear();
    for (int i = 0; i < file_count && upgrade_first.isEmpty(); ++i)
        if (file_marked[i])
            upgrade_first = QFileInfo(upgrade_files.at(i)).fileName();
    qel_trace("\n menulist_button_ok_page 00 in  file_downing = %#x \n", file_downing);
}

// Once every package went in: green "downing over" and the times, for an
// upgrade started here from a stick still in (the device reboots). Else a
// red line naming the first package not installed, and OK works again.
void LinkOption::show_upgrade_result()
{
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f || upgrade_first.isEmpty())
        return;
    const fpga_manage::UpgradeResult result = f->upgrade_result();
    if (result.complete) {
        if (file_downing == 1)
            ui->label_log->setText(QStringLiteral("<font style = 'font-size:20px' color = #51BB28 >%1</font>")
                                       .arg(QStringLiteral("downing over<br>") + f->upgrade_times().toHtmlEscaped()));
    } else {
        // none found: the stick went before the list was read
        const QString name = result.failed.isEmpty() ? upgrade_first : result.failed;
        QFont font = ui->label_log->font();
        font.setPixelSize(20);
        const QFontMetrics metrics(font);
        const QString text = kUpgradeFailed.text();
        const int room = ui->label_log->width() - 10 - metrics.horizontalAdvance(text.arg(QString()));
        const QString shown = metrics.elidedText(name, Qt::ElideMiddle, qMax(room, 0));
        ui->label_log->setText(QStringLiteral("<font style = 'font-size:20px' color = #E5484D >%1</font>")
                                   .arg(text.arg(shown).toHtmlEscaped()));
        file_downing = 0;
    }
    upgrade_first.clear();
}

// ------------------------------------------------------------ refresh

void LinkOption::syncUpdate(int code)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p && p->QelLanguageChanged() == 1) {
        language_changed();
        if (current_menu_button == ui->Button_usb)
            list_files();
    }
    switch (code) {
    case REFRESH_USB_IN:
        qel_trace("\n yes ,got the usb in");
        break;
    case REFRESH_USB_OUT:
        qel_trace("\n yes ,got the usb out");
        list_files();
        file_downing = 0;
        break;
    case REFRESH_USB_READY:
        list_files();
        break;
    case REFRESH_UPGRADE_DONE:
        if (current_menu_button == ui->Button_usb)
            show_upgrade_result();
        break;
    default:
        break;
    }
}

void LinkOption::language_changed()
{
    const std::pair<QLabel *, PanelText> labels[] = {
        {ui->label_title, {"通讯设置", "Communication", "Подключение", "Cài đặt giao tiếp", "通訊設置"}},
        {ui->label_baud, {"波特率", "Baud rate", "Скорость передачи", "Tốc độ truyền", "波特率"}},
        {ui->label_bit, {"数据位", "Data bits", "Биты данных", "Bit dữ liệ", "數據位"}},
        {ui->label_stop, {"停止位", "Stop bit", "Бит остановки", "Dừng bit", "停止位"}},
        {ui->label_network, {"网卡", "Network", "Сетевая карта", "Thẻ kết nối", "網卡"}},
        {ui->label_direct, {"单机直连", "Direct link", "Напрямую", "Kết nối trực tiếp độc lập", "單機直連"}},
        {ui->label_IP, {"固定IP", "Fixed IP mode", "По IP-адресу", "Dự phòng nóng", "固定IP"}},
        {ui->label_IpSet, {"IP地址", "IP", "IP-адрес", "Địa chỉ IP", "IP地址"}},
        {ui->label_netmask, {"子网掩码", "Mask", "Маска", "Cài đặt mặt lạ con", "子網掩碼"}},
        {ui->label_gateway, {"网关", "Gate", "Шлюз", "Cổng vào", "網關"}},
    };
    const std::pair<QPushButton *, PanelText> buttons[] = {
        {ui->Button_com, {"串口连接", "Serial port", "COM-порт", "Cài đặt cổng\n nối tiếp", "串口連接"}},
        {ui->Button_wlan, {"网口设置", "Net connect", "Сетевое по\nдключение", "Cài đặt\ncổng mạng", "網口設置"}},
        {ui->Button_usb, {"USB升级", "USB UPDATE", "Обновление\nчерез USB", "Sử dụng ổ USB\nđể cập nhập", "USB昇級"}},
        {ui->Button_net_cancel, {"取消", "Cancle", "Отмена", "Hủy bỏ", "取消"}},
        {ui->Button_net_apply, {"应用", "Apply", "OK", "Đồng ý", "應用"}},
        {ui->Button_ok, {"确定", "OK", "OK", "Đồng ý", "確定"}},
    };
    for (const auto &[label, text] : labels)
        label->setText(text.text());
    for (const auto &[button, text] : buttons)
        button->setText(text.text());
}
