#include "ui/output/outputset.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_outputset.h"

QPointer<QPushButton> g_set_focus;
QPointer<QPushButton> g_apply_focus1;
QPointer<QPushButton> g_apply_focus2;
QPointer<QPushButton> g_wlan_focus;
QPointer<QFrame> g_wlan_frame[8];

namespace {

// a menu button not chosen: no background of its own
const char *const MENU_PLAIN = "color: #FFFFFF";

const int OUT_LIMIT = 8188;      // widest single output
const int CANVAS_LIMIT = 16376;  // widest / highest canvas

// A field's number: signed 16-bit, 0 when it is not a number.
int field_value(const QLineEdit *field)
{
    bool ok = false;
    const short v = field->text().trimmed().toShort(&ok);
    return ok ? v : 0;
}

void set_field(QLineEdit *field, int value) { field->setText(QString::number(value)); }

int round_up(int v, int m) { return (v + m - 1) / m * m; }

// Left share of a width split side by side.
int horizontal_half(int w)
{
    const int half = (w >> 1) + ((w & 1) ? 2 : 0);
    return round_up(half, w <= OUT_LIMIT ? 8 : 32);
}

// Whole text a decimal number within lo..hi; -1 otherwise.
int entered(const QString &text, int lo, int hi)
{
    const KeypadNumber n = keypad_number(text, lo, hi);
    return n.ok ? n.value : -1;
}

}

