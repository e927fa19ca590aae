#ifndef QEL_UI_PICTURE_IMAGEQUALITY_H
#define QEL_UI_PICTURE_IMAGEQUALITY_H

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;

namespace Ui {
class ImageQuality;
}

// Picture quality (page 11): brightness, contrast, sharpness, saturation,
// colour temperature with its gains, and the reset to factory values.
class ImageQuality : public QDialog
{
    Q_OBJECT
public:
    explicit ImageQuality(QWidget *parent = nullptr);
    ~ImageQuality() override;

    void syncUpdate();          // refresh from para_sync (no code)
    void para_init();
    void language_changed();
    void combox_language_change();

public slots:
    void on_Button_back_clicked();

private slots:
    void on_Button_quality_clicked();
    void on_Button_temperature_clicked();

    void on_horizontalSlider_bright_valueChanged(int value);
    void on_horizontalSlider_sharpness_valueChanged(int value);
    void on_horizontalSlider_contrast_valueChanged(int value);
    void on_horizontalSlider_saturation_valueChanged(int value);
    void on_horizontalSlider_red_valueChanged(int value);
    void on_horizontalSlider_green_valueChanged(int value);
    void on_horizontalSlider_blue_valueChanged(int value);

    void on_horizontalSlider_bright_sliderReleased();
    void on_horizontalSlider_sharpness_sliderReleased();
    void on_horizontalSlider_contrast_sliderReleased();
    void on_horizontalSlider_saturation_sliderReleased();
    void on_horizontalSlider_red_sliderReleased();
    void on_horizontalSlider_green_sliderReleased();
    void on_horizontalSlider_blue_sliderReleased();

    void on_Button_bright_add_clicked();
    void on_Button_sharpness_add_clicked();
    void on_Button_contrast_add_clicked();
    void on_Button_saturation_add_clicked();
    void on_Button_red_add_clicked();
    void on_Button_green_add_clicked();
    void on_Button_blue_add_clicked();

    void on_Button_bright_reduce_clicked();
    void on_Button_sharpness_reduce_clicked();
    void on_Button_contrast_reduce_clicked();
    void on_Button_saturation_reduce_clicked();
    void on_Button_red_reduce_clicked();
    void on_Button_green_reduce_clicked();
    void on_Button_blue_reduce_clicked();

    void on_comboBox_currentIndexChanged(int index);
    void on_Button_reset_clicked();

private:
    enum Control { BRIGHT, SHARPNESS, CONTRAST, SATURATION, RED, GREEN, BLUE, CONTROLS };
    struct Row
    {
        QSlider *slider;
        QLabel *label;
        int field;      // image offset
        int maximum;
    };

    void show_value(Control c, int value);
    void released(Control c);
    void step(Control c, int delta);
    void select_tab(QPushButton *button, int page);
    void set_type_index(int index);

    Ui::ImageQuality *ui;
    Row rows[CONTROLS];
    QPushButton *tab_selected = nullptr;
};

#endif
