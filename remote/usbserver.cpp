#include "remote/usbserver.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "core/utils.h"

namespace {

QString stickPath() { return Utils::devicePath(QStringLiteral("/mnt/usb1/")); }

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}

UsbServer::UsbServer(QObject *parent) : QObject(parent) {}

UsbServer::~UsbServer() { stop(); }

void UsbServer::start()
{
    if (m_thread.joinable())
        return;
    m_quit = false;
    m_inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_stop = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    // a stick mounted on a folder that was already there changes nothing in
    // the parent, only the mount table
    m_mounts = ::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    m_thread = std::thread([this] { loop(); });
}

void UsbServer::stop()
{
    if (m_thread.joinable()) {
        m_quit = true;
        const uint64_t one = 1;
        if (::write(m_stop, &one, sizeof one) < 0) {
        }
        m_thread.join();
    }
    closeFd(m_inotify);
    closeFd(m_mounts);
    closeFd(m_stop);
    m_watch = -1;
}

bool UsbServer::watchParent()
{
    if (m_inotify < 0)
        return false;
    if (m_watch < 0) {
        const QByteArray parent = QFileInfo(QDir::cleanPath(stickPath())).absolutePath().toLocal8Bit();
        m_watch = inotify_add_watch(m_inotify, parent.constData(),
                                    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB
                                        | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    }
    return m_watch >= 0;
}

int UsbServer::sleepMs() const
{
    // a folder that is there but not yet readable changes without an event
    return m_state == Present || m_watch < 0 || m_stop < 0 ? POLL_MS : -1;
}

void UsbServer::loop()
{
    while (!m_quit) {
        watchParent();
        pass();
        // the mount table reports a change as POLLERR | POLLPRI; poll() itself
        // takes note of it
        pollfd fds[3] = {{m_stop, POLLIN, 0}, {m_inotify, POLLIN, 0}, {m_mounts, POLLPRI, 0}};
        if (::poll(fds, 3, sleepMs()) < 0 && errno != EINTR)
            ::usleep(POLL_MS * 1000);   // never spin
        if (fds[0].revents || m_quit)
            return;
        if (fds[1].revents & POLLIN) {
            // the parent went or moved: watch it again on the next turn
            alignas(inotify_event) char buf[4096];
            ssize_t n;
            while ((n = ::read(m_inotify, buf, sizeof buf)) > 0) {
                for (char *p = buf; p < buf + n;) {
                    const auto *e = reinterpret_cast<const inotify_event *>(p);
                    if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                        inotify_rm_watch(m_inotify, m_watch);
                        m_watch = -1;
                    }
                    p += sizeof(inotify_event) + e->len;
                }
            }
        }
    }
}

void UsbServer::pass()
{
    m_passes.fetch_add(1, std::memory_order_relaxed);
    const QFileInfo stick(stickPath());
    const bool present = stick.exists() && stick.isDir();
    if (!present) {
        if (m_state != Absent) {
            m_state = Absent;
            emit sig_usb_update(101);
        }
        return;
    }
    switch (m_state) {
    case Absent:
        m_state = Present;
        emit sig_usb_update(100);
        break;
    case Present:
        // listing a folder needs read and search rights
        if (stick.isReadable() && stick.isExecutable()) {
            m_state = Ready;
            emit sig_usb_update(102);
        }
        break;
    case Ready:
        break;
    }
}
