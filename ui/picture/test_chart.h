#ifndef QEL_UI_PICTURE_TEST_CHART_H
#define QEL_UI_PICTURE_TEST_CHART_H

#include <QDialog>

#include "core/types.h"

class QLabel;

namespace Ui {
class test_chart;
}

// Test patterns (page 16): puts one of eight patterns on the LED wall and
// takes it off again. The pattern stays on after the screen is left.
class test_chart : public QDialog
{
    Q_OBJECT
public:
    explicit test_chart(QWidget *parent = nullptr);
    ~test_chart() override;

    void testimage_button_init();
    void para_init();
    void language_changed();
    void syncUpdate();          // refresh from para_sync (no code)

public slots:
    void on_Button_back_clicked();

private slots:
    void qel_image_button_clicked();
    void on_Button_closetest_clicked();

private:
    static constexpr u8 NO_PATTERN = 102;

    QLabel *picture(int k) const;
    void write_pattern(u8 value);

    Ui::test_chart *ui;
    u8 pattern_index = NO_PATTERN;   // tile 0..7 with the mark
};

#endif
