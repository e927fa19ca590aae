#include "ui/output/smartmapping.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <mutex>
#include <utility>

#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_manage.h"
#include "ui/output/scan_file_list.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_smartmapping.h"

namespace {

// Load scan in the menu: greyed while there is no scan file.
const char *const LOAD_SCAN_GREY = "background-color: gray;border:2px;color: #FFFFFF";

const PanelText NEXT{"下一步", "Next", "Далее", "Bước tiếp theo", "下一步"};
const PanelText PREVIOUS{"上一步", "Previous", "Назад", "Thao tác\nphía trước", "上一步"};
const PanelText GROUP{"网口%1~%2", "LED%1~%2", "LED%1~%2", "LED%1~%2", "網口%1~%2"};
const PanelText TILE{"网口LED%1", "LED%1", "LED%1", "LED%1", "網口LED%1"};
const PanelText ROUTING{"走线%1", "Routing %1", "Путь %1", "Dấu vết%1", "走線%1"};

// The ports of group g (0..2): "LED1~8".
QString group_text(int g) { return GROUP.text().arg(8 * g + 1).arg(8 * g + 8); }

// Ranges of the entry fields: rows and columns 1..255, sizes and offsets 16 bits.
int field_max(const QString &name)
{
    return name == QLatin1String("lineEdit_line") || name == QLatin1String("lineEdit_column") ? 255 : 65535;
}
int field_min(const QString &name) { return field_max(name) == 255 ? 1 : 0; }

// A field's value; 0 when its text is not a number within its range.
int field_value(const QLineEdit *field)
{
    const KeypadNumber n = keypad_number(field->text(), field_min(field->objectName()), field_max(field->objectName()));
    return n.ok ? n.value : 0;
}

bool ring_shows() { return g_qround_bar != nullptr; }

}

SmartMapping::SmartMapping(QWidget *parent) : QDialog(parent), ui(new Ui::SmartMapping)
{
    ui->setupUi(this);
    scan_list = new ScanFileList(ui->page_6, this);

    set_icon(ui->Button_back, QStringLiteral(":/png/back.png"), QSize(32, 32));
    ui->stackedWidget->setCurrentIndex(0);
    selected_group_button = ui->Button_wlan1;
    selected_menu_button = ui->Button_shortcut;
    set_style(ui->Button_shortcut, SELECTED_STYLE);
    ui->Button_wlan4->hide();
    ui->Button_wlan8->hide();
    // the port groups of page 1 and page 4; the fourth is not shown
    QPushButton *const groups[2][4] = {{ui->Button_wlan1, ui->Button_wlan2, ui->Button_wlan3, ui->Button_wlan4},
                                       {ui->Button_wlan5, ui->Button_wlan6, ui->Button_wlan7, ui->Button_wlan8}};
    for (int page = 0; page < 2; ++page) {
        for (int g = 0; g < 4; ++g) {
            QPushButton *b = groups[page][g];
            if (g < 3)
                b->setGeometry(85 + 150 * g, 59, 130, 50);
            connect(b, &QPushButton::clicked, this, [this, b, g, page] { group_select(b, u8(g), page); });
        }
    }
    edit_line([](LINE_TYPE &l) { l.output_port = 0; });
    language_changed();
    line_select(1);
    file_list_shown = 0;
    edit_line([](LINE_TYPE &l) { l.routing = 1; });

    for (int n = 1; n <= 16; ++n)
        connect(route_button(n), &QToolButton::clicked, this, [this, n] { route_chosen(n); });
    connect_keypad(this, {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_line, ui->lineEdit_column, ui->lineEdit_horzion,
                          ui->lineEdit_vert});
}

SmartMapping::~SmartMapping()
{
    if (g_smartmapping == this)
        g_smartmapping = nullptr;
    delete ui;
}

// ------------------------------------------------------------ cabinet record

void SmartMapping::edit_line(const std::function<void(LINE_TYPE &)> &change)
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    change(line_type);
}

