#ifndef QEL_UI_SHELL_OPTION_H
#define QEL_UI_SHELL_OPTION_H

#include <QDialog>

namespace Ui {
class Option;
}

// The settings menu (page 5), opened modally from the main menu.
class Option : public QDialog
{
    Q_OBJECT
public:
    explicit Option(QWidget *parent = nullptr);
    ~Option() override;

    void language_changed();
    // Runs the keypad for the window layout's access code: true for "8888".
    bool ask_access_code();

public slots:
    void on_Button_back_clicked();
    void on_output_set_clicked();
    void on_input_cut_clicked();
    void on_link_set_clicked();
    void on_image_quality_clicked();
    void on_AdvanceButton_clicked();
    void on_test_chart_clicked();
    void on_smart_mapping_clicked();
    void on_image_layout_clicked();

private:
    void enable_buttons();

    Ui::Option *ui;
};

#endif
