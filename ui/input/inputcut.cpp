#include "ui/input/inputcut.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <cstring>

#include "core/global.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "ui/input/input_tiles.h"
#include "ui_inputcut.h"

namespace {

const PanelText kTitle{"输入截取", "Input intercept", "Источник", "Chặn nguồn vào", "輸入截取"};
const PanelText kCrop{"截取:", "Crop:", "Обрезать:", "Cắt:", "截取:"};
const PanelText kOk{"确定", "OK", "OK", "Đồng ý", "確定"};
const PanelText kNamePrefix{"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const PanelText kKeypadHeight{"高", "H", "H", "H", "H"};

// What the add form offers: 1920 x 1080, within the input when it has a signal.
const int kAddWidth = 1920;
const int kAddHeight = 1080;

QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

bool differs(const u8 *a, const u8 *b, int offset, int len) { return std::memcmp(a + offset, b + offset, len) != 0; }

int field_value(const QLineEdit *field) { return field_number(field->text()).value; }

} // namespace

InputCut::InputCut(QWidget *parent) : QDialog(parent), ui(new Ui::InputCut)
{
    ui->setupUi(this);
    QLabel *const icons[6] = {ui->label_HDMI1, ui->label_HDMI2, ui->label_HDMI3,
                              ui->label_HDMI4, ui->label_DVI,   ui->label_EXT};
    m_highlight = setup_input_row(this, ui->Button_back, icons);
    crop_source_num_update();
    if (QelRamPara *p = para())
        p->QelCropSourceInit();
    input_init();
    m_font.setPointSize(12);
    source_init();
    ui->frame_add->hide();
    connect_keypad(this, {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H});
    language_changed();
}

InputCut::~InputCut()
{
    if (g_inputcut == this)
        g_inputcut = nullptr;
    delete ui;
}

// ------------------------------------------------------------------ texts

void InputCut::language_changed()
{
    ui->label_title->setText(kTitle.text());
    ui->label_crop->setText(kCrop.text());
    ui->label_W->setText(TEXT_WIDTH.text());
    ui->label_H->setText(TEXT_HEIGHT.text());
    m_buttons.setTexts(TEXT_CANCEL.text(), kOk.text(), TEXT_DELETE.text());
    if (ui->frame_add->isVisible())
        show_name_line();
}

void InputCut::show_name_line()
{
    ui->label_change_source->setText(kNamePrefix.text() + m_source_name + m_crop_suffix);
}

// ---------------------------------------------------------------- inputs

void InputCut::crop_source_num_update()
{
    QelRamPara *p = para();
    QLabel *counts[6] = {ui->HDMI1_num, ui->HDMI2_num, ui->HDMI3_num, ui->HDMI4_num, ui->DVI_num, ui->EXT_num};
    for (int i = 0; i < 6; ++i) {
        const int crops = p ? p->QelGetSourceNum(INPUT_COLUMNS[i].slot, Img::CROP_COUNT) : 0;
        counts[i]->setText(QStringLiteral("(%1)").arg(crops + 1));
    }
}

void InputCut::input_init() { make_input_buttons(this, &InputCut::qel_button_input_clicked); }

void InputCut::qel_button_input_clicked()
{
    const int index = sender_number(sender(), 6);
    if (index < 0)
        return;
    m_page = 0;
    m_source = INPUT_COLUMNS[index].slot;
    m_source_name = QLatin1String(INPUT_COLUMNS[index].name);
    place_input_highlight(m_highlight, index);
    source_init();
    para_changed_over();
}

// ----------------------------------------------------------------- tiles

void InputCut::source_init()
{
    QelRamPara *p = para();
    // the listing follows the table as it is now
    if (p)
        p->QelCropSourceInit();
    const int total = (p ? p->QelGetSourceNum(m_source, Img::CROP_COUNT) : 0) + 1;
    m_last_page = u8(total / 6 - (total % 6 == 0 ? 1 : 0));
    const int left = total - 6 * m_page;
    const int tiles = left <= 0 ? 0 : qMin(left, 6);

    retire(m_area);
    m_area = make_tile_area(this, m_font);
    for (TileCrop &t : m_tiles)
        t = TileCrop();
    for (int i = 0; i < tiles; ++i) {
        QPushButton *tile = add_source_tile(m_area, i, 240 * (i % 3), 110 * (i / 3), m_source == 1, this);
        connect(tile, &QPushButton::clicked, this, &InputCut::qel_button_source_clicked);
        const int ordinal = 6 * m_page + i;
        const CropTile shown = crop_tile(m_source, m_source_name, ordinal, tile->fontMetrics());
        if (ordinal != 0 && shown.record < 0)
            continue;   // no such crop: an empty tile
        m_tiles[i] = {shown.record, shown.number};
        set_tile_lines(tile, shown.name, shown.size);
    }

    m_button_add = add_area_button(m_area, "Button_add", 10, ":/png/add.png");
    connect(m_button_add, &QPushButton::clicked, this, &InputCut::qel_button_add_clicked);
    m_button_previous = nullptr;
    m_button_next = nullptr;
    if (m_page > 0) {
        m_button_previous = add_area_button(m_area, "Button_previous", 110, ":/png/previous.png");
        connect(m_button_previous, &QPushButton::clicked, this, &InputCut::qel_Button_previous_clicked);
    }
    if (m_page < m_last_page) {
        m_button_next = add_area_button(m_area, "Button_next", 175, ":/png/next.png");
        connect(m_button_next, &QPushButton::clicked, this, &InputCut::qel_Button_next_clicked);
    }
    if (isVisible())   // else it shows with the screen, polished with it
        m_area->show();
}

void InputCut::qel_Button_previous_clicked()
{
    if (m_page > 0)
        --m_page;
    source_init();
}

void InputCut::qel_Button_next_clicked()
{
    if (m_page < m_last_page)
        ++m_page;
    source_init();
}

// ------------------------------------------------------------- edit form

void InputCut::qel_button_source_clicked()
{
    const int i = sender_number(sender(), 6);
    if (i < 0)
        return;
    const u8 ordinal = u8(6 * m_page + i);
    if (ordinal == 0) {
        para_changed_over();
        return;
    }
    const TileCrop tile = m_tiles[i];
    if (tile.record < 0)
        return;   // a tile without a crop
    if (!still_listed(tile)) {
        source_init();   // the table changed since the listing
        return;
    }
    const CropView crop(para()->ram_para, tile.record);
    m_add_flag = 0;
    m_form = tile;
    m_crop_suffix = QStringLiteral("-Crop-%1").arg(ordinal);
    ui->lineEdit_X->setText(QString::number(crop.x()));
    ui->lineEdit_Y->setText(QString::number(crop.y()));
    ui->lineEdit_W->setText(QString::number(crop.width()));
    ui->lineEdit_H->setText(QString::number(crop.height()));
    const FormButtons &b = buttons();
    b.del->move(80, 406);
    b.cancel->move(310, 406);
    b.ok->move(540, 406);
    b.del->show();
    open_form();
}

void InputCut::qel_button_add_clicked()
{
    QelRamPara *p = para();
    m_add_flag = 1;
    m_form = TileCrop();
    const int crops = p ? p->QelGetSourceNum(m_source, Img::CROP_COUNT) : 0;
    m_crop_suffix = QStringLiteral("-Crop-%1").arg(crops + 1);
    int w = kAddWidth;
    int h = kAddHeight;
    const InputSignal timing = p ? p->input_signal(m_source) : InputSignal();
    if (timing.present()) {
        w = qMin<int>(w, timing.width);
        h = qMin<int>(h, timing.height);
    }
    ui->lineEdit_X->setText(QStringLiteral("0"));
    ui->lineEdit_Y->setText(QStringLiteral("0"));
    ui->lineEdit_W->setText(QString::number(w));
    ui->lineEdit_H->setText(QString::number(h));
    const FormButtons &b = buttons();
    b.cancel->move(195, 406);
    b.ok->move(425, 406);
    b.del->hide();
    open_form();
}

void InputCut::unmark_form()
{
    for (QLineEdit *field : {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H})
        show_refused(field, false);
}

void InputCut::open_form()
{
    unmark_form();
    if (m_button_add)
        m_button_add->hide();
    show_name_line();
    ui->frame_add->show();
    ui->frame_add->raise();
    const FormButtons &b = buttons();
    b.cancel->show();
    b.ok->show();
}

// Record t.record still holds crop t.number of the shown input.
bool InputCut::still_listed(const TileCrop &t) const
{
    const QelRamPara *p = para();
    if (!p || t.record < 0 || t.record >= Img::CROP_COUNT)
        return false;
    const CropView crop(p->ram_para, t.record);
    return crop.valid() && crop.slot() == m_source && crop.number() == t.number;
}

CROP_PARA InputCut::form_crop() const
{
    return CROP_PARA{m_source, field_value(ui->lineEdit_X), field_value(ui->lineEdit_Y), field_value(ui->lineEdit_W),
                     field_value(ui->lineEdit_H)};
}

// The fields of a crop that reaches past the input's picture: X and W
// across, Y and H down. None when the input has no signal.
QList<QLineEdit *> InputCut::past_input(const CROP_PARA &crop) const
{
    QList<QLineEdit *> past;
    const QelRamPara *p = para();
    const InputSignal timing = p ? p->input_signal(m_source) : InputSignal();
    if (!timing.present())
        return past;
    if (crop.x + crop.width > timing.width)
        past << ui->lineEdit_X << ui->lineEdit_W;
    if (crop.y + crop.height > timing.height)
        past << ui->lineEdit_Y << ui->lineEdit_H;
    return past;
}

void InputCut::qel_button_ok_clicked()
{
    QelRamPara *p = para();
    if (!p || ui->frame_add->isHidden())
        return;
    CROP_PARA crop = form_crop();
    // a crop gone or renumbered meanwhile is left alone: the form closes
    if (m_add_flag || still_listed(m_form)) {
        const QList<QLineEdit *> past = past_input(crop);
        if (!past.isEmpty()) {
            // refused: the form stays for a correction, what reaches past the input marked
            for (QLineEdit *field : past)
                show_refused(field, true);
            return;
        }
        if (m_add_flag)
            p->QelAddNewCrop(m_source, &crop);
        else
            p->QelSetCropRecord(m_form.record, m_source, m_form.number, crop);
    }
    crops_changed();
}

void InputCut::qel_button_delete_clicked()
{
    QelRamPara *p = para();
    if (!p || m_add_flag || m_form.record < 0 || ui->frame_add->isHidden())
        return;
    p->QelDeleteCropRecord(m_form.record, m_source, m_form.number);
    crops_changed();
}

void InputCut::crops_changed()
{
    if (QelRamPara *p = para())
        p->QelCropSourceInit();
    crop_source_num_update();
    source_init();
    para_changed_over();
}

void InputCut::qel_button_cancel_clicked() { para_changed_over(); }

void InputCut::para_changed_over()
{
    ui->frame_add->hide();
    m_buttons.hide();
    unmark_form();
    m_form = TileCrop();
    if (m_button_add)
        m_button_add->show();
}

bool InputCut::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QDialog::eventFilter(watched, event);
    paint_source_tile(watched, event);   // only the tiles are watched
    return true;
}

