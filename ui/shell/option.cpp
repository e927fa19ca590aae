#include "ui/shell/option.h"

#include <utility>

#include "core/global.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui_option.h"

namespace {
const char kAccessCode[] = "8888";

const PanelText kTitle = {"设置", "Settings", "Настройки", "Cài đặt", "設置"};
const PanelText kOutput = {"输出设置", "Output", "Выход", "Thông số\nđầu ra", "輸出設置"};
const PanelText kInputCut = {"输入截取", "Input\nintercept", "Источник", "Chặn\nnguồn vào", "輸入截取"};
const PanelText kLink = {"通讯设置", "Communication", "Подключение", "Cài đặt\ngiao tiếp", "通訊設置"};
const PanelText kQuality = {"图像效果", "Image\nquality", "Изображение", "Chất lượng\nhình ảnh", "圖像效果"};
const PanelText kAdvanced = {"高级设置", "Advanced\nSettings", "Доп.опции", "Cài đặt\nnâng cao", "高級設置"};
const PanelText kTestChart = {"测试图", "Test\npattern", "Тестовый\nобразец", "Biểu đồ\nkiểm tra", "測試圖"};
const PanelText kSmart = {"智能调屏", "Smart\ndebugging\nscreen", "Умная\nнастройка\nэкрана",
                          "Điều chỉnh\nmàn hình\nthông minh", "智能調屏"};
const PanelText kLayout = {"画面布局", "Screen\nlayout", "Расположение", "Bố cục\nmàn hình", "畫麵佈局"};
const PanelText kCodeTitle = {"密码", "Password", "Пароль", "Mật khẩu", "密碼"};
}

// The window flags come with the dialog: set after the form they would
// restyle the whole form again.
Option::Option(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::Option)
{
    ui->setupUi(this);
    setGeometry(0, 0, 800, 480);
    set_back_icon(ui->Button_back);
    language_changed();
}

Option::~Option()
{
    if (g_option == this)
        g_option = nullptr;
    delete ui;
}

// A screen's opener is enabled exactly when its page is registered; checked
// again whenever the menu is repainted.
void Option::enable_buttons()
{
    const std::pair<QPushButton *, u8> openers[] = {
        {ui->output_set, PAGE_OUTPUT},       {ui->input_cut, PAGE_INPUT_CROP},
        {ui->link_set, PAGE_NETWORK},        {ui->image_quality, PAGE_PICTURE},
        {ui->AdvanceButton, PAGE_ADVANCED},  {ui->test_chart, PAGE_TEST_PATTERN},
        {ui->smart_mapping, PAGE_SMART_MAPPING}, {ui->image_layout, PAGE_LAYOUT},
    };
    for (const auto &[button, page] : openers)
        button->setEnabled(ScreenRegistry::registered(page));
}

void Option::language_changed()
{
    enable_buttons();
    ui->label_title->setText(kTitle.text());
    ui->output_set->setText(kOutput.text());
    ui->input_cut->setText(kInputCut.text());
    ui->link_set->setText(kLink.text());
    ui->image_quality->setText(kQuality.text());
    ui->AdvanceButton->setText(kAdvanced.text());
    ui->test_chart->setText(kTestChart.text());
    ui->smart_mapping->setText(kSmart.text());
    ui->image_layout->setText(kLayout.text());
}

void Option::on_Button_back_clicked() { back_to_main(this, g_option); }

void Option::on_output_set_clicked() { ScreenRegistry::open(PAGE_OUTPUT); }
void Option::on_input_cut_clicked() { ScreenRegistry::open(PAGE_INPUT_CROP); }
void Option::on_link_set_clicked() { ScreenRegistry::open(PAGE_NETWORK); }
void Option::on_image_quality_clicked() { ScreenRegistry::open(PAGE_PICTURE); }
void Option::on_AdvanceButton_clicked() { ScreenRegistry::open(PAGE_ADVANCED); }
void Option::on_test_chart_clicked() { ScreenRegistry::open(PAGE_TEST_PATTERN); }
void Option::on_smart_mapping_clicked() { ScreenRegistry::open(PAGE_SMART_MAPPING); }

// The access code first; nothing when the screen is open already.
void Option::on_image_layout_clicked()
{
    if (ScreenRegistry::registered(PAGE_LAYOUT) && !ScreenRegistry::is_open(PAGE_LAYOUT) && ask_access_code())
        ScreenRegistry::open(PAGE_LAYOUT);
}

bool Option::ask_access_code()
{
    NumberKeyboard *keypad = g_numberkeyboard;
    if (!keypad)
        return false;
    bool entered = false;
    QString code;
    // connected only for this run: entries made for other screens are not ours
    const QMetaObject::Connection c = connect(keypad, &NumberKeyboard::sendKeyBoardUIDataToLineEdit, this,
                                              [&](QString text) {
                                                  entered = true;
                                                  code = text;
                                              });
    open_keypad(nullptr, kCodeTitle.text(), QString());
    disconnect(c);
    return entered && code == QLatin1String(kAccessCode);
}
