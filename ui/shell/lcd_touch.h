#ifndef QEL_UI_SHELL_LCD_TOUCH_H
#define QEL_UI_SHELL_LCD_TOUCH_H

#include <QObject>

#include "core/types.h"

// The touch panel reader with the idle return and the auto-lock.
// On this build a touch is any press that reaches the application (an
// application-wide event filter) or a button held down at a tick; the 10 ms
// tick polls it.
class lcd_touch : public QObject
{
    Q_OBJECT
public:
    static lcd_touch *p_lcd_touch;
    static lcd_touch *pInstance();     // creates and installs the filter
    static void destroyInstance();     // tests

    // The panel key lock: the main menu's openers refuse while it is on.
    static bool key_locked();
    void set_key_lock(bool on);

    // A touch now (restarts both the idle and the auto-lock count).
    void touched();
    // One tick: idle return and auto-lock.
    void poll();

    // Closes what is open from the top down and ends on the main menu.
    // Never on the test pattern page; a screen that refuses its Back keeps
    // its page and what is open under it.
    static void auto_timeout_back();

    u32 idle_ticks() const;
    u32 lock_idle_ticks() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    lcd_touch();
    ~lcd_touch() override;
    static bool close_screen(u8 page);
    void lock_panel();

    u32 m_idle_stamp = 0;      // last touch, for the idle return
    u32 m_lock_stamp = 0;      // last touch, for the auto-lock
    bool m_idle_done = false;  // idle return ran since the last touch
    bool m_lock_done = false;  // auto-lock ran since the last touch
    bool m_key_lock = false;
};

#endif
