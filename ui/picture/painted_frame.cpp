#include "ui/picture/painted_frame.h"

#include <QEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QVariant>

#include "ui/shell/screen_helpers.h"

void PaintedFrame::set(const QByteArray &name, const Item &item)
{
    setProperty(name.constData(), item.text);
    for (auto &entry : m_items)
        if (entry.first == name) {
            entry.second = item;
            update(item.rect);
            return;
        }
    m_items.emplace_back(name, item);
    update(item.rect);
}

void PaintedFrame::set_look(const QString &style, const QColor &under)
{
    if (property("look").toString() == style)
        return;
    setProperty("look", style);
    const QString key =
        QStringLiteral("qel:look/%1x%2/%3/%4").arg(width()).arg(height()).arg(under.name(), style);
    if (!QPixmapCache::find(key, &m_look)) {
        m_look = styled_picture(style, size(), under);
        QPixmapCache::insert(key, m_look);
    }
    update();
}

// A frame with a look has nothing to take from the style sheets around it.
bool PaintedFrame::event(QEvent *event)
{
    if (event->type() == QEvent::Polish && !m_look.isNull())
        return true;
    return QFrame::event(event);
}

void PaintedFrame::paintEvent(QPaintEvent *event)
{
    if (m_look.isNull())
        QFrame::paintEvent(event);
    QPainter painter(this);
    if (!m_look.isNull())
        painter.drawPixmap(0, 0, m_look);
    const QFont *font = nullptr;
    for (const auto &entry : m_items) {
        const Item &it = entry.second;
        painter.setClipRect(it.rect);
        if (it.back.isValid() && it.radius > 0) {
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(Qt::NoPen);
            painter.setBrush(it.back);
            painter.drawRoundedRect(it.rect, it.radius, it.radius);
            painter.setRenderHint(QPainter::Antialiasing, false);
        } else if (it.back.isValid()) {
            painter.fillRect(it.rect, it.back);
        }
        // the text in the pen's colour, without a palette of its own
        painter.setPen(it.fore.isValid() ? it.fore : palette().color(QPalette::WindowText));
        if (!font || !font->isCopyOf(it.font)) {   // each font set makes the painter look it up again
            painter.setFont(it.font);
            font = &it.font;
        }
        style()->drawItemText(&painter, it.rect, int(it.align), palette(), isEnabled(), it.text, QPalette::NoRole);
    }
}
