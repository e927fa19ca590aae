#include "ui/shell/mainwindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/alias.h"
#include "ui/shell/firmwareupdate.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"
#include "ui_mainwindow.h"

namespace {
constexpr int kPanelW = 800;
constexpr int kPanelH = 480;
constexpr int kKeypadW = 380;

// a user-mode slot with nothing saved; the chosen one wears SELECTED_STYLE,
// a saved one PLAIN_STYLE
const char *const kEmpty = "background-color:#10101C;color:#6F7490;";

const PanelText kTitle = {"主菜单", "Main menu", "Главное меню", "Menu chính", "主菜單"};
const PanelText kInput = {"信源切换", "Source switch", "Переключение\nисточника", "Chuyển đổi\nnguồn", "信源切換"};
const PanelText kUserMode = {"用户模式", "User mode", "Слот", "Chế độ\nngười dùng", "用戶模式"};
const PanelText kStatus = {"设备信息", "Devices", "Устройство", "Thiết bị", "設備信息"};
const PanelText kSaveMode = {"保存模式", "Save mode", "Сохранить\nрежим", "Lưu chế độ", "保存模式"};
const PanelText kSettings = {"设置", "Settings", "Настройки", "Cài đặt", "設置"};
const PanelText kModeTitle = {"保存用户模式", "Save user mode", "Сохранить режим", "Lưu chế độ người dùng",
                              "保存用戶模式"};
const PanelText kModeName = {"用户模式%1", "MODE %1", "Слот %1", "Chế độ %1", "用戶模式%1"};
const PanelText kSave = {"保存", "Save", "Сохранить", "Lưu", "保存"};
const PanelText kClose = {"关闭", "Close", "Закрыть", "Đóng", "關閉"};
}

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setGeometry(0, 0, kPanelW, kPanelH);
    g_mainwindow = this;

    set_back_icon(ui->Button_home);
    ui->label_lock->setPixmap(LockWindow::lock_picture(true, 32));
    ui->label_lock->hide();

    build_mode_window();

    g_numberkeyboard = new NumberKeyboard(this);
    g_numberkeyboard->setGeometry(kPanelW - kKeypadW, 0, kKeypadW, kPanelH);
    g_numberkeyboard->hide();
    g_tip = new TIP(this);
    g_tip->hide();

    connect_fpga_manage();
    language_changed();
}

MainWindow::~MainWindow()
{
    if (m_update)
        delete m_update.data();
    g_numberkeyboard = nullptr;   // children, deleted with this window
    g_tip = nullptr;
    if (g_mainwindow == this)
        g_mainwindow = nullptr;
    delete ui;
}

// A screen's opener is enabled exactly when its page is registered; checked
// again whenever the menu is repainted.
void MainWindow::enable_buttons()
{
    ui->inputchoose->setEnabled(ScreenRegistry::registered(PAGE_INPUT_CHOICE));
    ui->custommode->setEnabled(ScreenRegistry::registered(PAGE_USER_MODE));
    ui->machinestate->setEnabled(ScreenRegistry::registered(PAGE_STATUS));
}

