#include "ui/shell/firmwareupdate.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/shell/panel_style.h"
#include "ui/shell/panel_text.h"

FirmwareUpdate::FirmwareUpdate(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("firmwareupdate"));
    if (!parent)
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setGeometry(0, 0, 800, 480);
    language_changed();
}

void FirmwareUpdate::language_changed()
{
    m_text = PanelText{"系统正在升级，请勿断电！", "Upgrading, please do not power off!",
                       "Идёт обновление, не выключайте питание!", "Đang nâng cấp, vui lòng không tắt nguồn!",
                       "系統正在升級，請勿斷電！"}
                 .text();
    update();
}

void FirmwareUpdate::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(16, 16, 28));

    // A chip with an arrow coming down into it.
    const QPointF c(width() / 2.0, height() / 2.0 - 60);
    const QColor blue(0x47, 0x77, 0xFF);
    p.setPen(QPen(blue, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 50, c.y() - 10, 100, 70), 8, 8);
    for (int i = 0; i < 4; ++i) {
        const qreal x = c.x() - 36 + i * 24;
        p.drawLine(QPointF(x, c.y() + 60), QPointF(x, c.y() + 76));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x00, 0xD6, 0x5B));
    QPainterPath arrow;
    arrow.moveTo(c.x() - 10, c.y() - 70);
    arrow.lineTo(c.x() + 10, c.y() - 70);
    arrow.lineTo(c.x() + 10, c.y() - 30);
    arrow.lineTo(c.x() + 26, c.y() - 30);
    arrow.lineTo(c.x(), c.y() + 2);
    arrow.lineTo(c.x() - 26, c.y() - 30);
    arrow.lineTo(c.x() - 10, c.y() - 30);
    arrow.closeSubpath();
    p.drawPath(arrow);

    QFont f = font();
    f.setPixelSize(30);
    p.setFont(f);
    p.setPen(Qt::white);
    const QRect message(20, height() / 2 + 50, width() - 40, 100);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    if (PanelStyle::own_text(&p, message, flags, m_text))
        p.drawText(message, flags, m_text);
}