LINE_TYPE SmartMapping::line() const
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    return line_type;
}

// ------------------------------------------------------------ menu

// Another task: a port Send refused is no longer marked.
void SmartMapping::button_select(QPushButton *button)
{
    refused_port = -1;
    move_selection(selected_menu_button, button);
}

void SmartMapping::on_Button_shortcut_clicked()
{
    if (ring_shows())
        return;
    button_select(ui->Button_shortcut);
    ui->stackedWidget->setCurrentIndex(0);
    file_list_shown = 0;
    page0_texts();
}

void SmartMapping::on_Button_loadscan_clicked()
{
    if (ring_shows() || scan_list->counted() == 0)
        return;
    button_select(ui->Button_loadscan);
    ui->stackedWidget->setCurrentIndex(4);
    group_select(ui->Button_wlan5, 0, 1);
    page4_texts();
    file_list_shown = 0;
}

void SmartMapping::on_Button_paraweld_clicked()
{
    if (ring_shows())
        return;
    button_select(ui->Button_paraweld);
    ui->stackedWidget->setCurrentIndex(6);
    page6_texts();
    file_list_shown = 0;
}

void SmartMapping::on_Button_mapping_clicked()
{
    if (ring_shows())
        return;
    button_select(ui->Button_mapping);
    show_mapping_state();
    ui->stackedWidget->setCurrentIndex(7);
    file_list_shown = 0;
    page7_texts();
}

// Mapping is on when bit 7 of register 0 is set in both FPGAs; without the
// FPGA manager it reads off.
void SmartMapping::show_mapping_state()
{
    bool on = false;
    if (fpga_manage *f = fpga_manage::p_fpga_manage) {
        f->read_from_register(0, 0);
        f->read_from_register(0, 1);
        on = (f->reg_mirror(0, 0) & 0x80) && (f->reg_mirror(1, 0) & 0x80);
    }
    set_icon(ui->Button_mapping_state, on ? QStringLiteral(":/png/button_on.png") : QStringLiteral(":/png/button_off.png"),
             QSize(70, 32));
}

// ------------------------------------------------------------ cabinet and port pages

void SmartMapping::on_Button_next_clicked()
{
    const u16 w = u16(field_value(ui->lineEdit_X));
    const u16 h = u16(field_value(ui->lineEdit_Y));
    edit_line([w, h](LINE_TYPE &l) {
        l.cabinet_width = w;
        l.cabinet_height = h;
    });
    group_select(ui->Button_wlan1, 0, 0);
    page1_texts();
    ui->stackedWidget->setCurrentIndex(1);
}

void SmartMapping::on_Button_front_2_clicked()
{
    ui->stackedWidget->setCurrentIndex(0);
    page0_texts();
}

void SmartMapping::on_Button_next_2_clicked()
{
    ui->stackedWidget->setCurrentIndex(2);
    page2_texts();
}

