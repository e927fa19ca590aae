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

QWidget *painted_widget(QPainter *painter)
{
    QPaintDevice *d = painter->device();
    return d && d->devType() == QInternal::Widget ? static_cast<QWidget *>(d) : nullptr;
}
}

PanelStyle::PanelStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void PanelStyle::set_watcher(Watcher w) { watcher() = std::move(w); }

void PanelStyle::drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &pal, bool enabled,
                              const QString &text, QPalette::ColorRole textRole) const
{
    if (text.isEmpty() || !painter) {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
        return;
    }
    const TextFit fit = TextFit::fit(painter->font(), painter->device(), rect, flags, text);
    if (watcher())
        watcher()(painted_widget(painter), text, fit);
    if (!fit.changed) {
        QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, text, textRole);
        return;
    }
    const QFont before = painter->font();
    painter->setFont(fit.font);
    QProxyStyle::drawItemText(painter, rect, flags, pal, enabled, fit.text, textRole);
    painter->setFont(before);
}
