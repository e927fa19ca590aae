#include "ui/picture/imagelayout.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/global.h"
#include "core/qelrampara.h"
#include "ui/shell/alias.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui_imagelayout.h"

namespace {

const char *const kMirrorOn[4] = {":/png/mirror1_on.png", ":/png/mirror2_on.png",
                                  ":/png/mirror3_on.png", ":/png/mirror4_on.png"};
const char *const kMirrorOff[4] = {":/png/mirror1_off.png", ":/png/mirror2_off.png",
                                   ":/png/mirror3_off.png", ":/png/mirror4_off.png"};
const u16 kP2POn = 0x0100;   // flags bit 8

// The mark around window w's tile.
QRect mark_rect(int w) { return QRect(17 + 130 * w, 0, 126, 96); }

QString text5(const char *zh, const char *en, const char *ru, const char *vn, const char *tn)
{
    return PanelText{zh, en, ru, vn, tn}.text();
}

QString closedText() { return text5("未开启", "Close", "Откл", "Đóng", "未開啟"); }
QString statePrefix() { return text5("画面状态:", "Image state:", "Состояние:", "Trạng thái:", "畫麵狀態:"); }
QString onWord() { return text5("开启", "ON", "Вкл", "Mở", "開啟"); }
QString offWord() { return text5("关闭", "OFF", "Откл", "Đóng", "關閉"); }
QString namePrefix() { return text5("名称:", "Name:", "Название:", "Tên:", "名稱:"); }
QString sourcePrefix() { return text5("信源:", "Source:", "Источник:", "Nguồn tín hiệu:", "信源:"); }
QString defaultName(int number)
{
    return text5("画面%1", "image%1", "Канал%1", "Hình ảnh%1", "畫麵%1").arg(number);
}


QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

WindowView record(const QelRamPara *p, int w) { return WindowView(p->ram_para, w); }

// As the scaler reads it; window 0 is always on here.
bool windowOn(const QelRamPara *p, int w) { return w == 0 || record(p, w).on(); }

int sourceSlot(const QelRamPara *p, int w) { return windowSource(p->ram_para, w).slot; }

// Keypad entry: "" counts as 0; otherwise decimal digits up to 65535.
KeypadNumber entry(const QString &text) { return keypad_number(text, 0, 0xFFFF, EmptyEntry::Zero); }

u16 fieldValue(const QLineEdit *field) { return u16(entry(field->text()).value); }

// Point-to-point list index of window w: -1 for a splice word the list lacks.
int p2pIndex(const QelRamPara *p, int w)
{
    const WindowView v = record(p, w);
    if (!v.pointToPoint())
        return 0;
    switch (v.p2pSplice()) {
    case 0: return 1;
    case 8: return 2;
    case 9: return 3;
    default: return -1;
    }
}

}

ImageLayout::ImageLayout(QWidget *parent) : QDialog(parent), ui(new Ui::ImageLayout)
{
    ui->setupUi(this);
    ui->label_backup->hide();
    ui->comboBox->hide();
    ui->Button_cancel->hide();
    ui->Button_ok->hide();
    // the hidden list gets its view only if it is ever shown
    ui->comboBox->installEventFilter(this);

    set_back_icon(ui->Button_back);
    set_icon(ui->Button_source_select, ":/png/page_change.png");
    set_icon(ui->button_state, ":/png/button_on.png");
    mirror_select(0);

    language_changed();
    image_init();
    image_para_update();

    connect_keypad(this, {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H});
}

ImageLayout::~ImageLayout()
{
    if (g_imagelayout == this)
        g_imagelayout = nullptr;
    delete ui;
}

bool ImageLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->comboBox && event->type() == QEvent::Show) {
        ui->comboBox->removeEventFilter(this);
        set_list_view(ui->comboBox);
    }
    return QDialog::eventFilter(watched, event);
}

QLabel *ImageLayout::window_tile(QWidget *strip, int w, int x)
{
    QLabel *tile = new QLabel(strip);
    tile->setObjectName(QStringLiteral("window_%1").arg(w));
    tile->setGeometry(x, 3, 120, 90);
    tile->setText(QString::number(w + 1));
    tile->setAlignment(Qt::AlignCenter);
    tile->setStyleSheet(QString::fromLatin1(WINDOW_TILE_STYLES[w]));

    QLabel *source = new QLabel(tile);
    source->setObjectName(QStringLiteral("window_name_%1").arg(w));
    source->setGeometry(0, 3, 100, 28);
    source->setTextFormat(Qt::PlainText);

    QLabel *dot = new QLabel(tile);
    dot->setObjectName(QStringLiteral("window_marker_%1").arg(w));
    dot->setGeometry(101, 8, 14, 14);
    dot->setStyleSheet(QString::fromLatin1(GREEN_DOT_STYLE));
    return source;
}

