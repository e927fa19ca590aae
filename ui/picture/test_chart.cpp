#include "ui/picture/test_chart.h"

#include <QLabel>
#include <QPushButton>

#include "core/global.h"
#include "core/qelrampara.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_test_chart.h"

namespace {

const char *const kPlain = "border:1px solid rgb(255, 255, 255);";
const char *const kMarked = "border:5px solid rgb(255,171,84);";

// The mark is a wider border: the picture is fitted to the new interior.
void frame_picture(QLabel *label, const char *style)
{
    label->setStyleSheet(QString::fromLatin1(style));
    set_picture(label, label->property("res").toString());
}

const PanelText kTitle{"测试图", "Test pattern", "Тестовый\nобразец", "Biểu đồ\nkiểm tra", "測試圖"};
const PanelText kClose{"关闭测试图", "Close", "Закрыть", "Đóng", "關閉測試圖"};
// captions; Russian and Vietnamese number the patterns
const PanelText kCaption[8] = {
    {"红色", "Red", "Тест %1", "Kiểm tra %1", "紅色"},
    {"绿色", "Green", "Тест %1", "Kiểm tra %1", "綠色"},
    {"蓝色", "Blue", "Тест %1", "Kiểm tra %1", "藍色"},
    {"白色", "White", "Тест %1", "Kiểm tra %1", "白色"},
    {"黑色", "Black", "Тест %1", "Kiểm tra %1", "黑色"},
    {"色带", "Colour bar", "Тест %1", "Kiểm tra %1", "色帶"},
    {"横线", "Horizontal line", "Тест %1", "Kiểm tra %1", "橫線"},
    {"竖线", "Vertical line", "Тест %1", "Kiểm tra %1", "豎線"},
};

}

test_chart::test_chart(QWidget *parent) : QDialog(parent), ui(new Ui::test_chart)
{
    ui->setupUi(this);
    set_back_icon(ui->Button_back);
    testimage_button_init();
    para_init();
    language_changed();
}

test_chart::~test_chart()
{
    if (g_test_chart == this)
        g_test_chart = nullptr;
    delete ui;
}

QLabel *test_chart::picture(int k) const
{
    QLabel *const labels[8] = {ui->label_test1, ui->label_test2, ui->label_test3, ui->label_test4,
                               ui->label_test5, ui->label_test6, ui->label_test7, ui->label_test8};
    return k >= 0 && k < 8 ? labels[k] : nullptr;
}

void test_chart::testimage_button_init()
{
    for (int k = 0; k < 8; ++k) {
        QPushButton *button = cover_button(ui->frame, k, QRect(40 + 140 * (k % 4), 20 + 160 * (k / 4), 100, 100));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, &test_chart::qel_image_button_clicked);
    }
}

void test_chart::para_init()
{
    for (int k = 0; k < 8; ++k)
        set_picture(picture(k), QStringLiteral(":/png/img_test%1.png").arg(k + 1));
}

void test_chart::language_changed()
{
    ui->label_title->setText(kTitle.text());
    ui->Button_closetest->setText(kClose.text());
    QLabel *const captions[8] = {ui->label_red,   ui->label_green,  ui->label_blue,  ui->label_white,
                                 ui->label_black, ui->label_colour, ui->label_hline, ui->label_wline};
    const int lang = panel_language();
    for (int k = 0; k < 8; ++k) {
        QString text = kCaption[k].text();
        if (lang == 2 || lang == 3)
            text = text.arg(k + 1);
        captions[k]->setText(text);
    }
}

// The mark is the operator's last choice here, not image byte 864.
void test_chart::syncUpdate()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p && p->QelLanguageChanged() == 1)
        language_changed();
}

void test_chart::write_pattern(u8 value)
{
    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->edit([value](u8 *img) { img[Img::TEST_PATTERN] = value; });
}

void test_chart::qel_image_button_clicked()
{
    const int k = sender_number(sender(), 8);
    if (k < 0)
        return;
    if (k != pattern_index) {
        if (QLabel *old = picture(pattern_index))
            frame_picture(old, kPlain);
        frame_picture(picture(k), kMarked);
        pattern_index = u8(k);
    }
    write_pattern(u8(k + 1));
}

void test_chart::on_Button_closetest_clicked()
{
    if (QLabel *old = picture(pattern_index))
        frame_picture(old, kPlain);
    pattern_index = NO_PATTERN;
    write_pattern(0);
}

// The pattern stays on the wall.
void test_chart::on_Button_back_clicked() { back_to_settings(this, g_test_chart); }