void SmartMapping::group_select(QPushButton *button, u8 group, int page)
{
    move_selection(selected_group_button, button, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
    port_group = group;
    wlan_init(page);
}

// The eight port tiles of the group on page 1 (page 0) or page 4 (page 1).
void SmartMapping::wlan_init(int page)
{
    retire(tiles_frame);
    QWidget *host = page == 0 ? ui->page_2 : ui->page_5;
    tiles_frame = new QFrame(host);
    tiles_frame->setObjectName(QStringLiteral("tiles_frame"));
    tiles_frame->setGeometry(1, 135, 608, 165);
    selected_tile = nullptr;
    const int port = line().output_port;
    QFont font = this->font();
    font.setPointSize(12);
    for (int t = 0; t < 8; ++t) {
        const int c = t % 4, r = t / 4;
        QFrame *frame = new QFrame(tiles_frame);
        frame->setObjectName(QStringLiteral("tile_frame_%1").arg(t));
        frame->setGeometry(9 + 150 * c, 14 + 75 * r, 130, 60);
        const QString style = QString::fromLatin1(port_group * 8 + t == port ? TILE_SELECTED_STYLE : TILE_PLAIN_STYLE);
        frame->setStyleSheet(port_group * 8 + t == refused_port ? refused_style(style) : style);
        if (port_group * 8 + t == port)
            selected_tile = frame;

        QLabel *icon = new QLabel(tiles_frame);
        icon->setObjectName(QStringLiteral("tile_icon_%1").arg(t));
        icon->setGeometry(59 + 150 * c, 17 + 75 * r, 32, 28);
        icon->setStyleSheet(QStringLiteral("background: transparent;"));
        set_picture(icon, QStringLiteral(":/png/offline.png"));

        QLabel *label = new QLabel(tiles_frame);
        label->setObjectName(QStringLiteral("tile_label_%1").arg(t));
        label->setGeometry(29 + 150 * c, 45 + 75 * r, 91, 28);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("background-color: #212435;color: #FFFFFF"));
        label->setText(TILE.text().arg(port_group * 8 + t + 1));

        QPushButton *over = cover_button(tiles_frame, t, QRect(10 + 150 * c, 15 + 75 * r, 128, 58));
        over->setStyleSheet(QString::fromLatin1(COVER_STYLE));
        connect(over, &QPushButton::clicked, this, &SmartMapping::qel_button_wlan_clicked);
    }
    tiles_frame->show();
}

void SmartMapping::qel_button_wlan_clicked()
{
    const int t = sender_number(sender(), 8);
    if (t < 0)
        return;
    refused_port = -1;
    const u8 port = u8(port_group * 8 + t);
    edit_line([port](LINE_TYPE &l) { l.output_port = port; });
    move_selection(selected_tile, tiles_frame->findChild<QFrame *>(QStringLiteral("tile_frame_%1").arg(t)),
                   TILE_SELECTED_STYLE, TILE_PLAIN_STYLE);
}

// The port page with the group of `port` and that port's tile marked.
void SmartMapping::show_refused_port(int port)
{
    QPushButton *const groups[3] = {ui->Button_wlan1, ui->Button_wlan2, ui->Button_wlan3};
    refused_port = port;
    group_select(groups[port / 8], u8(port / 8), 0);
    page1_texts();
    ui->stackedWidget->setCurrentIndex(1);
}

// ------------------------------------------------------------ screen parameters, routing

void SmartMapping::line_select(int n)
{
    if (n < 1 || n > 16)
        return;
    set_icon(ui->Button_route, QStringLiteral(":/png/line%1.png").arg(n), QSize(30, 30));
    ui->Button_route->setText(ROUTING.text().arg(n));
    edit_line([n](LINE_TYPE &l) { l.routing = u8(n); });
}

void SmartMapping::on_Button_route_clicked()
{
    ui->stackedWidget->setCurrentIndex(3);
    page3_texts();
}

// The choice of routing pattern n (1..16).
QToolButton *SmartMapping::route_button(int n) const
{
    return findChild<QToolButton *>(QStringLiteral("Button_route%1").arg(n));
}

void SmartMapping::route_chosen(int n)
{
    line_select(n);
    ui->stackedWidget->setCurrentIndex(2);
    page2_texts();
}


void SmartMapping::on_Button_cancel_clicked() { ui->stackedWidget->setCurrentIndex(2); }

void SmartMapping::on_Button_front_3_clicked()
{
    if (ring_shows())
        return;
    ui->stackedWidget->setCurrentIndex(1);
    page1_texts();
}

// Job 1: every card of the chosen port learns its place. A port without
// cards (no link) is refused: the port page shows it marked.
void SmartMapping::on_Button_send_clicked()
{
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    const int port = line().output_port;
    if (!ring_shows() && f && port < 24 && !((f->link_mask() >> port) & 1u)) {
        show_refused_port(port);
        return;
    }
    DeviceRequests::start_card_job(this, JOB_SMART_MAPPING, [this] {
        const u8 rows = u8(field_value(ui->lineEdit_line));
        const u8 columns = u8(field_value(ui->lineEdit_column));
        const u16 h = u16(field_value(ui->lineEdit_horzion));
        const u16 v = u16(field_value(ui->lineEdit_vert));
        edit_line([=](LINE_TYPE &l) {
            l.rows = rows;
            l.columns = columns;
            l.horizontal_offset = h;
            l.vertical_offset = v;
        });
    });
}