void MainWindow::connect_fpga_manage()
{
    fpga_manage *fpga = fpga_manage::p_fpga_manage;
    if (!fpga)
        return;
    connect(fpga, &fpga_manage::sig_update_start, this, &MainWindow::update_start,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    connect(fpga, &fpga_manage::sig_update_over, this, &MainWindow::update_over,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
}

void MainWindow::language_changed()
{
    enable_buttons();
    ui->label_title->setText(kTitle.text());
    ui->inputchoose->setText(kInput.text());
    ui->custommode->setText(kUserMode.text());
    ui->machinestate->setText(kStatus.text());
    ui->Button_mode->setText(kSaveMode.text());
    ui->Button_setting->setText(kSettings.text());
    m_mode_title->setText(kModeTitle.text());
    m_mode_save->setText(kSave.text());
    m_mode_close->setText(kClose.text());
    if (mode_window_open())
        mode_window_update();
}

// ---------------------------------------------------------------- the tick

void MainWindow::slot_update_timer_ticks()
{
    G_timeTicks.fetch_add(1, std::memory_order_relaxed);
    if (lcd_touch::p_lcd_touch)
        lcd_touch::p_lcd_touch->poll();
    if (g_tip)
        g_tip->tick();
    if (g_lockwindow)
        g_lockwindow->tick();
    // once every ageing period the screens that show the ageing log redraw it
    if (fpga_manage::ageing_tick())
        ScreenRegistry::ageing_tick();
}

// ------------------------------------------------------------ navigation

void MainWindow::show_home()
{
    mode_window_close();
    if (!g_lockwindow)
        return;
    g_page_focus = PAGE_HOME;
    g_lockwindow->language_changed();
    g_lockwindow->signal_update();
    g_lockwindow->show();
    g_lockwindow->raise();
    g_lockwindow->activateWindow();
}

void MainWindow::show_menu()
{
    g_page_focus = PAGE_MAIN;
    language_changed();
    show();
    raise();
    activateWindow();
    if (g_lockwindow)
        g_lockwindow->hide();
}

void MainWindow::lock_changed()
{
    ui->label_lock->setVisible(lcd_touch::key_locked());
}

void MainWindow::on_Button_home_clicked() { show_home(); }

// Refused while the key lock is on; closes the user-mode pop-up first.
bool MainWindow::may_open()
{
    if (lcd_touch::key_locked())
        return false;
    mode_window_close();
    return true;
}

void MainWindow::open_page(u8 page)
{
    if (may_open())
        ScreenRegistry::open(page);
}

void MainWindow::on_inputchoose_clicked() { open_page(PAGE_INPUT_CHOICE); }
void MainWindow::on_custommode_clicked() { open_page(PAGE_USER_MODE); }
void MainWindow::on_machinestate_clicked() { open_page(PAGE_STATUS); }

void MainWindow::on_Button_setting_clicked()
{
    if (may_open())
        open_screen(g_option, PAGE_SETTINGS);
}

// ----------------------------------------------------- firmware update overlay

void MainWindow::update_start()
{
    if (m_update)
        return;
    m_update = new FirmwareUpdate(nullptr);
    m_update->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    m_update->setWindowModality(Qt::ApplicationModal);
    m_update->setGeometry(0, 0, kPanelW, kPanelH);
    m_update->language_changed();
    m_update->show();
}

void MainWindow::update_over()
{
    if (!m_update)
        return;
    m_update->close();
    m_update->deleteLater();
    m_update = nullptr;
}

// ---------------------------------------------------------- user-mode pop-up

void MainWindow::build_mode_window()
{
    m_mode_window = new QFrame(ui->centralwidget);
    m_mode_window->setObjectName(QStringLiteral("mode_window"));
    m_mode_window->setGeometry(100, 64, 600, 410);
    m_mode_window->setStyleSheet(QStringLiteral(
        "QFrame#mode_window{background-color:#212435;border:1px solid #4777FF;border-radius:10px;}"
        "QPushButton{border:1px solid #3A3F5C;border-radius:6px;}"));

    m_mode_title = new QLabel(m_mode_window);
    m_mode_title->setObjectName(QStringLiteral("mode_title"));
    m_mode_title->setGeometry(0, 10, 600, 40);
    m_mode_title->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_mode_title->font();
    titleFont.setPointSize(18);
    m_mode_title->setFont(titleFont);

    QFont slotFont = font();
    slotFont.setPointSize(13);
    for (int s = 0; s < 16; ++s) {
        QPushButton *b = new QPushButton(m_mode_window);
        b->setObjectName(QStringLiteral("mode_slot_%1").arg(s));
        b->setGeometry(20 + 145 * (s % 4), 62 + 70 * (s / 4), 125, 56);
        b->setFont(slotFont);
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("slot", s);
        connect(b, &QPushButton::clicked, this, &MainWindow::qel_mode_button_clicked);
        m_mode_buttons[s] = b;
    }

    QFont actionFont = font();
    actionFont.setPointSize(16);
    auto action = [&](const char *name, int x, const char *style, void (MainWindow::*slot)()) {
        QPushButton *b = new QPushButton(m_mode_window);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 350, 170, 52);
        b->setFont(actionFont);
        b->setFocusPolicy(Qt::NoFocus);
        set_style(b, style);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_mode_save = action("Button_mode_save", 110, SELECTED_STYLE, &MainWindow::qel_Button_mode_save_clicked);
    m_mode_close = action("Button_mode_close", 320, PLAIN_STYLE, &MainWindow::qel_Button_mode_close_clicked);

    m_mode_window->hide();
}

bool MainWindow::mode_window_open() const { return m_mode_window && m_mode_window->isVisible(); }

void MainWindow::on_Button_mode_clicked()
{
    if (!may_open())
        return;
    mode_window_show();
}

void MainWindow::mode_window_show()
{
    if (g_mode_select > 15)
        g_mode_select = 0;
    mode_window_update();
    m_mode_window->show();
    m_mode_window->raise();
}

void MainWindow::mode_window_close()
{
    if (m_mode_window)
        m_mode_window->hide();
}

void MainWindow::mode_window_update()
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    for (int s = 0; s < 16; ++s) {
        QPushButton *b = m_mode_buttons[s];
        ALIAS_PARA alias;
        const QString name = get_json_alias_para(&alias, "usermode", s) ? alias.name : kModeName.text().arg(s + 1);
        // plain text: '&' would make a shortcut
        QString shown = b->fontMetrics().elidedText(name, Qt::ElideRight, b->width() - 10);
        b->setText(shown.replace(QLatin1Char('&'), QStringLiteral("&&")));
        const bool saved = para && para->QelUserModeSaved(s);
        b->setProperty("saved", saved);
        set_style(b, s == g_mode_select ? SELECTED_STYLE : (saved ? PLAIN_STYLE : kEmpty));
    }
}

void MainWindow::qel_mode_button_clicked()
{
    const QObject *b = sender();
    if (!b)
        return;
    const int s = b->property("slot").toInt();
    if (s < 0 || s > 15)
        return;
    g_mode_select = u8(s);
    mode_window_update();
}

// Asks for the current settings to be stored in the chosen slot; the refresh
// (SyncUpdate::para_sync) writes the slot and its file.
void MainWindow::qel_Button_mode_save_clicked()
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    if (!para || g_mode_select > 15 || lcd_touch::key_locked())
        return;
    para->edit_u16(Img::SAVE_MODE_REQUEST, u16(g_mode_select + 1));
}

void MainWindow::qel_Button_mode_close_clicked() { mode_window_close(); }
