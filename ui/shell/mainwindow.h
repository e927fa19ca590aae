#ifndef QEL_UI_SHELL_MAINWINDOW_H
#define QEL_UI_SHELL_MAINWINDOW_H

#include <QMainWindow>
#include <QPointer>

#include "core/types.h"
#include "ui/shell/firmwareupdate.h"

namespace Ui {
class MainWindow;
}
class QFrame;
class QLabel;
class QPushButton;

// The main menu (page 1) and the 10 ms tick.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void language_changed();
    // The FPGA manager's overlay requests, delivered queued.
    void connect_fpga_manage();

    void show_home();           // the home screen on top, page 0
    void show_menu();           // the main menu, page 1
    void lock_changed();        // the key lock went on or off

    // The user-mode pop-up.
    void mode_window_show();
    void mode_window_close();
    void mode_window_update();  // names, saved slots and the choice
    bool mode_window_open() const;

    FirmwareUpdate *update_overlay() const { return m_update; }

public slots:
    void slot_update_timer_ticks();
    void update_start();
    void update_over();

    void on_inputchoose_clicked();
    void on_custommode_clicked();
    void on_machinestate_clicked();
    void on_Button_setting_clicked();
    void on_Button_mode_clicked();
    void on_Button_home_clicked();

private slots:
    void qel_mode_button_clicked();
    void qel_Button_mode_save_clicked();
    void qel_Button_mode_close_clicked();

private:
    bool may_open();
    void open_page(u8 page);    // a registered setting screen, through may_open()
    void build_mode_window();
    void enable_buttons();

    Ui::MainWindow *ui;
    QFrame *m_mode_window = nullptr;
    QLabel *m_mode_title = nullptr;
    QPushButton *m_mode_buttons[16] = {};
    QPushButton *m_mode_save = nullptr;
    QPushButton *m_mode_close = nullptr;
    QPointer<FirmwareUpdate> m_update;
};

#endif
