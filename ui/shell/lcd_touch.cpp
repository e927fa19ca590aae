#include "ui/shell/lcd_touch.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>

#include "core/global.h"
#include "core/utils.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"

lcd_touch *lcd_touch::p_lcd_touch = nullptr;

namespace {
constexpr int kNeverLock = 120000;
}

lcd_touch::lcd_touch()
{
    m_idle_stamp = m_lock_stamp = G_timeTicks.load();
    if (qApp)
        qApp->installEventFilter(this);
}

lcd_touch::~lcd_touch()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

lcd_touch *lcd_touch::pInstance()
{
    if (!p_lcd_touch)
        p_lcd_touch = new lcd_touch();
    return p_lcd_touch;
}

void lcd_touch::destroyInstance()
{
    delete p_lcd_touch;
    p_lcd_touch = nullptr;
}

bool lcd_touch::key_locked() { return p_lcd_touch && p_lcd_touch->m_key_lock; }

void lcd_touch::set_key_lock(bool on)
{
    m_key_lock = on;
    if (g_lockwindow)
        g_lockwindow->lock_changed();
    if (g_mainwindow)
        g_mainwindow->lock_changed();
}

bool lcd_touch::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        touched();
        break;
    default:
        break;
    }
    return false;
}

void lcd_touch::touched()
{
    m_idle_stamp = m_lock_stamp = G_timeTicks.load();
    m_idle_done = m_lock_done = false;
}

u32 lcd_touch::idle_ticks() const { return Utils::getTimeSpace(m_idle_stamp); }
u32 lcd_touch::lock_idle_ticks() const { return Utils::getTimeSpace(m_lock_stamp); }

void lcd_touch::poll()
{
    // A press on a window that a modal dialog blocks (the screen beside the
    // keypad) reaches no widget and no filter; the pressed state still shows.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        touched();
    // a receiving-card job runs: the panel is not idle
    if (g_qround_bar) {
        touched();
        return;
    }
    if (!m_idle_done && g_back_to_mainwindow_time > 0 && idle_ticks() >= u32(g_back_to_mainwindow_time)) {
        m_idle_done = true;
        auto_timeout_back();
    }
    if (!m_lock_done && g_auto_lock_time != kNeverLock && g_auto_lock_time > 0
        && lock_idle_ticks() >= u32(g_auto_lock_time))
        lock_panel();
}

void lcd_touch::lock_panel()
{
    auto_timeout_back();
    // a screen that stays open (test pattern) keeps the panel unlocked for now
    if (g_page_focus != PAGE_MAIN && g_page_focus != PAGE_HOME)
        return;
    m_lock_done = true;
    set_key_lock(true);
    if (g_mainwindow)
        g_mainwindow->show_home();
}

void lcd_touch::auto_timeout_back()
{
    if (g_page_focus == PAGE_TEST_PATTERN)
        return;
    if (g_numberkeyboard)
        g_numberkeyboard->hide();
    // from the top down; each Back re-checks the globals it calls. A screen
    // that stays open (a job runs on it) keeps the panel: its page, and what
    // lies under it, stay as they are.
    for (u8 page : {PAGE_EDID, PAGE_INPUT_CROP, PAGE_INPUT_CHOICE, PAGE_LAYOUT})
        if (!close_screen(page))
            return;
    if (!close_screen(g_page_focus))
        return;
    if (g_option)
        g_option->on_Button_back_clicked();
    if (g_mainwindow)
        g_mainwindow->mode_window_close();
    if (g_page_focus != PAGE_HOME)
        g_page_focus = PAGE_MAIN;
}

// The Back of the page's setting screen when one is registered and open;
// false when the screen is still open after it. The test pattern screen is
// never closed this way.
bool lcd_touch::close_screen(u8 page)
{
    if (page == PAGE_TEST_PATTERN || !ScreenRegistry::is_open(page))
        return true;
    ScreenRegistry::back(page);
    return !ScreenRegistry::is_open(page);
}
