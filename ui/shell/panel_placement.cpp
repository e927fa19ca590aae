#include "ui/shell/panel_placement.h"

#include <QEvent>
#include <QWidget>

#include "ui/shell/mainwindow.h"
#include "ui/shell/screens.h"

bool PanelPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        QWidget *w = static_cast<QWidget *>(watched);
        if (!w->isWindow())
            return QObject::eventFilter(watched, event);
        if (w->width() == 800 && w->height() == 480) {
            QWidget *main = g_mainwindow;
            const QPoint origin = main && w != main ? main->pos() : QPoint(0, 0);
            if (w->pos() != origin)
                w->move(origin);
        }
        // Sent before the window maps: it maps above all the others.
        w->raise();
        // pop-up lists and tool tips leave the input where it is
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Window || type == Qt::Dialog)
            w->activateWindow();
    }
    return QObject::eventFilter(watched, event);
}