// ------------------------------------------------------------ scan files

// The list from the first page: device files first, then the stick's.
void SmartMapping::show_file_list()
{
    if (scan_list->show_first_page() != 0 && scan_list->counted() == 0) {
        // a stick came after the count: its files count too
        scan_list->count();
        show_load_scan_state();
    }
    file_list_shown = 1;
    ui->stackedWidget->setCurrentIndex(5);
    page5_texts();
}

void SmartMapping::on_Button_next_5_clicked() { show_file_list(); }

void SmartMapping::on_Button_front_6_clicked()
{
    if (ring_shows())
        return;
    ui->stackedWidget->setCurrentIndex(4);
    wlan_init(1);
    page4_texts();
}

// Job 2: the chosen file into the cards of the chosen port; any file the
// list shows can be chosen.
void SmartMapping::on_Button_load_clicked()
{
    if (ScanFileList::chosen())
        DeviceRequests::start_card_job(this, JOB_LOAD_FROM_USB);
}

void SmartMapping::show_load_scan_state()
{
    set_style(ui->Button_loadscan, scan_list->counted() == 0                    ? LOAD_SCAN_GREY
                                   : selected_menu_button == ui->Button_loadscan ? SELECTED_STYLE
                                                                                 : PLAIN_STYLE);
}

// ------------------------------------------------------------ curing, mapping

void SmartMapping::on_Button_confirm_clicked() { DeviceRequests::start_card_job(this, JOB_SAVE_PARA); }

// Job 4: bit 7 of register 0 in both FPGAs, then the cards. On in both
// turns it off; anything else turns it on.
void SmartMapping::on_Button_mapping_state_clicked()
{
    DeviceRequests::start_card_job(this, JOB_MAPPING_ENABLE, [this] {
        fpga_manage *f = fpga_manage::p_fpga_manage;
        f->read_from_register(0, 0);
        f->read_from_register(0, 1);
        const bool on = (f->reg_mirror(0, 0) & 0x80) && (f->reg_mirror(1, 0) & 0x80);
        const u8 value = on ? 0x00 : 0x80;
        f->write_to_register(0, 0x80, value, 0);
        f->write_to_register(0, 0x80, value, 1);
        set_icon(ui->Button_mapping_state,
                 on ? QStringLiteral(":/png/button_off.png") : QStringLiteral(":/png/button_on.png"), QSize(70, 32));
        g_send_para.arg.store(on ? 0 : 9);
    });
}

// ------------------------------------------------------------ keypad

void SmartMapping::show_numberkeyboard_ui(QString text)
{
    My_lineEdit *field = sender_field(this, sender());
    if (!field)
        return;
    const std::pair<const QLineEdit *, PanelText> titles[] = {
        {ui->lineEdit_X, {"箱体宽度", "width", "width", "width", "箱體寬度"}},
        {ui->lineEdit_Y, {"箱体高度", "height", "height", "height", "箱體高度"}},
        {ui->lineEdit_line, {"箱体行数", "rows", "rows", "rows", "箱體行數"}},
        {ui->lineEdit_column, {"箱体列数", "lines", "lines", "lines", "箱體列數"}},
        {ui->lineEdit_horzion, {"水平偏移", "Horizontal", "Horizontal", "Horizontal", "水平偏移"}},
        {ui->lineEdit_vert, {"垂直偏移", "Vertical", "Vertical", "Vertical", "垂直偏移"}},
    };
    for (const auto &[edit, title] : titles)
        if (edit == field)
            open_keypad(field, title.text(), text);
}

