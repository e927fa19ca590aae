#include "tests/ui/shell/x_server.h"

#include <QStandardPaths>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

QString XServer::missing()
{
    return QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
               ? QStringLiteral("Xvfb is missing (scripts/setup installs it)")
               : QString();
}

XServer::~XServer()
{
    if (m_pid > 0 && kill(m_pid, SIGTERM) == 0)
        waitpid(m_pid, nullptr, 0);
}

bool XServer::start(QString *error)
{
    const QByteArray xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb")).toLocal8Bit();
    int fds[2];
    if (xvfb.isEmpty() || pipe2(fds, O_CLOEXEC) != 0) {
        *error = xvfb.isEmpty() ? missing() : QStringLiteral("no pipe");
        return false;
    }
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // gone with the test program, however that ends
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        dup2(fds[1], 3);
        fcntl(3, F_SETFD, 0);   // kept across exec
        const char *argv[] = {xvfb.constData(), "-displayfd", "3", "-screen", "0", "800x480x24", "-dpi", "100",
                              "-nolisten", "tcp", "-noreset", nullptr};
        execv(argv[0], const_cast<char **>(argv));
        _exit(127);
    }
    close(fds[1]);
    if (m_pid < 0) {
        close(fds[0]);
        *error = QStringLiteral("fork failed");
        return false;
    }
    // Xvfb writes its display number once it listens
    QByteArray number;
    pollfd p{fds[0], POLLIN, 0};
    char buf[16];
    while (!number.endsWith('\n') && poll(&p, 1, 10000) > 0) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        number.append(buf, int(n));
    }
    close(fds[0]);
    bool ok = false;
    const int display = number.trimmed().toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("Xvfb did not start");
        return false;
    }
    qputenv("DISPLAY", ":" + QByteArray::number(display));
    return true;
}

XView::XView() : m_display(XOpenDisplay(nullptr)) {}

XView::~XView()
{
    if (m_display)
        XCloseDisplay(m_display);
}

QVector<quint64> XView::stack() const
{
    QVector<quint64> mapped;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!m_display || !XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &n))
        return mapped;
    for (unsigned int i = n; i-- > 0;) {   // bottom to top on the root
        XWindowAttributes a;
        if (XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable)
            mapped << quint64(children[i]);
    }
    if (children)
        XFree(children);
    return mapped;
}

QImage XView::grab(const QRect &r) const
{
    XImage *img = m_display ? XGetImage(m_display, DefaultRootWindow(m_display), r.x(), r.y(), unsigned(r.width()),
                                        unsigned(r.height()), AllPlanes, ZPixmap)
                            : nullptr;
    if (!img)
        return QImage();
    QImage out(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < r.width(); ++x)
            line[x] = QRgb(0xFF000000u | (XGetPixel(img, x, y) & 0xFFFFFFu));   // 24-bit TrueColor, 0xRRGGBB
    }
    XDestroyImage(img);
    return out;
}

void XView::tap(const QPoint &p) const
{
    if (!m_display)
        return;
    XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}
