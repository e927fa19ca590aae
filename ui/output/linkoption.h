#ifndef QEL_UI_OUTPUT_LINKOPTION_H
#define QEL_UI_OUTPUT_LINKOPTION_H

#include <QDialog>
#include <QList>
#include <QString>

#include "core/types.h"
#include "led_output/fpga_manage.h"

class QFrame;
class QLabel;
class QPushButton;
class My_lineEdit;

namespace Ui {
class LinkOption;
}

// Communication screen (page 10): the serial line's fixed settings, the
// Ethernet address, mask and gateway, and the USB upgrade.
class LinkOption : public QDialog
{
    Q_OBJECT
public:
    explicit LinkOption(QWidget *parent = nullptr);
    ~LinkOption() override;

    static constexpr int ROWS = 5;   // rows drawn of the file list

    void get_file_list_smartpath();
    void rcv_self_recovery_file_list();
    void menulist_button_ok_page();
    // Refresh from the shell while page 10 is shown.
    void syncUpdate(int code);
    void language_changed();

    const QList<QString> &files() const { return upgrade_files; }
    bool marked(int i) const { return i >= 0 && i < file_count && file_marked[i]; }

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

private slots:
    void on_Button_com_clicked();
    void on_Button_wlan_clicked();
    void on_Button_usb_clicked();
    void on_Button_direct_clicked();
    void on_Button_IP_clicked();
    void on_Button_net_apply_clicked();
    void on_Button_net_cancel_clicked();
    void on_Button_ok_clicked();

private:
    enum Row { IP, MASK, GATE, ADDRESS_ROWS };

    void select_menu(QPushButton *button, int page);
    void set_connection_mode(bool direct);
    void fill_row(Row row, const QString &address);
    void set_bad(My_lineEdit *field, bool bad);
    void list_files();
    bool any_marked() const;
    void show_upgrade_result();

    Ui::LinkOption *ui;
    QPushButton *current_menu_button = nullptr;
    QString edit_name;
    QFrame *file_frame = nullptr;
    u8 file_downing = 0;
    QString upgrade_first;   // first package marked when the upgrade started here
    QList<QString> upgrade_files;
    u8 qel_file_count = 0;
    u8 qelzk_file_count = 0;
    u8 file_marked[fpga_manage::UPGRADE_LIST_MAX] = {};
    QLabel *row_labels[ROWS] = {};
    QString row_names[ROWS];
    int file_count = 0;

    My_lineEdit *octets[ADDRESS_ROWS][4] = {};
    QString octet_style[ADDRESS_ROWS][4];   // the form's style of each field
};

#endif
