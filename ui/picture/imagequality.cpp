#include "ui/picture/imagequality.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <cstring>
#include <utility>

#include "core/global.h"
#include "core/qelrampara.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_imagequality.h"

namespace {

const int kPictureBytes = 16;   // image 2176..2191

const PanelText kTypes[4] = {
    {"自定义", "custom", "Свой", "Tùy chỉnh", "自定義"},
    {"偏暖", "warm", "Теплый", "Màu ấm", "偏暖"},
    {"自然", "nature", "Природный", "Tự nhiên", "自然"},
    {"偏冷", "cool", "Холодный", "Lạnh hơn", "偏冷"},
};

QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

// One picture field, whole 16 bits, with the update byte raised.
void write_field(int offset, u16 value)
{
    if (QelRamPara *p = para())
        p->edit_u16(offset, value);
}

}

ImageQuality::ImageQuality(QWidget *parent) : QDialog(parent), ui(new Ui::ImageQuality)
{
    ui->setupUi(this);
    rows[BRIGHT] = {ui->horizontalSlider_bright, ui->label_bright, Img::BRIGHTNESS, 100};
    rows[SHARPNESS] = {ui->horizontalSlider_sharpness, ui->label_sharpness, Img::SHARPNESS, 100};
    rows[CONTRAST] = {ui->horizontalSlider_contrast, ui->label_contrast, Img::CONTRAST, 100};
    rows[SATURATION] = {ui->horizontalSlider_saturation, ui->label_saturation, Img::SATURATION, 100};
    rows[RED] = {ui->horizontalSlider_red, ui->label_red, Img::GAIN_R, 128};
    rows[GREEN] = {ui->horizontalSlider_green, ui->label_green, Img::GAIN_G, 128};
    rows[BLUE] = {ui->horizontalSlider_blue, ui->label_blue, Img::GAIN_B, 128};
    // a page step would move a slider without writing it (a tap on the
    // groove, a wheel): only the handle and the buttons change a value
    for (const Row &r : rows)
        r.slider->setPageStep(0);

    set_back_icon(ui->Button_back);
    ui->stackedWidget->setCurrentIndex(0);
    tab_selected = ui->Button_quality;
    set_style(ui->Button_quality, SELECTED_STYLE);
    set_list_view(ui->comboBox);

    language_changed();
    para_init();
}

ImageQuality::~ImageQuality()
{
    if (g_imagequality == this)
        g_imagequality = nullptr;
    delete ui;
}

void ImageQuality::para_init()
{
    QelRamPara *p = para();
    if (!p)
        return;
    for (Row &r : rows) {
        r.slider->setValue(p->get_u16(r.field));
        // the label shows what the slider holds, also for a stored value out of range
        r.label->setText(QString::number(r.slider->value()));
    }
    set_type_index(p->get_u16(Img::COLOR_TEMP));
}

void ImageQuality::set_type_index(int index)
{
    const QSignalBlocker block(ui->comboBox);
    ui->comboBox->setCurrentIndex(index >= 0 && index <= 3 ? index : -1);
}

void ImageQuality::language_changed()
{
    const std::pair<QLabel *, PanelText> labels[] = {
        {ui->label_title, {"图像效果", "Image quality", "Изображение", "Chất lượng hình ảnh", "圖像效果"}},
        {ui->label_name_bright, {"亮度", "Brightness", "Яркость", "Độ cao", "亮度"}},
        {ui->label_name_sharp, {"锐度", "Sharpness", "Резкость", "Độ sắc nét", "銳度"}},
        {ui->label_name_contrast, {"对比度", "Contrast", "Контраст", "Độ tương phản", "對比度"}},
        {ui->label_name_saturation, {"饱和度", "Saturation", "Насыщенность", "Độ bão hòa", "飽和度"}},
        {ui->label_type, {"色温类型", "temperature type", "Выбор цвета", "Lựa chọn độ màu", "色溫類型"}},
        {ui->label_name_red, {"红色", "Red", "Красный", "Màu đỏ", "紅色"}},
        {ui->label_name_green, {"绿色", "Green", "Зеленый", "Màu xanh lá cây", "綠色"}},
        {ui->label_name_blue, {"蓝色", "Blue", "Синий", "Màu xanh da trời", "藍色"}},
    };
    const std::pair<QPushButton *, PanelText> buttons[] = {
        {ui->Button_quality, {"画质", "Quality", "Качество", "Chất lượng", "畫質"}},
        {ui->Button_temperature, {"色温", "Temperature", "Оттенок", "Độ màu", "色溫"}},
        {ui->Button_reset, {"画质复位", "Reset", "Сбросить", "Đặt lại chất lượng hình ảnh", "畫質複位"}},
    };
    for (const auto &[label, text] : labels)
        label->setText(text.text());
    for (const auto &[button, text] : buttons)
        button->setText(text.text());
    if (QelRamPara *p = para())
        set_type_index(p->get_u16(Img::COLOR_TEMP));
    combox_language_change();
}

