#ifndef QEL_UI_OUTPUT_SMARTMAPPING_H
#define QEL_UI_OUTPUT_SMARTMAPPING_H

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>

#include "core/global.h"
#include "core/types.h"

class QFrame;
class QPushButton;
class QToolButton;
class ScanFileList;

namespace Ui {
class SmartMapping;
}

// Smart mapping wizard (page 24): places the receiving cards of one output
// port on the canvas, loads scan files into them, makes them keep their
// parameters and switches mapping on or off. The cabinet description goes
// into line_type and the chosen file into g_qlfile_name, both under
// g_line_type_mutex; the FPGA manager copies them when it takes the job.
// The scan files to choose from are listed by its ScanFileList.
class SmartMapping : public QDialog
{
    Q_OBJECT
public:
    explicit SmartMapping(QWidget *parent = nullptr);
    ~SmartMapping() override;

    // Refresh from the shell while page 24 shows: 100 nothing, 101 the
    // list again without the stick, 102 the list, else the language.
    void syncUpdate(int code);
    void language_changed();

signals:
    // job progress 0..100, fed to the progress ring
    void sig_qround_bar_update(int value);

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

private slots:
    void on_Button_shortcut_clicked();
    void on_Button_loadscan_clicked();
    void on_Button_paraweld_clicked();
    void on_Button_mapping_clicked();
    void on_Button_next_clicked();
    void on_Button_front_2_clicked();
    void on_Button_next_2_clicked();
    void on_Button_front_3_clicked();
    void on_Button_send_clicked();
    void on_Button_route_clicked();
    void on_Button_cancel_clicked();
    void on_Button_next_5_clicked();
    void on_Button_front_6_clicked();
    void on_Button_load_clicked();
    void on_Button_confirm_clicked();
    void on_Button_mapping_state_clicked();

    void qel_button_wlan_clicked();

private:
    void line_select(int n);
    void button_select(QPushButton *button);
    void wlan_init(int page);
    void group_select(QPushButton *button, u8 group, int page);
    void show_refused_port(int port);
    QToolButton *route_button(int n) const;
    void route_chosen(int n);
    void show_file_list();
    void show_load_scan_state();
    void show_mapping_state();
    void edit_line(const std::function<void(LINE_TYPE &)> &change);
    LINE_TYPE line() const;

    void page0_texts();
    void page1_texts();
    void page2_texts();
    void page3_texts();
    void page4_texts();
    void page5_texts();
    void page6_texts();
    void page7_texts();

    Ui::SmartMapping *ui;
    ScanFileList *scan_list = nullptr;
    QPushButton *selected_menu_button = nullptr;
    QPushButton *selected_group_button = nullptr;
    u32 file_list_shown = 0;
    u8 port_group = 0;
    int refused_port = -1;   // the port Send refused, marked until another is chosen
    QPointer<QFrame> tiles_frame;
    QPointer<QFrame> selected_tile;
};

#endif
