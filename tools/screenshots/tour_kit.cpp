#include "tools/screenshots/tour_kit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <cstring>

#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"

namespace tour {

namespace {
// A job's manager passes, ten ticks apart; the longest job here takes a few
// hundred.
constexpr int kJobPasses = 5000;
constexpr u32 kTicksAPass = 10;

void run_deferred_deletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

bool can_touch(const QWidget *w) { return w && w->isVisible() && w->isEnabled(); }
}

void Walk::miss(const QString &what)
{
    const QString line = QStringLiteral("%1 %2: %3").arg(m_language, m_where, what);
    m_missed << line;
    qWarning("panel tour: %s", qPrintable(line));
}

bool click(QObject *parent, const QString &name)
{
    QAbstractButton *b = parent ? parent->findChild<QAbstractButton *>(name) : nullptr;
    if (!can_touch(b))
        return false;
    b->click();
    run_deferred_deletes();
    return true;
}

bool Walk::press(QObject *parent, const QString &name)
{
    if (click(parent, name))
        return true;
    miss(QStringLiteral("no button %1 to press").arg(name));
    return false;
}

bool Walk::touch_field(QObject *parent, const QString &name)
{
    QLineEdit *f = parent ? parent->findChild<QLineEdit *>(name) : nullptr;
    if (!can_touch(f)) {
        miss(QStringLiteral("no field %1 to touch").arg(name));
        return false;
    }
    const QPointF at(f->rect().center());
    const QPointF global(f->mapToGlobal(f->rect().center()));
    QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f, &up);
    run_deferred_deletes();
    return true;
}

bool Walk::modal(const QString &name, const Windows &below, const std::function<bool()> &open,
                 const std::function<void(QWidget *)> &finish)
{
    bool shown = false;
    // fires inside the modal run `open` starts; stopped unfired when none starts
    QTimer inside;
    inside.setSingleShot(true);
    QObject::connect(&inside, &QTimer::timeout, [&] {
        QWidget *m = QApplication::activeModalWidget();
        if (!m)
            return;
        shown = true;
        view(name, below + Windows{m});
        finish(m);
        if (m->isVisible() && QApplication::activeModalWidget() == m)
            m->hide();
    });
    inside.start(0);
    const bool opened = open();
    inside.stop();
    if (opened && !shown)
        miss(QStringLiteral("%1 did not open").arg(name));
    return shown;
}

bool Walk::keypad(const QString &name, const Windows &below, const std::function<bool()> &open)
{
    return modal(name, below, open, [this](QWidget *pad) { press(pad, QStringLiteral("Button_close")); });
}

bool Walk::keypad_entry(const QString &name, const Windows &below, const QString &digits,
                        const std::function<bool()> &open)
{
    return modal(name, below, open, [this, digits](QWidget *pad) {
        for (const QChar d : digits)
            press(pad, QStringLiteral("Button_") + d);
        press(pad, QStringLiteral("Button_ok"));
    });
}

bool Walk::run_card_job(const std::function<void()> &midway)
{
    fpga_manage *m = fpga_manage::p_fpga_manage;
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    if (!m || !para || !g_qround_bar || g_send_para.job() == 0) {
        miss(QStringLiteral("no card job runs"));
        return false;
    }
    // the end of a job reaches the screen through the shell's refresh
    const QMetaObject::Connection refresh =
        QObject::connect(para, &QelRamPara::sig_update_para, SyncUpdate::pInstance(), &SyncUpdate::para_sync,
                         Qt::ConnectionType(Qt::QueuedConnection | Qt::UniqueConnection));
    const u8 job = g_send_para.job();
    bool seen = false;
    for (int i = 0; i < kJobPasses && (g_qround_bar || g_send_para.job() != 0); ++i) {
        m->pass();
        G_timeTicks.fetch_add(kTicksAPass);
        QCoreApplication::processEvents();
        if (midway && !seen && g_qround_bar && g_qround_bar->value() > 0) {
            seen = true;
            midway();
        }
        run_deferred_deletes();
    }
    QCoreApplication::processEvents();
    QObject::disconnect(refresh);
    if (g_qround_bar || g_send_para.job() != 0) {
        miss(QStringLiteral("card job %1 did not end").arg(job));
        return false;
    }
    if (midway && !seen)
        miss(QStringLiteral("card job %1 showed no progress").arg(job));
    return true;
}

QString ScreenTour::name(const QString &page) const
{
    const QString cls = QString::fromLatin1(screen->metaObject()->className()).toLower();
    return page.isEmpty() ? cls : cls + QLatin1Char('_') + page;
}

void ScreenTour::view(const QString &page, const QString &mark)
{
    if (!mark.isEmpty()) {
        const QWidget *w = screen->findChild<QWidget *>(mark);
        if (!w || !w->isVisible()) {
            walk.miss(QStringLiteral("%1 does not show %2").arg(name(page), mark));
            return;
        }
    }
    walk.view(name(page), {screen});
}

bool ScreenTour::press(const QString &button, const QString &in)
{
    QObject *parent = screen;
    if (!in.isEmpty()) {
        parent = screen->findChild<QWidget *>(in);
        if (!parent) {
            walk.miss(QStringLiteral("no %1 holding %2").arg(in, button));
            return false;
        }
    }
    return walk.press(parent, button);
}

void ScreenTour::list(const QString &combo, const QString &page)
{
    QComboBox *c = screen->findChild<QComboBox *>(combo);
    if (!can_touch(c) || c->count() == 0) {
        walk.miss(QStringLiteral("no list %1 to open").arg(combo));
        return;
    }
    c->showPopup();
    QWidget *popup = c->view()->window();
    if (popup && popup != screen && popup->isVisible())
        walk.view(name(page), {screen, popup});
    else
        walk.miss(QStringLiteral("list %1 did not open").arg(combo));
    c->hidePopup();
    run_deferred_deletes();
}

void ScreenTour::keypads(const QList<Field> &fields)
{
    for (const Field &f : fields) {
        const QString view = name(QStringLiteral("keypad_") + f.label);
        const auto open = [this, &f] { return walk.touch_field(screen, f.field); };
        if (f.digits.isEmpty())
            walk.keypad(view, {screen}, open);
        else
            walk.keypad_entry(view, {screen}, f.digits, open);
    }
}

Step step_for(const char *className)
{
    static const struct
    {
        const char *cls;
        Step step;
    } steps[] = {
        {"InputChoose", input_choice},   {"InputCut", input_crop},          {"EDIDset", edid},
        {"ImageLayout", window_layout},  {"ImageQuality", picture_quality}, {"test_chart", test_patterns},
        {"CustomMode", user_modes},      {"OutputSet", output},             {"LinkOption", network},
        {"SmartMapping", smart_mapping}, {"AdvancedOption", advanced},
    };
    for (const auto &s : steps)
        if (std::strcmp(s.cls, className) == 0)
            return s.step;
    return nullptr;
}

}
