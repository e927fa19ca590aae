#include "ui/shell/digit_clock.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>

#include "ui/shell/panel_style.h"

DigitClock::DigitClock(QWidget *parent) : QWidget(parent) {}

void DigitClock::setText(const QString &text)
{
    if (text == m_text)
        return;
    const QVector<QRect> rects = layout(text);
    QRegion changed;
    for (int i = 0; i < qMax(m_text.size(), text.size()); ++i) {
        const bool before = i < m_text.size(), after = i < text.size();
        if (before && after && m_text.at(i) == text.at(i) && m_rects.at(i) == rects.at(i))
            continue;
        if (before)
            changed += m_rects.at(i);
        if (after)
            changed += rects.at(i);
    }
    m_text = text;
    m_rects = rects;
    update(changed);
}

// Measured once per character and font.
const DigitClock::Metrics &DigitClock::metrics(QChar c)
{
    auto found = m_metrics.constFind(c);
    if (found != m_metrics.constEnd())
        return *found;
    const QFontMetricsF fm(font());
    const QString s(c);
    Metrics m;
    m.advance = fm.horizontalAdvance(s);
    const QRectF box(0, -fm.ascent(), m.advance, fm.ascent() + fm.descent());
    m.area = (fm.boundingRect(s) | box).toAlignedRect().adjusted(-1, -1, 1, 1);
    return *m_metrics.insert(c, m);
}

// Where a label would draw the text: centred, each character at the
// advance of those before it.
QVector<QRect> DigitClock::layout(const QString &text)
{
    const QFontMetricsF fm(font());
    const QRectF r = contentsRect();
    qreal width = 0;
    for (QChar c : text)
        width += metrics(c).advance;
    qreal x = r.x() + (r.width() - width) / 2;
    const int baseline = qRound(r.y() + (r.height() - (fm.ascent() + fm.descent())) / 2 + fm.ascent());
    QVector<QRect> rects;
    rects.reserve(text.size());
    for (QChar c : text) {
        const Metrics &m = metrics(c);
        rects.append(m.area.translated(qRound(x), baseline));
        x += m.advance;
    }
    return rects;
}

// The character as a text of this font and colour draws it, on a
// transparent picture at the widget's resolution; made once.
const QPixmap &DigitClock::picture(QChar c)
{
    auto found = m_pictures.constFind(c);
    if (found != m_pictures.constEnd())
        return *found;
    const QRect a = metrics(c).area;
    QPixmap pix(QSize(int(std::ceil(a.width() * m_dpr)), int(std::ceil(a.height() * m_dpr))));
    pix.setDevicePixelRatio(m_dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    QFont f = font();
    if (f.pixelSize() <= 0)   // the same pixels on the picture as on the panel
        f.setPointSizeF(f.pointSizeF() * logicalDpiY() / pix.logicalDpiY());
    p.setFont(f);
    p.setPen(m_color);
    p.drawText(-a.topLeft(), QString(c));
    p.end();
    return *m_pictures.insert(c, pix);
}

void DigitClock::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setFont(font());
    const QColor color = palette().color(foregroundRole());
    p.setPen(color);
    if (!PanelStyle::own_text(&p, contentsRect(), Qt::AlignCenter, m_text))
        return;
    if (color != m_color || devicePixelRatioF() != m_dpr) {
        m_pictures.clear();
        m_color = color;
        m_dpr = devicePixelRatioF();
    }
    for (int i = 0; i < m_text.size(); ++i)
        if (event->region().intersects(m_rects.at(i)))
            p.drawPixmap(m_rects.at(i).topLeft(), picture(m_text.at(i)));
}

void DigitClock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        m_metrics.clear();
        m_pictures.clear();
        m_rects = layout(m_text);
        update();
    }
    QWidget::changeEvent(event);
}

void DigitClock::resizeEvent(QResizeEvent *event)
{
    m_rects = layout(m_text);
    QWidget::resizeEvent(event);
}
