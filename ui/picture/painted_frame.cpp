#include "ui/picture/painted_frame.h"

#include <QPainter>
#include <QStyle>
#include <QVariant>

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

void PaintedFrame::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
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
        if (!font || *font != it.font) {   // each font set makes the painter look it up again
            painter.setFont(it.font);
            font = &it.font;
        }
        style()->drawItemText(&painter, it.rect, int(it.align), palette(), isEnabled(), it.text, QPalette::NoRole);
    }
}
