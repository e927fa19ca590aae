#ifndef QEL_UI_OUTPUT_OUTPUTSET_H
#define QEL_UI_OUTPUT_OUTPUTSET_H

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QString>

#include "core/types.h"

class QFrame;
class QLabel;
class QPushButton;

namespace Ui {
class OutputSet;
}

// Output screen (page 6): LED canvas, splice mode and the two output areas,
// and a read-only view of the 24 output ports.
class OutputSet : public QDialog
{
    Q_OBJECT
public:
    explicit OutputSet(QWidget *parent = nullptr);
    ~OutputSet() override;

    void para_init();
    void out_label_changed();
    void wlan_init();
    void wlan_para_get(unsigned short port);
    void language_changed();
    void combox_language_change();
    // Refresh from the shell while page 6 is shown.
    void syncUpdate();

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

private slots:
    void on_comboBox_activated(int index);
    void on_Button_apply1_clicked();
    void on_Button_cancel1_clicked();
    void on_Button_apply2_clicked();
    void on_Button_cancel2_clicked();
    void on_Button_ledset_clicked();
    void on_Button_lanset_clicked();
    void on_Button_wlan1_clicked();
    void on_Button_wlan2_clicked();
    void on_Button_wlan3_clicked();
    void on_Button_wlan4_clicked();
    void qel_button_wlan_clicked();

private:
    void select_group(u8 group);
    void out1_width_entered(int v);
    void out1_height_entered(int v);
    void show_areas(int out1_w, int out2_w, int out1_h, int out2_h);

    Ui::OutputSet *ui;
    QLabel *tile_icon = nullptr;
    QLabel *tile_label = nullptr;
    QFrame *tile_frame = nullptr;
    QFrame *tiles_frame = nullptr;
    QPushButton *tile_button = nullptr;
    QString tile_text;
    QFont tile_font;
    QString edit_name;
    u8 port_group = 0;
    u8 splice_mode = 0;
    u8 port_index = 0;
};

// Highlight holders of the open output screen (null while it is closed).
extern QPointer<QPushButton> g_set_focus;
extern QPointer<QPushButton> g_apply_focus1;
extern QPointer<QPushButton> g_apply_focus2;
extern QPointer<QPushButton> g_wlan_focus;
extern QPointer<QFrame> g_wlan_frame[8];

#endif