void ImageLayout::image_init()
{
    retire(layout_frame);   // may run inside a tile's own click
    layout_frame = new QFrame(this);
    layout_frame->setObjectName(QStringLiteral("layout_frame"));
    layout_frame->setGeometry(0, 65, 800, 95);

    select_frame = new QFrame(layout_frame);
    select_frame->setObjectName(QStringLiteral("select_frame"));
    select_frame->setGeometry(mark_rect(image_index));
    set_style(select_frame, WINDOW_MARK_STYLE);

    QelRamPara *p = para();
    for (int i = 0; i < 6; ++i) {
        source_labels[i] = window_tile(layout_frame, i, 20 + 130 * i);
        if (p && windowOn(p, i))
            TextCreate(char(i), 0);
        else
            source_labels[i]->setText(closedText());

        QPushButton *button = cover_button(layout_frame, i, QRect(20 + 130 * i, 3, 120, 90));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, &ImageLayout::qel_image_button_clicked);
    }
    layout_frame->show();
}

void ImageLayout::qel_image_button_clicked()
{
    const int w = sender_number(sender(), 6);
    if (w < 0)
        return;
    image_index = u8(w);
    for (My_lineEdit *field : {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H})
        show_refused(field, false);   // what was refused was for the window before
    image_para_update();
    if (select_frame)
        select_frame->setGeometry(mark_rect(w));
}

void ImageLayout::set_state_view(bool on)
{
    ui->image_state->setText(statePrefix() + (on ? onWord() : offWord()));
    set_icon(ui->button_state, on ? ":/png/button_on.png" : ":/png/button_off.png");
    state_on = on ? 1 : 0;
}

void ImageLayout::image_para_update()
{
    QelRamPara *p = para();
    if (!p)
        return;
    const int w = image_index;

    set_state_view(windowOn(p, w));
    ui->button_state->setVisible(w != 0);

    ALIAS_PARA alias;
    if (get_json_alias_para(&alias, "win", w) == 1) {
        const QFontMetrics fm(ui->image_name->font());
        ui->image_name->setText(namePrefix() +
                                fm.elidedText(alias.name, Qt::ElideRight, 60, Qt::TextShowMnemonic));
    } else {
        ui->image_name->setText(namePrefix() + defaultName(w + 1));
    }

    ui->image_source->setText(sourcePrefix() + input_slot_name(sourceSlot(p, w)));

    const WindowView v = record(p, w);
    ui->lineEdit_X->setText(QString::number(v.x()));
    ui->lineEdit_Y->setText(QString::number(v.y()));
    ui->lineEdit_W->setText(QString::number(v.width()));
    ui->lineEdit_H->setText(QString::number(v.height()));

    mirror_select(v.mirror());

    const QSignalBlocker block(ui->comboBox_P2P);
    ui->comboBox_P2P->setCurrentIndex(p2pIndex(p, w));
}

void ImageLayout::language_changed()
{
    ui->label_title->setText(text5("画面布局", "Screen layout", "Расположение", "Bố cục màn hình", "畫麵佈局"));
    ui->label_W->setText(text5("宽", "W", "Ширина", "Rộng", "寬"));
    ui->label_H->setText(text5("高", "H", "Высота", "Cao", "高"));
    ui->label_mirror->setText(text5("镜像", "mirror", "Отражение", "Ảnh phản chiếu", "鏡像"));
    ui->label_P2P->setText(text5("点对点", "DBD", "Пиксель к пикселю", "Điểm tới điểm", "點對點"));

    // a refill is no operator's choice: the handler must not see it
    const QSignalBlocker block(ui->comboBox_P2P);
    ui->comboBox_P2P->clear();
    set_list_view(ui->comboBox_P2P);
    ui->comboBox_P2P->addItem(text5("点对点关闭", "OFF", "Откл", "Đóng", "點對點關閉"));
    ui->comboBox_P2P->addItem(text5("点对点开启", "ON", "Вкл", "Mở", "點對點開啟"));
    ui->comboBox_P2P->addItem(text5("HD3,HD4水平拼接", "HD3,HD4 Hor", "Гор HD3,HD4", "Nối ngang HD3,HD4", "HD3,HD4水平拼接"));
    ui->comboBox_P2P->addItem(text5("HD3,HD4垂直拼接", "HD3,HD4 Ver", "Вер HD3,HD4", "Ghép dọc HD3,HD4", "HD3,HD4垂直拼接"));
    if (QelRamPara *p = para())
        ui->comboBox_P2P->setCurrentIndex(p2pIndex(p, image_index));
}

void ImageLayout::syncUpdate()
{
    QelRamPara *p = para();
    if (!p)
        return;
    bool rebuild = false;
    if (p->QelLanguageChanged() == 1) {
        language_changed();
        rebuild = true;
    }
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        const WindowView now(p->ram_para, w), saved(p->ram_para_shadow, w);
        if (now.word(Img::W_ON) != saved.word(Img::W_ON) || now.sourceWord() != saved.sourceWord())
            rebuild = true;
    }
    if (rebuild)
        image_init();
    image_para_update();
}

void ImageLayout::TextCreate(char window, char)
{
    const int w = u8(window);
    QelRamPara *p = para();
    if (w > 5 || !p || !source_labels[w])
        return;
    source_labels[w]->setText(input_slot_name(sourceSlot(p, w)));
}