OutputSet::OutputSet(QWidget *parent) : QDialog(parent), ui(new Ui::OutputSet)
{
    ui->setupUi(this);
    tile_font.setPointSize(12);

    ui->Button_wlan4->hide();
    ui->Button_wlan1->setGeometry(85, 10, 130, 50);
    ui->Button_wlan2->setGeometry(235, 10, 130, 50);
    ui->Button_wlan3->setGeometry(385, 10, 130, 50);

    wlan_init();
    para_init();
    wlan_para_get(0);
    // the port page follows every LED set-up, whoever asked for it
    connect(JobRelay::instance(), &JobRelay::led_setup_done, this,
            [this] { wlan_para_get(u16(port_index + 8 * port_group)); });

    set_back_icon(ui->Button_back);
    set_picture(ui->label_warning, QStringLiteral(":/png/warning.png"));

    g_set_focus = nullptr;
    g_apply_focus1 = nullptr;
    g_apply_focus2 = nullptr;
    g_wlan_focus = nullptr;
    move_selection(g_set_focus, ui->Button_ledset, SELECTED_STYLE, MENU_PLAIN);
    move_selection(g_apply_focus1, ui->Button_cancel1, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
    move_selection(g_apply_focus2, ui->Button_cancel2, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
    move_selection(g_wlan_focus, ui->Button_wlan1, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
    ui->stackedWidget->setCurrentIndex(0);

    connect_keypad(this, {ui->lineEdit_width, ui->lineEdit_height, ui->lineEdit_out1_width, ui->lineEdit_out1_height});

    for (QWidget *w : std::initializer_list<QWidget *>{
             ui->lineEdit_width, ui->lineEdit_height, ui->lineEdit_out2_width,
             ui->lineEdit_out2_height, ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W,
             ui->lineEdit_H, ui->label_out1_width, ui->label_out1_height, ui->label_out2_width,
             ui->label_out2_height})
        w->setEnabled(false);

    language_changed();
    set_list_view(ui->comboBox);
    ui->Button_apply2->hide();
    ui->Button_cancel2->hide();
}

OutputSet::~OutputSet()
{
    if (g_outputset == this)
        g_outputset = nullptr;
    delete ui;
}

// ------------------------------------------------------------ LED setting

void OutputSet::para_init()
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p)
        return;
    set_field(ui->lineEdit_width, i16(p->get_u16(Img::CANVAS_W)));
    set_field(ui->lineEdit_height, i16(p->get_u16(Img::CANVAS_H)));

    int index;
    switch (p->get_u16(Img::SPLICE_MODE)) {
    case 2: index = 1; splice_mode = 2; break;
    case 3: index = 0; splice_mode = 3; break;
    default: index = 2; splice_mode = 4; break;
    }
    {
        const QSignalBlocker block(ui->comboBox);
        ui->comboBox->setCurrentIndex(index);
    }
    out_label_changed();
    show_areas(p->get_u16(Img::OUT1_W), p->get_u16(Img::OUT2_W), p->get_u16(Img::OUT1_H),
               p->get_u16(Img::OUT2_H));
}

void OutputSet::show_areas(int out1_w, int out2_w, int out1_h, int out2_h)
{
    set_field(ui->lineEdit_out1_width, out1_w);
    set_field(ui->lineEdit_out2_width, out2_w);
    set_field(ui->lineEdit_out1_height, out1_h);
    set_field(ui->lineEdit_out2_height, out2_h);
}

void OutputSet::out_label_changed()
{
    static const struct
    {
        QRect geometry;
        const char *res;
    } pictures[3] = {
        {QRect(348, 155, 180, 40), ":/png/out_horizontal.png"},
        {QRect(430, 130, 100, 80), ":/png/out_vertical.png"},
        {QRect(388, 155, 100, 40), ":/png/out_copy.png"},
    };
    const int index = ui->comboBox->currentIndex();
    if (index < 0 || index > 2)
        return;
    ui->out_label->setGeometry(pictures[index].geometry);
    set_picture(ui->out_label, QString::fromLatin1(pictures[index].res));
}

void OutputSet::on_comboBox_activated(int index)
{
    int w = std::max(field_value(ui->lineEdit_width), 0);
    const int h = std::max(field_value(ui->lineEdit_height), 0);
    switch (index) {
    case 0: {
        splice_mode = 3;
        const int out1 = horizontal_half(w);
        const int span = w <= OUT_LIMIT ? w : round_up(w, 32);
        show_areas(out1, span - out1, h, h);
        break;
    }
    case 1: {
        splice_mode = 2;
        const int top = (h >> 1) + (h & 1);
        show_areas(w, w, top, h - top);
        break;
    }
    case 2:
        splice_mode = 4;
        if (w > OUT_LIMIT) {
            w = OUT_LIMIT;
            set_field(ui->lineEdit_width, w);
        }
        show_areas(w, w, h, h);
        break;
    default:
        break;
    }
    out_label_changed();
}

// ------------------------------------------------------------ keypad

void OutputSet::show_numberkeyboard_ui(QString text)
{
    My_lineEdit *field = sender_field(this, sender());
    if (!field)
        return;
    edit_name = field->objectName();

    const std::pair<const QLineEdit *, const char *> titles[] = {
        {ui->lineEdit_width, "宽"},  {ui->lineEdit_out1_width, "宽"},  {ui->lineEdit_out2_width, "宽"},
        {ui->lineEdit_height, "高"}, {ui->lineEdit_out1_height, "高"}, {ui->lineEdit_out2_height, "高"},
        {ui->lineEdit_X, "X"},       {ui->lineEdit_Y, "Y"},            {ui->lineEdit_W, "W"},
        {ui->lineEdit_H, "H"},
    };
    for (const auto &[edit, title] : titles) {
        if (edit == field)
            open_keypad(field, QString::fromUtf8(title), text);
    }
}

void OutputSet::confirmString(QString text)
{
    My_lineEdit *field = own_keypad_field(this);
    if (!field)
        return;
    edit_name = field->objectName();

    if (field == ui->lineEdit_out1_width) {
        const int v = entered(text, 0, std::max(field_value(ui->lineEdit_width), 0));
        if (v >= 0)
            out1_width_entered(v);
    } else if (field == ui->lineEdit_out1_height) {
        const int v = entered(text, 0, std::max(field_value(ui->lineEdit_height), 0));
        if (v >= 0)
            out1_height_entered(v);
    } else if (field == ui->lineEdit_width || field == ui->lineEdit_height) {
        // the canvas size is shown here, not set
    } else {
        const int v = entered(text, 0, 65535);
        if (v >= 0)
            set_field(field, v);
    }
}

// v is within 0..canvas width.
void OutputSet::out1_width_entered(int v)
{
    const int w = field_value(ui->lineEdit_width);
    const int pad = (w % 32) ? 32 : 0;
    int out1;
    if (v <= OUT_LIMIT && w <= OUT_LIMIT) {
        out1 = v;
        set_field(ui->lineEdit_out2_width, splice_mode == 3 ? w - out1 : out1);
    } else if (v <= OUT_LIMIT) {
        out1 = std::min(round_up(v, 32), w);
        set_field(ui->lineEdit_out2_width, splice_mode == 3 ? w - out1 + pad : out1);
    } else {
        // one output is at most 8188 wide (8192 on 32-pixel steps): split side by side
        splice_mode = 3;
        out1 = std::min(round_up(OUT_LIMIT, 32), w);
        set_field(ui->lineEdit_out2_width, w - out1 + pad);
    }
    set_field(ui->lineEdit_out1_width, out1);
}

// v is within 0..canvas height.
void OutputSet::out1_height_entered(int v)
{
    const int h = field_value(ui->lineEdit_height);
    const int out1 = std::min(v, OUT_LIMIT);
    set_field(ui->lineEdit_out1_height, out1);
    set_field(ui->lineEdit_out2_height, splice_mode == 2 ? h - out1 : out1);
}

// ------------------------------------------------------------ Apply

void OutputSet::on_Button_apply1_clicked()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p) {
        const int w = field_value(ui->lineEdit_width);
        const int h = field_value(ui->lineEdit_height);
        const int cw = std::max(w, 0);
        const int ch = std::max(h, 0);
        const bool changed = u16(w) != p->shadow_u16(Img::CANVAS_W)
            || u16(h) != p->shadow_u16(Img::CANVAS_H)
            || u16(splice_mode) != p->shadow_u16(Img::SPLICE_MODE);

        // OUT1 never wider or higher than the canvas, OUT2 never below 0
        int out1_w = cw, out1_h = ch, out2_x = 0, out2_y = 0, out2_w = cw, out2_h = ch;
        if (splice_mode == 3) {
            out1_w = out2_x = std::clamp(field_value(ui->lineEdit_out1_width), 0, cw);
            out1_h = out2_h = std::clamp(field_value(ui->lineEdit_out1_height), 0, ch);
            out2_w = cw - out1_w;
        } else if (splice_mode == 2) {
            out1_w = out2_w = std::clamp(field_value(ui->lineEdit_out1_width), 0, cw);
            out1_h = out2_y = std::clamp(field_value(ui->lineEdit_out1_height), 0, ch);
            out2_h = std::max(field_value(ui->lineEdit_out2_height), 0);
        }
        const std::pair<int, int> writes[] = {
            {Img::CANVAS_W, w},    {Img::CANVAS_H, h},    {Img::SPLICE_MODE, splice_mode},
            {Img::OUT1_W, out1_w}, {Img::OUT1_H, out1_h}, {Img::OUT2_X, out2_x},
            {Img::OUT2_Y, out2_y}, {Img::OUT2_W, out2_w}, {Img::OUT2_H, out2_h},
        };

        p->edit([&](u8 *img) {
            for (const auto &[offset, value] : writes)
                Img::wr16(img, offset, u16(value));
            if (!changed)
                return;
            WindowEdit first(img, 0);
            first.setX(0);
            first.setY(0);
            first.setWidth(u16(w));
            first.setHeight(u16(h));
            for (int win = 1; win < Img::WINDOWS_USED; ++win)
                WindowEdit(img, win).setOn(false);
            // inside the image lock: the lock order is the image first
            DeviceRequests::request_led_setup();
        });
    }
    move_selection(g_apply_focus1, ui->Button_apply1, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
}

