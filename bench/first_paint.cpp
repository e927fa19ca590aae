#include "bench/first_paint.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches every event of the program. A paint into the backing store runs
// inside the window's Expose (or UpdateRequest) event: such an event of a new
// window is handled here, and when the window's own Paint event came during
// it, the paint is over.
class FirstPaintWatch : public QObject
{
public:
    explicit FirstPaintWatch(std::function<void(QWidget *)> close) : m_close(std::move(close))
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible())
                m_known.insert(w);
        }
        m_limit.setSingleShot(true);
        QObject::connect(&m_limit, &QTimer::timeout, this, [] {
            while (QWidget *m = QApplication::activeModalWidget())
                m->hide();
        });
        m_limit.start(10000);
        qApp->installEventFilter(this);
        m_clock.start();
    }
    ~FirstPaintWatch() override { qApp->removeEventFilter(this); }

    qint64 ns() const { return m_ns; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (m_ns >= 0)
            return false;
        switch (e->type()) {
        case QEvent::Paint:
            if (m_handling && o == m_target)
                m_painted = true;
            return false;
        case QEvent::Expose:
        case QEvent::UpdateRequest:
            break;
        default:
            return false;
        }
        if (m_handling)
            return false;
        QWidget *w = new_window(o);
        if (!w)
            return false;
        m_target = w;
        m_painted = false;
        m_handling = true;
        o->event(e);
        m_handling = false;
        if (m_painted) {
            m_ns = m_clock.nsecsElapsed();
            m_limit.stop();
            QPointer<QWidget> painted = w;
            QTimer::singleShot(0, this, [this, painted] {
                if (painted)
                    m_close(painted);
            });
        }
        return true;   // handled above
    }

private:
    // The new top-level window an event of a widget or of its window is for.
    QWidget *new_window(QObject *o) const
    {
        QWidget *w = nullptr;
        if (o->isWidgetType()) {
            w = static_cast<QWidget *>(o);
        } else if (o->isWindowType()) {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (top->windowHandle() == o)
                    w = top;
            }
        }
        return w && w->isWindow() && w->isVisible() && !m_known.contains(w) ? w : nullptr;
    }

    std::function<void(QWidget *)> m_close;
    QSet<QWidget *> m_known;
    QElapsedTimer m_clock;
    QTimer m_limit;
    QPointer<QWidget> m_target;
    bool m_handling = false;
    bool m_painted = false;
    qint64 m_ns = -1;
};

}

qint64 time_to_first_paint(const std::function<void()> &open, const std::function<void(QWidget *)> &close)
{
    FirstPaintWatch watch(close);
    open();
    return watch.ns();
}
