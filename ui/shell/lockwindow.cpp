#include "ui/shell/lockwindow.h"

#include <QDateTime>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_lockwindow.h"

namespace {
constexpr u32 kHoldTicks = 200;       // 2 s on the lock symbol
constexpr u32 kClockTicks = 20;       // clock and signals looked at every 200 ms

// Input order on the panel: HDMI1, HDMI2, HDMI3, HDMI4, DVI, EXT.
constexpr int kSlotOrder[6] = {2, 3, 4, 5, 1, 0};

const char *const kPicture[6] = {":/png/HDMI.png", ":/png/DVI.png", ":/png/HDMI13.png",
                                 ":/png/HDMI13.png", ":/png/HDMI20.png", ":/png/HDMI20.png"};
const char *const kPictureSignal[6] = {":/png/extlv.png", ":/png/dvilv.png", ":/png/HDMI13_lv.png",
                                       ":/png/HDMI13_lv.png", ":/png/HDMI20_lv.png", ":/png/HDMI20_lv.png"};

const PanelText kNoSignal = {"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};
const PanelText kTouchHint = {"点击屏幕进入主菜单", "Touch the screen to open the menu",
                              "Коснитесь экрана, чтобы открыть меню", "Chạm vào màn hình để mở menu",
                              "點擊屏幕進入主菜單"};
const PanelText kLockHint = {"按住锁图标2秒解锁", "Hold the lock for 2 s to unlock",
                             "Удерживайте замок 2 с для разблокировки", "Giữ biểu tượng khóa 2 giây để mở khóa",
                             "按住鎖圖標2秒解鎖"};
}

LockWindow::LockWindow(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ui(new Ui::LockWindow)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground);
    setGeometry(0, 0, 800, 480);
    g_lockwindow = this;
    lock_changed();
    language_changed();
    signal_update();
    clock_update();
}

LockWindow::~LockWindow()
{
    if (g_lockwindow == this)
        g_lockwindow = nullptr;
    delete ui;
}

void LockWindow::language_changed()
{
    ui->label_hint->setText(lcd_touch::key_locked() ? kLockHint.text() : kTouchHint.text());
    for (QString &s : m_shown_info)
        s.clear();   // the no-signal text follows the language
    m_shown_inputs = 0xFF;
    signal_update();
}

bool LockWindow::input_present(int slot)
{
    const QelRamPara *para = QelRamPara::p_qelrampara_config;
    return para && para->input_signal(slot).present();
}

void LockWindow::signal_update()
{
    QLabel *const pictures[6] = {ui->label_HDMI1, ui->label_HDMI2, ui->label_HDMI3,
                                 ui->label_HDMI4, ui->label_DVI, ui->label_EXT};
    QLabel *const infos[6] = {ui->label_info_HDMI1, ui->label_info_HDMI2, ui->label_info_HDMI3,
                              ui->label_info_HDMI4, ui->label_info_DVI, ui->label_info_EXT};
    const QelRamPara *para = QelRamPara::p_qelrampara_config;
    u8 present = 0;
    for (int i = 0; i < 6; ++i) {
        const int slot = kSlotOrder[i];
        // one copy of the record for the picture and the text
        const InputSignal t = para ? para->input_signal(slot) : InputSignal();
        const bool on = t.present();
        if (on)
            present |= u8(1 << slot);
        // the text is made only when the timing changed (or the language cleared it)
        const quint64 timing = on ? quint64(t.width) << 24 | quint64(t.height) << 8 | t.rate : 0;
        if (m_shown_info[i].isEmpty() || timing != m_shown_timing[i]) {
            m_shown_timing[i] = timing;
            m_shown_info[i] = on ? QStringLiteral("%1×%2@%3").arg(timing >> 24).arg((timing >> 8) & 0xFFFF).arg(timing & 0xFF)
                                 : kNoSignal.text();
            infos[i]->setText(m_shown_info[i]);
        }
        const bool was = m_shown_inputs != 0xFF && (m_shown_inputs & (1 << slot));
        if (m_shown_inputs == 0xFF || was != on) {
            const QString res = QString::fromLatin1(on ? kPictureSignal[slot] : kPicture[slot]);
            pictures[i]->setPixmap(cached_picture(res, pictures[i]->size(), Qt::KeepAspectRatio));
            pictures[i]->setProperty("res", res);
        }
    }
    m_shown_inputs = present;
}

