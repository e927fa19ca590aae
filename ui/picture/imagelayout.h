#ifndef QEL_UI_PICTURE_IMAGELAYOUT_H
#define QEL_UI_PICTURE_IMAGELAYOUT_H

#include <QDialog>
#include <QString>

#include "core/types.h"

class QFrame;
class QLabel;
class My_lineEdit;

namespace Ui {
class ImageLayout;
}

// Window layout (page 9): the six windows as tiles, and an editor for the
// selected one (on/off, source, X/Y/W/H, mirror, point-to-point).
class ImageLayout : public QDialog
{
    Q_OBJECT
public:
    explicit ImageLayout(QWidget *parent = nullptr);
    ~ImageLayout() override;

    void image_init();          // rebuilds the window diagram
    void image_para_update();   // fills the editor from the selected window
    void language_changed();
    void syncUpdate();          // refresh from para_sync (no code)
    void TextCreate(char window, char unused);
    void mirror_select(int k);
    // Back from a screen run over this one: repaint from the image, take the page again.
    void resume();

    u8 selected_window() const { return image_index; }

    // Window w's coloured tile at x in a strip of windows, with its source
    // label and dot; returns the source label.
    static QLabel *window_tile(QWidget *strip, int w, int x);

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

private slots:
    void qel_image_button_clicked();
    void on_button_state_clicked();
    void on_mirror1_clicked();
    void on_mirror2_clicked();
    void on_mirror3_clicked();
    void on_mirror4_clicked();
    void on_comboBox_P2P_currentIndexChanged(int index);
    void on_Button_source_select_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mirror_clicked(int mode);
    void set_state_view(bool on);
    My_lineEdit *partner_of(My_lineEdit *field, int *limitOffset) const;

    Ui::ImageLayout *ui;
    u8 state_on = 1;
    u8 image_index = 0;
    QFrame *layout_frame = nullptr;
    QFrame *select_frame = nullptr;
    QLabel *source_labels[6] = {};
};

#endif
