#ifndef QEL_UI_INPUT_INPUTCHOOSE_H
#define QEL_UI_INPUT_INPUTCHOOSE_H

#include <QDialog>
#include <QString>

#include "core/param_view.h"
#include "core/types.h"

class QFrame;
class QLabel;
class QPushButton;

namespace Ui {
class InputChoose;
}

// Page 3: what each window shows, a whole input or one of its crops.
class InputChoose : public QDialog
{
    Q_OBJECT
public:
    explicit InputChoose(QWidget *parent = nullptr);
    ~InputChoose() override;

    // Refresh after the scaler pass (code of the refresh signal).
    void syncUpdate(int code);
    void language_changed();
    void initSource();
    void crop_source_num_update();
    void source_name_update();
    void source_check_update();
    void initMenu();
    void TextCreate(int window, int);
    void input_source_changed(int window);
    void image_select();
    // Everything shown brought up to date with the image, for the return
    // from the crop and EDID screens: their changes are in the shadow
    // already and no refresh reports them again.
    void reload();

    u8 selectedWindow() const { return m_image_index; }
    u8 selectedInput() const { return m_source_index; }
    u8 page() const { return m_page; }
    u8 lastPage() const { return m_last_page; }

public slots:
    void on_Button_back_clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void on_Button_HDMI1_clicked();
    void on_Button_HDMI2_clicked();
    void on_Button_HDMI3_clicked();
    void on_Button_HDMI4_clicked();
    void on_Button_DVI_clicked();
    void on_Button_EXT_clicked();

    void qel_image_button_clicked();
    void qel_source_button_clicked();
    void qel_Button_menu_clicked();
    void qel_Button_previous_clicked();
    void qel_Button_next_clicked();
    void qel_button_inputcut_clicked();
    void qel_button_EDID_clicked();

private:
    void select_input(u8 slot);
    void set_texts();
    void make_popup();
    void hide_popup();
    void place_tab_frame();
    void set_window_name(int window, const QString &text);
    WindowSource window_source(int window) const;
    int crop_ordinal(int slot, int record) const;

    Ui::InputChoose *ui;
    QPushButton *m_button_inputcut = nullptr;
    QPushButton *m_button_edid = nullptr;

    QFrame *m_menu_frame = nullptr;
    QFrame *m_select_frame = nullptr;
    QPushButton *m_window_button[6] = {};   // each paints its window's source name

    QFrame *m_source_area = nullptr;
    QFrame *m_source_frame = nullptr;
    QLabel *m_badge = nullptr;
    QPushButton *m_source_button = nullptr;
    QPushButton *m_button_menu = nullptr;
    QPushButton *m_button_previous = nullptr;
    QPushButton *m_button_next = nullptr;

    u8 m_image_index = 0;   // selected window
    u8 m_source_index = 2;  // selected input, HDMI1 until a window names one
    u8 m_page = 0;
    u8 m_last_page = 0;
    QString m_source_name = QStringLiteral("HDMI1");
};

#endif
