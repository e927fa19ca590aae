#include "ui/input/edidset.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <cstring>

#include "core/global.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "ui/input/input_tiles.h"
#include "ui_edidset.h"

namespace {

const PanelText kTitle{"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "设置EDID"};
const PanelText kSourcePrefix{"EDID信源:", "EDID source:", "Источник EDID:", "Tín hiệu EDID:", "EDID信源:"};
const PanelText kRefresh{"刷新率", "Refresh rate", "Частота", "Tần số", "刷新率"};
const PanelText kSave{"保存", "SAVE", "Сохранить", "lưu", "保存"};
const PanelText kKeypadHeight{"高", "H", "H", "H", "高"};

// The refresh row inside the edit panel, per language: label, left arrow,
// rate, right arrow (x, y, width, height).
struct RateRow
{
    QRect freq, left, rate, right;
};
const RateRow kRowChinese{{360, 83, 70, 28}, {440, 72, 44, 50}, {484, 72, 92, 50}, {576, 72, 44, 50}};
const RateRow kRowLatin{{360, 83, 130, 28}, {500, 72, 44, 50}, {544, 72, 92, 50}, {636, 72, 44, 50}};
const RateRow kRowVietnamese{{360, 83, 130, 28}, {500, 72, 44, 50}, {544, 72, 72, 50}, {616, 72, 44, 50}};

QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

} // namespace

EDIDset::EDIDset(QWidget *parent) : QDialog(parent), ui(new Ui::EDIDset)
{
    ui->setupUi(this);
    QLabel *const icons[6] = {ui->label_HDMI1, ui->label_HDMI2, ui->label_HDMI3,
                              ui->label_HDMI4, ui->label_DVI,   ui->label_EXT};
    m_highlight = setup_input_row(this, ui->Button_back, icons);
    m_font.setPointSize(12);
    input_init();
    source_init();
    ui->frame_add->hide();
    connect_keypad(this, {ui->lineEdit_W, ui->lineEdit_H});
    language_changed();
}

EDIDset::~EDIDset()
{
    if (g_edidset == this)
        g_edidset = nullptr;
    delete ui;
}

void EDIDset::language_changed()
{
    ui->label_title->setText(kTitle.text());
    ui->label_edid_source->setText(kSourcePrefix.text() + m_source_name);
    ui->label_W->setText(TEXT_WIDTH.text());
    ui->label_H->setText(TEXT_HEIGHT.text());
    ui->label_freq->setText(kRefresh.text());
    m_buttons.setTexts(TEXT_CANCEL.text(), kSave.text(), TEXT_DELETE.text());

    const int lang = panel_language();
    const RateRow &row = (lang == 0 || lang == 4) ? kRowChinese : lang == 3 ? kRowVietnamese : kRowLatin;
    ui->label_freq->setGeometry(row.freq);
    ui->Button_left->setGeometry(row.left);
    ui->label_rate->setGeometry(row.rate);
    ui->Button_right->setGeometry(row.right);
}

// ---------------------------------------------------------------- inputs

void EDIDset::input_init() { make_input_buttons(this, &EDIDset::qel_button_input_clicked); }

void EDIDset::qel_button_input_clicked()
{
    const int k = sender_number(sender(), 6);
    if (k < 0)
        return;
    m_source = INPUT_COLUMNS[k].slot;
    m_source_name = QLatin1String(INPUT_COLUMNS[k].name);
    place_input_highlight(m_highlight, k);
    source_init();
    close_panel();
}

// The stored EDID timing of the input, as one tile.
void EDIDset::source_init()
{
    retire(m_frame_source);
    m_frame_source = make_tile_area(this, m_font);
    QPushButton *tile = add_source_tile(m_frame_source, 0, 0, 0, m_source == 1, this);
    QString size;
    if (const QelRamPara *p = para()) {
        const EdidView edid(p->ram_para, m_source);
        size = QStringLiteral("%1x%2@%3Hz").arg(edid.width()).arg(edid.height()).arg(edid.rate());
    }
    set_tile_lines(tile, m_source_name, size);
    connect(tile, &QPushButton::clicked, this, &EDIDset::qel_button_source_clicked);
    m_frame_source->show();
}

// ------------------------------------------------------------ edit panel

void EDIDset::qel_button_source_clicked()
{
    const QelRamPara *p = para();
    if (!p)
        return;
    const EdidView edid(p->ram_para, m_source);
    ui->label_edid_source->setText(kSourcePrefix.text() + m_source_name);
    ui->lineEdit_W->setText(QString::number(edid.width()));
    ui->lineEdit_H->setText(QString::number(edid.height()));
    ui->label_rate->setText(QString::number(edid.rate()));
    const FormButtons &b = buttons();
    b.del->move(80, 406);
    b.cancel->move(310, 406);
    b.ok->move(540, 406);
    ui->frame_add->show();
    ui->frame_add->raise();
    b.del->show();
    b.cancel->show();
    b.ok->show();
}

void EDIDset::on_Button_left_clicked() { toggle_rate(); }
void EDIDset::on_Button_right_clicked() { toggle_rate(); }

void EDIDset::toggle_rate()
{
    ui->label_rate->setText(ui->label_rate->text() == QLatin1String("30") ? QStringLiteral("60")
                                                                           : QStringLiteral("30"));
}

void EDIDset::qel_button_ok_clicked()
{
    QelRamPara *p = para();
    if (!p || ui->frame_add->isHidden())
        return;
    const int w = field_number(ui->lineEdit_W->text()).value;
    const int h = field_number(ui->lineEdit_H->text()).value;
    const int rate = field_number(ui->label_rate->text()).value;
    p->QelSetEDIDPara(m_source, short(u16(w)), short(u16(h)), short(u16(rate)));
    source_init();
    close_panel();
}

// Delete, like cancel, only closes the panel: a stored record stays.
void EDIDset::qel_button_cancel_clicked() { close_panel(); }
void EDIDset::qel_button_delete_clicked() { close_panel(); }

void EDIDset::close_panel()
{
    ui->frame_add->hide();
    m_buttons.hide();
}

bool EDIDset::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QDialog::eventFilter(watched, event);
    paint_source_tile(watched, event);   // only the tile is watched
    return true;
}