// Only a whole number within the field's range is taken.
void SmartMapping::confirmString(QString text)
{
    My_lineEdit *field = own_keypad_field(this);
    if (!field)
        return;
    const QString name = field->objectName();
    const KeypadNumber n = keypad_number(text, field_min(name), field_max(name));
    if (n.ok)
        field->setText(QString::number(n.value));
}

// ------------------------------------------------------------ texts

void SmartMapping::page0_texts()
{
    ui->label_step1->setText(PanelText{"步骤1箱体设置", "Step 1 Cabinet setup", "Шаг 1. Настройка кабинета",
                                       "Bước 1: Thiết lập cabin", "步驟1箱體設置"}.text());
    ui->label_boxwidth->setText(
        PanelText{"箱体宽度", "Cabinet width", "Ширина кабинета", "Chiều rộng cabin", "箱體寬度"}.text());
    ui->label_boxheight->setText(
        PanelText{"箱体高度", "Cabinet height", "Высота кабинета", "Chiều cao cabin", "箱體高度"}.text());
    ui->Button_next->setText(NEXT.text());
}

void SmartMapping::page1_texts()
{
    ui->label_step2->setText(PanelText{"步骤2选择网口", "Step 2 Select port", "Шаг 2. Выберите сетевой порт",
                                       "Bước 2 :Chọn cổng mạng", "步驟2選擇網口"}.text());
    ui->Button_wlan1->setText(group_text(0));
    ui->Button_wlan2->setText(group_text(1));
    ui->Button_wlan3->setText(group_text(2));
    ui->Button_front_2->setText(PREVIOUS.text());
    ui->Button_next_2->setText(NEXT.text());
}

void SmartMapping::page2_texts()
{
    const std::pair<QLabel *, PanelText> labels[] = {
        {ui->label_step3,
         {"步骤3屏参设置", "Step 3 Screen parameter setting", "Шаг 3.Настройка параметров экрана",
          "Bước 3:Cài đặt thông số màn hình", "步驟3屏參設置"}},
        {ui->label_boxline,
         {"箱体行数", "Number of Cabinet in rows", "Кол-во рядов", "Số lượng hàng tủ", "箱體行數"}},
        {ui->label_boxlcolumn,
         {"箱体列数", "Number of Cabinet in lines", "Кол-во столбцов", "Số lượng cột tủ", "箱體列數"}},
        {ui->label_routeway,
         {"屏体走线方式", "Screen alignment mode", "Тип подключения кабинетов", "Chế độ căn chỉnh màn hình",
          "屏體走線方式"}},
        {ui->label_horizon,
         {"水平偏移", "Horizontal offset", "Горизонтальное смещение", "Bù đắp theo chiều ngang", "水平偏移"}},
        {ui->label_vert, {"垂直偏移", "Vertical offset", "Вертикальное смещение", "Bù đắp theo chiều dọc", "垂直偏移"}},
    };
    for (const auto &[label, text] : labels)
        label->setText(text.text());
    ui->Button_front_3->setText(PREVIOUS.text());
    ui->Button_send->setText(PanelText{"发送", "Send", "Отправить", "Gửi", "髮送"}.text());
    line_select(line().routing);
}

void SmartMapping::page3_texts()
{
    for (int n = 1; n <= 16; ++n) {
        QToolButton *b = route_button(n);
        set_icon(b, QStringLiteral(":/png/line%1.png").arg(n), QSize(48, 48));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setText(ROUTING.text().arg(n));
    }
    ui->Button_cancel->setText(PanelText{"取消", "Cancle", "Отмена", "Hủy bỏ", "取消"}.text());
}

void SmartMapping::page4_texts()
{
    ui->label_step1_5->setText(PanelText{"步骤1选择网口", "Step 1 Select network port", "Шаг 1. Выбор LAN-порта",
                                         "Bước 1 Chọn cổng mạng", "步驟1選擇網口"}.text());
    ui->Button_wlan5->setText(group_text(0));
    ui->Button_wlan6->setText(group_text(1));
    ui->Button_wlan7->setText(group_text(2));
    ui->Button_next_5->setText(NEXT.text());
}