void LockWindow::clock_update()
{
    // local time is converted and formatted only when the second changed
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second == m_shown_second)
        return;
    m_shown_second = second;
    const QDateTime now = QDateTime::currentDateTime();
    const QString time = now.toString(QStringLiteral("hh:mm:ss"));
    if (time == m_shown_time)
        return;
    m_shown_time = time;
    ui->label_time->setText(time);
    ui->label_date->setText(now.toString(QStringLiteral("yyyy-MM-dd")));
}

void LockWindow::lock_changed()
{
    const bool locked = lcd_touch::key_locked();
    ui->Button_lock->setIcon(QIcon(lock_picture(locked, 48)));
    ui->Button_lock->setProperty("locked", locked);
    ui->label_hint->setText(locked ? kLockHint.text() : kTouchHint.text());
}

void LockWindow::tick()
{
    if (m_holding) {
        if (!ui->Button_lock->isDown()) {
            m_holding = false;
        } else if (Utils::getTimeSpace(m_hold_stamp) >= kHoldTicks) {
            m_holding = false;
            if (lcd_touch::key_locked() && lcd_touch::p_lcd_touch) {
                m_unlocked_by_hold = true;
                lcd_touch::p_lcd_touch->set_key_lock(false);
            }
        }
    }
    if (isVisible() && G_timeTicks.load(std::memory_order_relaxed) % kClockTicks == 0) {
        clock_update();
        signal_update();
    }
}

void LockWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (g_mainwindow)
        g_mainwindow->show_menu();
}

void LockWindow::on_Button_lock_pressed()
{
    m_holding = true;
    m_unlocked_by_hold = false;
    m_hold_stamp = G_timeTicks.load();
}

void LockWindow::on_Button_lock_released() { m_holding = false; }

// A short touch on the open lock goes to the menu like any other touch;
// the release that ends an unlocking hold stays on the home screen.
void LockWindow::on_Button_lock_clicked()
{
    if (m_unlocked_by_hold) {
        m_unlocked_by_hold = false;
        return;
    }
    if (!lcd_touch::key_locked() && g_mainwindow)
        g_mainwindow->show_menu();
}

QPixmap LockWindow::lock_picture(bool locked, int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor body = locked ? QColor(0x47, 0x77, 0xFF) : QColor(0x00, 0xD6, 0x5B);
    // shackle: closed it enters the body on both sides, open it swings up on the right
    QPen pen(QColor(255, 255, 255), s * 0.1, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal w = s * 0.44;
    const qreal left = (s - w) / 2;
    const qreal top = locked ? s * 0.16 : s * 0.06;
    const qreal middle = top + w / 2;
    QPainterPath shackle;
    shackle.moveTo(left, s * 0.5);
    shackle.lineTo(left, middle);
    shackle.arcTo(QRectF(left, top, w, w), 180, -180);
    shackle.lineTo(left + w, locked ? s * 0.5 : middle + s * 0.06);
    p.drawPath(shackle);
    // body with a key hole
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(s * 0.16, s * 0.45, s * 0.68, s * 0.48), s * 0.08, s * 0.08);
    p.setBrush(QColor(16, 16, 28));
    p.drawEllipse(QPointF(s * 0.5, s * 0.64), s * 0.07, s * 0.07);
    p.drawRect(QRectF(s * 0.47, s * 0.66, s * 0.06, s * 0.14));
    return pix;
}