// ---------------------------------------------------------------- keypad

void EDIDset::show_numberkeyboard_ui(QString text)
{
    if (My_lineEdit *field = sender_field(this, sender()))
        open_keypad(field, field == ui->lineEdit_W ? KEYPAD_WIDTH.text() : kKeypadHeight.text(), text);
}

void EDIDset::confirmString(QString text) { take_keypad_entry(this, text); }

// --------------------------------------------------------------- refresh

void EDIDset::syncUpdate()
{
    QelRamPara *p = para();
    if (!p)
        return;
    if (p->QelLanguageChanged() == 1)
        language_changed();
    const int offset = Img::EDID_RECORD + Img::EDID_RECORD_SIZE * m_source;
    if (std::memcmp(p->ram_para + offset, p->ram_para_shadow + offset, Img::EDID_RECORD_SIZE) != 0)
        source_init();
}

// ------------------------------------------------------------------ back

void EDIDset::on_Button_back_clicked()
{
    setAttribute(Qt::WA_DeleteOnClose);
    close();
    if (g_edidset == this)
        g_edidset = nullptr;
    return_to_input_choice();
}

// The edit form's buttons, made when the form first opens.
const FormButtons &EDIDset::buttons()
{
    if (!m_buttons.ok) {
        m_buttons = make_form_buttons(this, m_font, &EDIDset::qel_button_cancel_clicked, &EDIDset::qel_button_ok_clicked,
                                      &EDIDset::qel_button_delete_clicked);
        m_buttons.setTexts(TEXT_CANCEL.text(), kSave.text(), TEXT_DELETE.text());
    }
    return m_buttons;
}