void SmartMapping::page5_texts()
{
    ui->label_step2_6->setText(PanelText{"步骤2加载扫描参数", "Step 2 Upload scan parameters",
                                         "Шаг 2.Настройка сканирования", "Bước 2Tải thông số quét",
                                         "步驟2加載掃描參數"}.text());
    ui->label_step2_7->setText(PanelText{"检测到以下屏参文件", "Detected the following screen parameter files",
                                         "Были обнаружены следующие файлы параметров экрана",
                                         "Các tập tin tham số màn hình sau đã được phát hiện",
                                         "檢測到以下屏參文件"}.text());
    ui->Button_front_6->setText(PREVIOUS.text());
    ui->Button_load->setText(PanelText{"加载", "Load", "Загрузка", "Tải về", "加載"}.text());
    scan_list->language_changed();
}

void SmartMapping::page6_texts()
{
    ui->label_step1_6->setText(PanelText{"参数固化操作", "Parameter curing operation", "Полное сохранение всех настроек",
                                         "Lưu thông số", "參數固化操作"}.text());
    ui->Button_confirm->setText(PanelText{"确定", "OK", "OK", "Đồng ý", "確定"}.text());
}

void SmartMapping::page7_texts()
{
    ui->label_step1_7->setText(PanelText{"Mapping开关", "Mapping switch", "Переключатель сопоставления",
                                         "Bật mapping", "Mapping開關"}.text());
}

void SmartMapping::language_changed()
{
    const int page = ui->stackedWidget->currentIndex();
    if (selected_menu_button == ui->Button_shortcut) {
        if (page == 1) {
            page1_texts();
            wlan_init(0);
        } else if (page == 2) {
            page2_texts();
        } else if (page == 3) {
            page3_texts();
            line_select(line().routing);
        } else {
            page0_texts();
        }
    } else if (selected_menu_button == ui->Button_loadscan) {
        if (page == 4) {
            wlan_init(1);
            page4_texts();
        } else if (page == 5) {
            page5_texts();
        }
    } else if (selected_menu_button == ui->Button_paraweld) {
        page6_texts();
    }

    scan_list->count();

    ui->label_title->setText(
        PanelText{"智能调屏", "Smart debugging screen", "Умная настройка экрана", "Điều chỉnh màn hình thông minh",
                  "智能調屏"}.text());
    ui->Button_shortcut->setText(
        PanelText{"快捷点屏", "Debugging\nscreen", "Пошаговая\nнастройка", "Chạm vào màn\nhình nhanh", "快捷點屏"}.text());
    ui->Button_loadscan->setText(
        PanelText{"加载扫描", "Load scan", "Загрузить\nсканирование", "Cài đặt quét", "加載掃描"}.text());
    ui->Button_paraweld->setText(
        PanelText{"参数固化", "Curing\nparameter", "Сохранение\nнастроек", "Lưu thông số", "參數固化"}.text());
    ui->Button_mapping->setText(PanelText{"Mapping", "Mapping", "Маршрут", "Mapping", "Mapping"}.text());
    show_load_scan_state();

    page7_texts();
}

// ------------------------------------------------------------ refresh, Back

void SmartMapping::syncUpdate(int code)
{
    switch (code) {
    case REFRESH_USB_IN:
        break;
    case REFRESH_USB_OUT:
        if (file_list_shown == 1)
            show_file_list();
        break;
    case REFRESH_USB_READY:
        show_file_list();
        break;
    default:
        if (QelRamPara *p = QelRamPara::p_qelrampara_config; p && p->QelLanguageChanged() == 1)
            language_changed();
        break;
    }
}

void SmartMapping::on_Button_back_clicked()
{
    if (ring_shows())
        return;
    back_to_settings(this, g_smartmapping);
}
