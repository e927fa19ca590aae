#include "tools/screenshots/panel_tour.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <utility>

#include "core/global.h"
#include "tools/screenshots/tour_device.h"
#include "tools/screenshots/tour_kit.h"
#include "ui/shell/firmwareupdate.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"

using tour::Walk;

namespace {

void run_deferred_deletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The shell's windows and pop-ups; each kind of tip as it shows when no
// other tip showed before.
void shell_views(Walk &walk, MainWindow *main)
{
    walk.at(QStringLiteral("shell"));
    walk.view(QStringLiteral("lockwindow"), {g_lockwindow});
    lcd_touch::p_lcd_touch->set_key_lock(true);
    walk.view(QStringLiteral("lockwindow_locked"), {g_lockwindow});
    lcd_touch::p_lcd_touch->set_key_lock(false);

    walk.view(QStringLiteral("mainwindow"), {main});
    // the save pop-up, on the slot of the current mode
    if (walk.press(main, QStringLiteral("Button_mode")) && walk.press(main, QStringLiteral("mode_slot_2")))
        walk.view(QStringLiteral("mainwindow_save"), {main});
    walk.press(main, QStringLiteral("Button_mode_close"));

    {
        Option settings;
        settings.show();
        if (!ScreenRegistry::registered(PAGE_SETTINGS))
            walk.view(QStringLiteral("option"), {&settings});
        // the window layout's access code, left unentered
        walk.keypad(QStringLiteral("option_keypad_code"), {&settings},
                    [&] { return walk.press(&settings, QStringLiteral("image_layout")); });
    }

    const std::pair<int, const char *> tips[] = {
        {1, "tip_done"}, {3, "tip_usb_in"}, {4, "tip_usb_out"}, {5, "tip_usb_ready"}};
    for (const auto &[code, view] : tips) {
        g_tip->tip_create(code);
        walk.view(QString::fromLatin1(view), {main, g_tip});
        g_tip->tip_create(2);   // nothing shows
    }

    main->update_start();
    if (FirmwareUpdate *overlay = main->update_overlay())
        walk.view(QStringLiteral("firmwareupdate"), {main, overlay});
    main->update_over();
    run_deferred_deletes();
}

// Each registered screen as the shell opens it, toured, then closed by its Back.
void registered_views(Walk &walk, QStringList &leftOpen)
{
    for (int page = 0; page <= 255; ++page) {
        const ScreenEntry *e = ScreenRegistry::find(u8(page));
        if (!e || !e->create)
            continue;
        QDialog *d = e->create();
        if (!d)
            continue;
        tour::ScreenTour screen(walk, d);
        walk.at(screen.name());
        d->show();
        if (const tour::Step step = tour::step_for(d->metaObject()->className()))
            step(screen);
        else
            screen.view();
        e->back();
        run_deferred_deletes();
        if (e->instance && e->instance())
            leftOpen << QStringLiteral("page %1: %2").arg(page).arg(screen.name());
    }
}

}

PanelTour::PanelTour()
{
    register_screens();
    m_device = std::make_unique<tour::Device>();
    m_main = std::make_unique<MainWindow>();
    lcd_touch::pInstance();
    new LockWindow();
    m_main->show();
    g_lockwindow->show();
    tour::Device::fill(m_main.get());
}

PanelTour::~PanelTour()
{
    delete g_lockwindow;
    lcd_touch::destroyInstance();
    m_main.reset();
    m_device.reset();
}

void PanelTour::visit(int language, const Visit &visit)
{
    g_language = u8(language);
    m_main->language_changed();
    g_lockwindow->language_changed();
    g_lockwindow->lock_changed();
    Walk walk(visit, m_missed, language_code(language));
    shell_views(walk, m_main.get());
    registered_views(walk, m_left_open);
    g_page_focus = PAGE_MAIN;
}

QString PanelTour::language_code(int language)
{
    static const char *const codes[kLanguages] = {"zh", "en", "ru", "vn", "tw"};
    return language >= 0 && language < kLanguages ? QString::fromLatin1(codes[language]) : QString();
}