void OutputSet::on_Button_cancel1_clicked()
{
    move_selection(g_apply_focus1, ui->Button_cancel1, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
}

void OutputSet::on_Button_apply2_clicked()
{
    move_selection(g_apply_focus2, ui->Button_apply2, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
}

void OutputSet::on_Button_cancel2_clicked()
{
    move_selection(g_apply_focus2, ui->Button_cancel2, FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
}

void OutputSet::on_Button_ledset_clicked()
{
    ui->stackedWidget->setCurrentIndex(0);
    move_selection(g_set_focus, ui->Button_ledset, SELECTED_STYLE, MENU_PLAIN);
}

void OutputSet::on_Button_lanset_clicked()
{
    ui->stackedWidget->setCurrentIndex(1);
    move_selection(g_set_focus, ui->Button_lanset, SELECTED_STYLE, MENU_PLAIN);
}

// ------------------------------------------------------------ port page

void OutputSet::on_Button_wlan1_clicked() { select_group(0); }
void OutputSet::on_Button_wlan2_clicked() { select_group(1); }
void OutputSet::on_Button_wlan3_clicked() { select_group(2); }
void OutputSet::on_Button_wlan4_clicked() { select_group(3); }

void OutputSet::select_group(u8 group)
{
    QPushButton *const buttons[4] = {ui->Button_wlan1, ui->Button_wlan2, ui->Button_wlan3,
                                     ui->Button_wlan4};
    move_selection(g_wlan_focus, buttons[group & 3], FRAMED_SELECTED_STYLE, FRAMED_PLAIN_STYLE);
    port_group = group;
    port_index = 0;
    wlan_init();
    wlan_para_get(u16(port_group * 8));
}

void OutputSet::wlan_init()
{
    retire(tiles_frame);   // a tile's click may still be on the stack
    tiles_frame = new QFrame(ui->page_2);
    tiles_frame->setObjectName(QStringLiteral("tiles_frame"));
    tiles_frame->setGeometry(1, 75, 608, 165);

    const int lang = panel_language();
    const char *fmt = lang == 0 ? "网口LED%d" : lang == 4 ? "網口LED%d" : "LED%d";
    for (int i = 0; i < 8; ++i) {
        const int c = i % 4;
        const int r = i / 4;
        tile_frame = new QFrame(tiles_frame);
        tile_frame->setObjectName(QStringLiteral("tile_frame_%1").arg(i));
        tile_frame->setGeometry(9 + 150 * c, 14 + 75 * r, 130, 60);
        set_style(tile_frame, i == port_index ? TILE_SELECTED_STYLE : TILE_PLAIN_STYLE);
        g_wlan_frame[i] = tile_frame;

        tile_icon = new QLabel(tiles_frame);
        tile_icon->setObjectName(QStringLiteral("tile_icon_%1").arg(i));
        tile_icon->setGeometry(59 + 150 * c, 17 + 75 * r, 32, 28);
        tile_icon->setStyleSheet(QStringLiteral("background: transparent;"));
        set_picture(tile_icon, QStringLiteral(":/png/offline.png"));

        tile_text = QString::asprintf(fmt, i + 1 + 8 * port_group);
        tile_label = new QLabel(tiles_frame);
        tile_label->setObjectName(QStringLiteral("tile_label_%1").arg(i));
        tile_label->setGeometry(29 + 150 * c, 45 + 75 * r, 91, 28);
        tile_label->setFont(tile_font);
        tile_label->setAlignment(Qt::AlignCenter);
        tile_label->setStyleSheet(QStringLiteral("background-color: #212435;color: #FFFFFF"));
        tile_label->setText(tile_text);

        tile_button = cover_button(tiles_frame, i, QRect(10 + 150 * c, 15 + 75 * r, 128, 58));
        set_style(tile_button, COVER_STYLE);
        connect(tile_button, &QPushButton::clicked, this, &OutputSet::qel_button_wlan_clicked);
    }
    tiles_frame->show();
}

void OutputSet::qel_button_wlan_clicked()
{
    const int index = sender_number(sender(), 8);
    if (index < 0)
        return;
    set_style(g_wlan_frame[port_index], TILE_PLAIN_STYLE);
    port_index = u8(index);
    wlan_para_get(u16(port_index + 8 * port_group));
    set_style(g_wlan_frame[port_index], TILE_SELECTED_STYLE);
}

void OutputSet::wlan_para_get(unsigned short port)
{
    const DeviceRequests::PortArea area = DeviceRequests::port_area(port);
    ui->lineEdit_X->setText(QString::number(area.x));
    ui->lineEdit_Y->setText(QString::number(area.y));
    ui->lineEdit_W->setText(QString::number(area.width));
    ui->lineEdit_H->setText(QString::number(area.height));
}

// ------------------------------------------------------------ texts

void OutputSet::language_changed()
{
    ui->label_s1->setText(PanelText{"1.设置LED屏宽高", "1.Set LED W&H", "1.Разрешение LED",
                                    "1.Cài đặt thông số led", "1.設置LED屏寬高"}.text());
    ui->label_s2->setText(PanelText{"2.选择拼接方式", "2.Splice", "2.Сплайсер", "2.Ghép nối", "2.選擇拼接方式"}.text());
    ui->label_title->setText(PanelText{"输出设置", "Output Seeting", "Выход", "Thông số đầu ra", "輸出設置"}.text());
    ui->Button_ledset->setText(PanelText{"LED设置", "LED Setting", "Настройка LED", "Cài đặt LED", "LED設置"}.text());
    ui->Button_lanset->setText(
        PanelText{"网口输出", "Port output", "Настройка LAN", "Cài đặt\ncổng MẠNG", "網口輸出"}.text());

    const QString width = PanelText{"宽", "W", "Ширина", "Rộng", "寬"}.text();
    const QString height = PanelText{"高", "H", "Высота", "Cao", "高"}.text();
    for (QLabel *l : {ui->label_width, ui->label_W, ui->label_out1_width, ui->label_out2_width})
        l->setText(width);
    for (QLabel *l : {ui->label_height, ui->label_H, ui->label_out1_height, ui->label_out2_height})
        l->setText(height);

    const QString tip = PanelText{"可设LED屏最大点数:%d(宽),%d(高)", "LED max:%d(w),%d(h)",
                                  "Ширина:%d(px)Высота:%d(px)", "Điểm ảnh lớn nhất:%d(ngang),%d(dọc)",
                                  "可設LED屏最大點數:%d(寬),%d(高)"}.text();
    ui->label_tip->setText(QString::asprintf(tip.toUtf8().constData(), CANVAS_LIMIT, CANVAS_LIMIT));

    const QString cancel = PanelText{"取消", "Cancle", "Отмена", "Hủy bỏ", "取消"}.text();
    const QString apply = PanelText{"应用", "Apply", "OK", "Đồng ý", "應用"}.text();
    ui->Button_cancel1->setText(cancel);
    ui->Button_cancel2->setText(cancel);
    ui->Button_apply1->setText(apply);
    ui->Button_apply2->setText(apply);

    const QByteArray group = PanelText{"网口%d~%d", "LED%d~%d", "LED%d~%d", "LED%d~%d", "網口%d~%d"}.text().toUtf8();
    ui->Button_wlan1->setText(QString::asprintf(group.constData(), 1, 8));
    ui->Button_wlan2->setText(QString::asprintf(group.constData(), 9, 16));
    ui->Button_wlan3->setText(QString::asprintf(group.constData(), 17, 24));

    combox_language_change();
}

void OutputSet::combox_language_change()
{
    static const PanelText modes[3] = {
        {"水平拼接", "horizontal", "Горизонтально", "Chiều ngang", "水平拼接"},
        {"垂直拼接", "VerticalS", "Вертикально", "Chiều cao", "垂直拼接"},
        {"复制模式", "copy", "Дублирование", "Sao chép", "複製模式"},
    };
    // a refill is no operator's choice: no presets run
    const QSignalBlocker block(ui->comboBox);
    const int index = ui->comboBox->currentIndex();
    ui->comboBox->clear();
    for (const PanelText &t : modes)
        ui->comboBox->addItem(t.text());
    ui->comboBox->setCurrentIndex(index);
}

// ------------------------------------------------------------ refresh, Back

void OutputSet::syncUpdate()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p && p->QelLanguageChanged() == 1) {
        language_changed();
        wlan_init();
    }
    para_init();
}

void OutputSet::on_Button_back_clicked() { back_to_settings(this, g_outputset); }
