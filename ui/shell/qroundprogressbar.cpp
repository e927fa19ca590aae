#include "ui/shell/qroundprogressbar.h"

#include <QPainter>
#include <QPen>

#include "core/logmsg.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/screens.h"

QRoundProgressBar::QRoundProgressBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("qround_bar"));
    setAttribute(Qt::WA_TranslucentBackground);
}

QRoundProgressBar::~QRoundProgressBar()
{
    // Gone with its screen: nobody may keep using it.
    if (g_qround_bar == this)
        g_qround_bar = nullptr;
}

void QRoundProgressBar::create_qround_bar(QDialog *parent)
{
    if (g_qround_bar)
        return;
    if (!parent) {
        writeLogMsg(LOG_MISSING, QStringLiteral("progress ring: no screen to show it on"));
        return;
    }
    auto *bar = new QRoundProgressBar(parent);
    bar->setGeometry(300, 140, 200, 200);
    bar->m_value = 0;
    g_qround_bar = bar;
    bar->show();
    bar->raise();
}

void QRoundProgressBar::para_sync(int value)
{
    QRoundProgressBar *bar = g_qround_bar;
    if (!bar)
        return;
    if (value > 99) {
        g_qround_bar = nullptr;
        bar->hide();
        bar->deleteLater();
        return;
    }
    bar->m_value = value < 0 ? 0 : value;
    bar->update();
}

void QRoundProgressBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    const qreal pen = side / 12.0;
    const QRectF face((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    const QRectF ring = face.adjusted(pen, pen, -pen, -pen);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 16, 28, 230));
    p.drawEllipse(face);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 64, 84), pen, Qt::SolidLine, Qt::FlatCap));
    p.drawEllipse(ring);
    if (m_value > 0) {
        p.setPen(QPen(QColor(0x47, 0x77, 0xFF), pen, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(ring, 90 * 16, -m_value * 360 * 16 / 100);   // clockwise from the top
    }

    QFont f = font();
    f.setPixelSize(side / 5);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    const QString percent = QStringLiteral("%1%").arg(m_value);
    if (PanelStyle::own_text(&p, face.toAlignedRect(), Qt::AlignCenter, percent))
        p.drawText(face, Qt::AlignCenter, percent);
}