void ImageLayout::mirror_select(int k)
{
    QPushButton *const buttons[4] = {ui->mirror1, ui->mirror2, ui->mirror3, ui->mirror4};
    // a mode outside 0..3 lights none
    for (int i = 0; i < 4; ++i)
        set_icon(buttons[i], i == k ? kMirrorOn[i] : kMirrorOff[i]);
}

void ImageLayout::on_button_state_clicked()
{
    QelRamPara *p = para();
    const int w = image_index;
    if (!p || w < 1 || w > 5)
        return;
    const bool on = state_on != 1;
    set_state_view(on);
    // the low byte alone: it is what makes the window on
    p->edit([w, on](u8 *img) { WindowEdit(img, w).setByte(Img::W_ON, on ? 1 : 0); });
    if (on)
        TextCreate(char(w), 0);
    else if (source_labels[w])
        source_labels[w]->setText(closedText());
}

void ImageLayout::mirror_clicked(int mode)
{
    QelRamPara *p = para();
    if (!p)
        return;
    const int w = image_index;
    if (record(p, w).mirror() == mode)
        return;
    mirror_select(mode);
    p->edit([w, mode](u8 *img) { WindowEdit(img, w).setMirror(u8(mode)); });
}

void ImageLayout::on_mirror1_clicked() { mirror_clicked(0); }
void ImageLayout::on_mirror2_clicked() { mirror_clicked(1); }
void ImageLayout::on_mirror3_clicked() { mirror_clicked(2); }
void ImageLayout::on_mirror4_clicked() { mirror_clicked(3); }

void ImageLayout::on_comboBox_P2P_currentIndexChanged(int index)
{
    QelRamPara *p = para();
    if (!p || index < 0 || index > 3)
        return;
    const int w = image_index;
    const u16 flags = record(p, w).flags();
    const u16 splice = record(p, w).p2pSplice();
    u16 newFlags = flags;
    u16 newSplice = splice;
    if (index == 0) {
        newFlags &= u16(~kP2POn);
    } else {
        newFlags |= kP2POn;
        newSplice = index == 1 ? 0 : index == 2 ? 8 : 9;
    }
    if (newFlags == flags && newSplice == splice)
        return;
    p->edit([=](u8 *img) {
        WindowEdit v(img, w);
        v.setFlags(newFlags);
        v.setP2pSplice(newSplice);
    });
}

// The input choice, the one open or a new one; its Back resumes this screen.
void ImageLayout::on_Button_source_select_clicked()
{
    QPointer<ImageLayout> self(this);
    ScreenRegistry::run(PAGE_INPUT_CHOICE);
    // only a dialog left some other way (closed without Back) leaves that to us
    if (!self || g_imagelayout != this || g_page_focus != PAGE_INPUT_CHOICE)
        return;
    resume();
}

void ImageLayout::resume()
{
    language_changed();
    image_para_update();
    image_init();
    g_page_focus = PAGE_LAYOUT;
}

void ImageLayout::on_Button_back_clicked() { back_to_settings(this, g_imagelayout); }

My_lineEdit *ImageLayout::partner_of(My_lineEdit *field, int *limitOffset) const
{
    // position and size along one axis share the canvas extent
    const struct { My_lineEdit *field, *partner; int limit; } pairs[] = {
        {ui->lineEdit_X, ui->lineEdit_W, Img::CANVAS_W}, {ui->lineEdit_W, ui->lineEdit_X, Img::CANVAS_W},
        {ui->lineEdit_Y, ui->lineEdit_H, Img::CANVAS_H}, {ui->lineEdit_H, ui->lineEdit_Y, Img::CANVAS_H}};
    for (const auto &pair : pairs) {
        if (field == pair.field) {
            *limitOffset = pair.limit;
            return pair.partner;
        }
    }
    return nullptr;
}

void ImageLayout::show_numberkeyboard_ui(QString)
{
    My_lineEdit *field = sender_field(this, sender());
    int limitOffset = 0;
    if (field && partner_of(field, &limitOffset))
        open_keypad(field, field->objectName().right(1));
}

void ImageLayout::confirmString(QString text)
{
    // only our own four fields: entries made on screens above this one pass by
    My_lineEdit *field = own_keypad_field(this);
    int limitOffset = 0;
    My_lineEdit *partner = partner_of(field, &limitOffset);
    QelRamPara *p = para();
    if (!partner || !p)
        return;

    // a refusal marks the field; a good entry clears its axis
    const KeypadNumber value = entry(text);
    const u32 limit = p->get_u16(limitOffset);
    if (!value.ok || u32(value.value) + u32(fieldValue(partner)) > limit) {
        show_refused(field, true);
        return;
    }
    show_refused(field, false);
    show_refused(partner, false);

    field->setText(text);
    const u16 x = fieldValue(ui->lineEdit_X);
    const u16 y = fieldValue(ui->lineEdit_Y);
    const u16 w = fieldValue(ui->lineEdit_W);
    const u16 h = fieldValue(ui->lineEdit_H);
    const int win = image_index;
    p->edit([=](u8 *img) {
        WindowEdit v(img, win);
        v.setX(x);
        v.setY(y);
        v.setWidth(w);
        v.setHeight(h);
    });
}
