#include "ui/shell/panel_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QWidget>

namespace {
PanelStyle::Watcher &watcher()
{
    static PanelStyle::Watcher w;
    return w;
}

bool &held_back()
{
    static bool held = false;
    return held;
}

QWidget *painted_widget(QPainter *painter)
{
    QPaintDevice *d = painter->device();
    return d && d->devType() == QInternal::Widget ? static_cast<QWidget *>(d) : nullptr;
}

void tell(QPainter *painter, const QRect &rect, int flags, const QString &text, const TextFit &fit, const QColor &color)
{
    PanelStyle::DrawnText drawn;
    drawn.widget = painted_widget(painter);
    drawn.text = text;
    drawn.fit = fit;
    drawn.rect = painter->transform().mapRect(rect);
    drawn.flags = flags;
    drawn.color = color;
    watcher()(drawn);
}

bool left_out(QPainter *painter) { return held_back() && painted_widget(painter); }
}

PanelStyle::PanelStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void PanelStyle::set_watcher(Watcher w) { watcher() = std::move(w); }

void PanelStyle::hold_back_texts(bool hold) { held_back() = hold; }

bool PanelStyle::own_text(QPainter *painter, const QRect &rect, int flags, const QString &text)
{
    if (!painter || text.isEmpty())
        return true;
    if (watcher())
        tell(painter, rect, flags, text, TextFit::fit(painter->font(), painter->device(), rect, flags, text),
             painter->pen().color());
    return !left_out(painter);
}

void PanelStyle::drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &pal, bool enabled,
                              const QString &text, QPalette::ColorRole textRole) const
{
    if (text.isEmpty() || !painter) {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
        return;
    }
    const TextFit fit = TextFit::fit(painter->font(), painter->device(), rect, flags, text);
    if (watcher())
        tell(painter, rect, flags, text, fit, textRole == QPalette::NoRole ? painter->pen().color() : pal.color(textRole));
    if (left_out(painter))
        return;
    if (!fit.changed) {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
        return;
    }
    const QFont before = painter->font();
    painter->setFont(fit.font);
    QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, fit.text, textRole);
    painter->setFont(before);
}
