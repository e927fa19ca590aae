#ifndef QEL_BENCH_FIRST_PAINT_H
#define QEL_BENCH_FIRST_PAINT_H

#include <QtGlobal>
#include <functional>

class QWidget;

// The wait for a window as the operator has it: from the call of `open`
// until a new top-level window (one not visible when the call starts) has
// been exposed and its first paint into the backing store has finished.
// `open` may run the window modally: `close` is then called on the window
// from that run, right after the paint, and must end it. Returns the
// nanoseconds, or -1 when no new window was painted within 10 s (every
// modal window is then hidden, so the run ends).
qint64 time_to_first_paint(const std::function<void()> &open, const std::function<void(QWidget *)> &close);

#endif
