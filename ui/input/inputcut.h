#ifndef QEL_UI_INPUT_INPUTCUT_H
#define QEL_UI_INPUT_INPUTCUT_H

#include <QDialog>
#include <QFont>
#include <QList>
#include <QString>

#include "core/types.h"
#include "ui/input/input_tiles.h"

struct CROP_PARA;
class QFrame;
class QLineEdit;
class QPushButton;

namespace Ui {
class InputCut;
}

// Page 7: the crops of each input, listed as tiles and edited in a form.
class InputCut : public QDialog
{
    Q_OBJECT
public:
    explicit InputCut(QWidget *parent = nullptr);
    ~InputCut() override;

    // Refresh after the scaler pass (code of the refresh signal).
    void syncUpdate(int code);
    void language_changed();
    void crop_source_num_update();
    void input_init();
    void source_init();
    void para_changed_over();

    u8 source() const { return m_source; }
    u8 page() const { return m_page; }
    u8 lastPage() const { return m_last_page; }
    bool adding() const { return m_add_flag != 0; }

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void qel_button_input_clicked();
    void qel_button_source_clicked();
    void qel_button_add_clicked();
    void qel_button_ok_clicked();
    void qel_button_cancel_clicked();
    void qel_button_delete_clicked();
    void qel_Button_previous_clicked();
    void qel_Button_next_clicked();

private:
    const FormButtons &buttons();
    struct TileCrop
    {
        int record = -1;   // crop record listed, -1: none found
        int number = 0;
    };
    void open_form();
    void show_name_line();
    bool still_listed(const TileCrop &t) const;
    CROP_PARA form_crop() const;
    QList<QLineEdit *> past_input(const CROP_PARA &crop) const;
    void unmark_form();
    void crops_changed();

    Ui::InputCut *ui;
    QFrame *m_highlight = nullptr;
    QFrame *m_area = nullptr;
    QPushButton *m_button_add = nullptr;
    QPushButton *m_button_previous = nullptr;
    QPushButton *m_button_next = nullptr;
    FormButtons m_buttons;   // made on first use: buttons()

    u8 m_source = 2;   // input slot shown, HDMI1 first
    QString m_source_name = QStringLiteral("HDMI1");
    QString m_crop_suffix;
    u8 m_page = 0;
    u8 m_last_page = 0;
    u8 m_add_flag = 0;
    TileCrop m_tiles[6];   // what each tile of the page lists
    TileCrop m_form;       // the crop the edit form opened on
    QFont m_font;
};

#endif
