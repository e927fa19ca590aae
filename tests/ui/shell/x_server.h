#ifndef QEL_TESTS_UI_SHELL_X_SERVER_H
#define QEL_TESTS_UI_SHELL_X_SERVER_H

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>
#include <sys/types.h>

struct _XDisplay;

// A private X server (Xvfb, 800 x 480, no window manager) on a free display
// number, stopped with the object or with the test program.
class XServer
{
public:
    // Why there can be none here ("" when Xvfb is installed).
    static QString missing();
    XServer() = default;
    XServer(const XServer &) = delete;
    ~XServer();
    // Starts it and sets DISPLAY; false with the reason in *error.
    bool start(QString *error);

private:
    pid_t m_pid = -1;
};

// What a person in front of the panel sees and does, through a connection of
// its own to the X server (one per thread).
class XView
{
public:
    XView();
    XView(const XView &) = delete;
    ~XView();
    bool connected() const { return m_display != nullptr; }
    // The mapped windows on the root, topmost first.
    QVector<quint64> stack() const;
    // The root window's pixels in r.
    QImage grab(const QRect &r) const;
    // A finger pressed and lifted at p: the X server picks the window.
    void tap(const QPoint &p) const;

private:
    _XDisplay *m_display = nullptr;
};

#endif
