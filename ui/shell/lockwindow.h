#ifndef QEL_UI_SHELL_LOCKWINDOW_H
#define QEL_UI_SHELL_LOCKWINDOW_H

#include <QPixmap>
#include <QString>
#include <QWidget>

#include "core/types.h"

namespace Ui {
class LockWindow;
}

// The home screen (page 0): the input signals and the clock. A touch goes to
// the main menu; holding the lock symbol for 2 s lifts the key lock.
class LockWindow : public QWidget
{
    Q_OBJECT
public:
    explicit LockWindow(QWidget *parent = nullptr);
    ~LockWindow() override;

    void language_changed();
    void signal_update();       // input pictures from the timing records
    void clock_update();
    void lock_changed();        // lock symbol and hint follow the key lock
    void tick();                // clock, signals, the held lock symbol

    // true when input slot 0..5 has width, height and rate
    static bool input_present(int slot);
    // A padlock, closed or open, drawn for the panel.
    static QPixmap lock_picture(bool locked, int size);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void on_Button_lock_pressed();
    void on_Button_lock_released();
    void on_Button_lock_clicked();

private:
    Ui::LockWindow *ui;
    bool m_holding = false;
    bool m_unlocked_by_hold = false;
    u32 m_hold_stamp = 0;
    u8 m_shown_inputs = 0xFF;   // bit per slot as last drawn (0xFF: not drawn yet)
    QString m_shown_info[6];
    QString m_shown_time;
    qint64 m_shown_second = -1;
    quint64 m_shown_timing[6] = {};   // width << 24 | height << 8 | rate as last shown (0: no signal)
};

#endif