// The refill is no operator's choice: it writes nothing.
void ImageQuality::combox_language_change()
{
    const QSignalBlocker block(ui->comboBox);
    const int index = ui->comboBox->currentIndex();
    ui->comboBox->clear();
    for (const PanelText &t : kTypes)
        ui->comboBox->addItem(t.text());
    ui->comboBox->setCurrentIndex(index);
}

void ImageQuality::syncUpdate()
{
    QelRamPara *p = para();
    if (!p)
        return;
    if (p->QelLanguageChanged() == 1)
        language_changed();
    if (std::memcmp(p->ram_para + Img::PICTURE, p->ram_para_shadow + Img::PICTURE, kPictureBytes) != 0)
        para_init();
}

void ImageQuality::on_Button_back_clicked() { back_to_settings(this, g_imagequality); }

void ImageQuality::select_tab(QPushButton *button, int page)
{
    ui->stackedWidget->setCurrentIndex(page);
    move_selection(tab_selected, button);
}

void ImageQuality::on_Button_quality_clicked() { select_tab(ui->Button_quality, 0); }
void ImageQuality::on_Button_temperature_clicked() { select_tab(ui->Button_temperature, 1); }

void ImageQuality::show_value(Control c, int value) { rows[c].label->setText(QString::number(value)); }

void ImageQuality::released(Control c) { write_field(rows[c].field, u16(rows[c].slider->value())); }

void ImageQuality::step(Control c, int delta)
{
    Row &r = rows[c];
    bool ok = false;
    int v = r.label->text().toShort(&ok, 10);
    if (!ok)
        v = 0;
    v = qBound(0, v + delta, r.maximum);
    r.label->setText(QString::number(v));
    r.slider->setValue(v);
    write_field(r.field, u16(r.slider->value()));
}

void ImageQuality::on_horizontalSlider_bright_valueChanged(int value) { show_value(BRIGHT, value); }
void ImageQuality::on_horizontalSlider_sharpness_valueChanged(int value) { show_value(SHARPNESS, value); }
void ImageQuality::on_horizontalSlider_contrast_valueChanged(int value) { show_value(CONTRAST, value); }
void ImageQuality::on_horizontalSlider_saturation_valueChanged(int value) { show_value(SATURATION, value); }
void ImageQuality::on_horizontalSlider_red_valueChanged(int value) { show_value(RED, value); }
void ImageQuality::on_horizontalSlider_green_valueChanged(int value) { show_value(GREEN, value); }
void ImageQuality::on_horizontalSlider_blue_valueChanged(int value) { show_value(BLUE, value); }

void ImageQuality::on_horizontalSlider_bright_sliderReleased() { released(BRIGHT); }
void ImageQuality::on_horizontalSlider_sharpness_sliderReleased() { released(SHARPNESS); }
void ImageQuality::on_horizontalSlider_contrast_sliderReleased() { released(CONTRAST); }
void ImageQuality::on_horizontalSlider_saturation_sliderReleased() { released(SATURATION); }
void ImageQuality::on_horizontalSlider_red_sliderReleased() { released(RED); }
void ImageQuality::on_horizontalSlider_green_sliderReleased() { released(GREEN); }
void ImageQuality::on_horizontalSlider_blue_sliderReleased() { released(BLUE); }

void ImageQuality::on_Button_bright_add_clicked() { step(BRIGHT, 1); }
void ImageQuality::on_Button_sharpness_add_clicked() { step(SHARPNESS, 1); }
void ImageQuality::on_Button_contrast_add_clicked() { step(CONTRAST, 1); }
void ImageQuality::on_Button_saturation_add_clicked() { step(SATURATION, 1); }
void ImageQuality::on_Button_red_add_clicked() { step(RED, 1); }
void ImageQuality::on_Button_green_add_clicked() { step(GREEN, 1); }
void ImageQuality::on_Button_blue_add_clicked() { step(BLUE, 1); }

void ImageQuality::on_Button_bright_reduce_clicked() { step(BRIGHT, -1); }
void ImageQuality::on_Button_sharpness_reduce_clicked() { step(SHARPNESS, -1); }
void ImageQuality::on_Button_contrast_reduce_clicked() { step(CONTRAST, -1); }
void ImageQuality::on_Button_saturation_reduce_clicked() { step(SATURATION, -1); }
void ImageQuality::on_Button_red_reduce_clicked() { step(RED, -1); }
void ImageQuality::on_Button_green_reduce_clicked() { step(GREEN, -1); }
void ImageQuality::on_Button_blue_reduce_clicked() { step(BLUE, -1); }

// The gains stay as they are whatever the type.
void ImageQuality::on_comboBox_currentIndexChanged(int index)
{
    QelRamPara *p = para();
    if (!p || index < 0 || index > 3 || index == p->get_u16(Img::COLOR_TEMP))
        return;
    write_field(Img::COLOR_TEMP, u16(index));
}

// The controls follow with the next refresh.
void ImageQuality::on_Button_reset_clicked()
{
    QelRamPara *p = para();
    if (!p)
        return;
    const u8 *factory = QelRamPara::default_para_ramlist() + 2 + (Img::PICTURE - Img::SETTINGS_START);
    p->edit([factory](u8 *img) { std::memcpy(img + Img::PICTURE, factory, kPictureBytes); });
}
