#ifndef QEL_UI_INPUT_EDIDSET_H
#define QEL_UI_INPUT_EDIDSET_H

#include <QDialog>
#include <QFont>
#include <QString>

#include "core/types.h"
#include "ui/input/input_tiles.h"

class QFrame;
class QPushButton;

namespace Ui {
class EDIDset;
}

// Page 8: the custom EDID timing each input offers its source.
class EDIDset : public QDialog
{
    Q_OBJECT
public:
    explicit EDIDset(QWidget *parent = nullptr);
    ~EDIDset() override;

    // Refresh from the shell while page 8 is shown.
    void syncUpdate();
    void language_changed();
    void input_init();
    void source_init();

    u8 source() const { return m_source; }

public slots:
    void on_Button_back_clicked();
    void show_numberkeyboard_ui(QString text);
    void confirmString(QString text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_Button_left_clicked();
    void on_Button_right_clicked();
    void qel_button_input_clicked();
    void qel_button_source_clicked();
    void qel_button_cancel_clicked();
    void qel_button_ok_clicked();
    void qel_button_delete_clicked();

private:
    const FormButtons &buttons();
    void toggle_rate();
    void close_panel();

    Ui::EDIDset *ui;
    QFrame *m_highlight = nullptr;
    QFrame *m_frame_source = nullptr;
    FormButtons m_buttons;   // made on first use: buttons()
    QString m_source_name = QStringLiteral("HDMI1");
    QFont m_font;
    u8 m_source = 2;   // input slot, HDMI1 first
};

#endif
