#include "tools/screenshots/panel_tour.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>

#include "core/global.h"
#include "core/qelrampara.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"

namespace {

using Windows = QList<QWidget *>;

// A live-looking device: inputs with a signal, two saved user modes.
void prepare_device()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p)
        return;
    auto timing = [p](int slot, u16 w, u16 h, u8 rate) {
        const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
        p->set_u16(o, w);
        p->set_u16(o + 2, h);
        p->ram_para[o + 4] = rate;
    };
    timing(2, 1920, 1080, 60);
    timing(4, 3840, 2160, 30);
    timing(1, 1280, 720, 60);
    for (int s : {0, 2})
        p->user_mode[s].flag[0] = p->user_mode[s].flag[1] = 0xAA;
}

// The file name of a registered screen: its class, in lower case.
QString screen_name(const QDialog *d) { return QString::fromLatin1(d->metaObject()->className()).toLower(); }

void shell_views(const PanelTour::Visit &visit)
{
    visit(QStringLiteral("home"), {g_lockwindow});
    lcd_touch::p_lcd_touch->set_key_lock(true);
    visit(QStringLiteral("home_locked"), {g_lockwindow});
    lcd_touch::p_lcd_touch->set_key_lock(false);

    visit(QStringLiteral("main_menu"), {g_mainwindow});
    g_mode_select = 2;
    g_mainwindow->mode_window_show();
    visit(QStringLiteral("main_menu_usermode"), {g_mainwindow});
    g_mainwindow->mode_window_close();

    if (!ScreenRegistry::registered(PAGE_SETTINGS)) {
        Option o;
        o.show();
        visit(QStringLiteral("settings_menu"), {&o});
    }
    {
        Option o;
        o.show();
        g_numberkeyboard->label_show(PanelText{"密码", "Password", "Пароль", "Mật khẩu", "密碼"}.text(), QString());
        g_numberkeyboard->show();
        visit(QStringLiteral("settings_keypad"), {&o, g_numberkeyboard});
        g_numberkeyboard->hide();
    }
    for (auto tip : {std::make_pair(1, "tip"), std::make_pair(3, "tip_usb")}) {
        g_tip->tip_create(tip.first);
        visit(QString::fromLatin1(tip.second), {g_mainwindow, g_tip});
        g_tip->hide();
    }
    {
        Option o;
        o.show();
        QRoundProgressBar::create_qround_bar(&o);
        if (g_qround_bar)
            g_qround_bar->para_sync(40);
        visit(QStringLiteral("ring"), {&o});
        if (g_qround_bar)
            g_qround_bar->para_sync(100);
    }
}

// Each registered screen as it opens, then closed by its Back.
void registered_views(const PanelTour::Visit &visit, QStringList &leftOpen)
{
    for (int page = 0; page <= 255; ++page) {
        const ScreenEntry *e = ScreenRegistry::find(u8(page));
        if (!e || !e->create)
            continue;
        QDialog *d = e->create();
        if (!d)
            continue;
        const QString name = screen_name(d);
        d->show();
        visit(name, {d});
        e->back();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (e->instance && e->instance())
            leftOpen << QStringLiteral("page %1: %2").arg(page).arg(name);
    }
}
}

PanelTour::PanelTour()
{
    register_screens();
    m_main = std::make_unique<MainWindow>();
    lcd_touch::pInstance();
    new LockWindow();
    prepare_device();
    m_main->show();
    g_lockwindow->show();
}

PanelTour::~PanelTour()
{
    delete g_lockwindow;
    lcd_touch::destroyInstance();
    m_main.reset();
}

void PanelTour::visit(int language, const Visit &visit)
{
    g_language = u8(language);
    m_main->language_changed();
    g_lockwindow->language_changed();
    g_lockwindow->lock_changed();
    shell_views(visit);
    registered_views(visit, m_left_open);
    g_page_focus = PAGE_MAIN;
}

QString PanelTour::language_code(int language)
{
    static const char *const codes[kLanguages] = {"zh", "en", "ru", "vn", "tw"};
    return language >= 0 && language < kLanguages ? QString::fromLatin1(codes[language]) : QString();
}