// ---------------------------------------------------------------- keypad

void InputCut::show_numberkeyboard_ui(QString text)
{
    My_lineEdit *field = sender_field(this, sender());
    if (!field)
        return;
    QString title;
    if (field == ui->lineEdit_X)
        title = QStringLiteral("X");
    else if (field == ui->lineEdit_Y)
        title = QStringLiteral("Y");
    else if (field == ui->lineEdit_W)
        title = KEYPAD_WIDTH.text();
    else
        title = kKeypadHeight.text();
    open_keypad(field, title, text);
}

// A marked field stays marked while its axis still reaches past the input.
void InputCut::confirmString(QString text)
{
    if (!own_keypad_field(this))
        return;
    take_keypad_entry(this, text);
    const QList<QLineEdit *> past = past_input(form_crop());
    for (QLineEdit *field : {ui->lineEdit_X, ui->lineEdit_Y, ui->lineEdit_W, ui->lineEdit_H})
        if (!past.contains(field))
            show_refused(field, false);
}

// --------------------------------------------------------------- refresh

void InputCut::syncUpdate(int code)
{
    QelRamPara *p = para();
    if (!p)
        return;
    bool rebuild = false;
    if (p->QelLanguageChanged() == 1) {
        language_changed();
        rebuild = true;   // the no-signal text follows the language
    }
    const u8 *img = p->ram_para;
    const u8 *shadow = p->ram_para_shadow;
    if (code == REFRESH_CROPS || differs(img, shadow, Img::CROP_TABLE, Img::CROP_SIZE * Img::CROP_COUNT)) {
        p->QelCropSourceInit();
        crop_source_num_update();
        rebuild = true;
    }
    // the first tile shows the input's signal
    if (p->input_signal(m_source) != InputTimingView(shadow, m_source).value())
        rebuild = true;
    if (rebuild)
        source_init();
}

// ------------------------------------------------------------------ back

void InputCut::on_Button_back_clicked()
{
    setAttribute(Qt::WA_DeleteOnClose);
    close();
    if (g_inputcut == this)
        g_inputcut = nullptr;
    if (!return_to_input_choice())
        return_to_settings();
}

// The edit form's buttons, made when the form first opens.
const FormButtons &InputCut::buttons()
{
    if (!m_buttons.ok) {
        m_buttons = make_form_buttons(this, m_font, &InputCut::qel_button_cancel_clicked, &InputCut::qel_button_ok_clicked,
                                      &InputCut::qel_button_delete_clicked);
        m_buttons.setTexts(TEXT_CANCEL.text(), kOk.text(), TEXT_DELETE.text());
    }
    return m_buttons;
}
