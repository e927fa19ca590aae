#ifndef QEL_REMOTE_USBSERVER_H
#define QEL_REMOTE_USBSERVER_H

#include <QObject>
#include <atomic>
#include <thread>

// Watches the USB stick folder "/mnt/usb1/": 100 when it appears, 102 once
// it can be listed, 101 when it goes. The signal is emitted on the watcher's
// thread; connect it queued.
//
// The thread sleeps until the folder's parent changes (inotify) or the mount
// table does; it looks every 200 ms only while the stick is not yet readable
// or while the parent cannot be watched.
class UsbServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int POLL_MS = 200;

    explicit UsbServer(QObject *parent = nullptr);
    ~UsbServer() override;

    void pass();    // one look at the folder
    void start();   // watches on its own thread
    void stop();    // ends and joins the thread; start() may follow
    unsigned passes() const { return m_passes.load(std::memory_order_relaxed); }

signals:
    void sig_usb_update(int code);

private:
    enum State { Absent, Present, Ready };
    void loop();
    bool watchParent();   // adds the parent's watch when it is missing
    int sleepMs() const;  // -1: until something changes

    State m_state = Absent;   // watcher thread only
    std::thread m_thread;
    int m_inotify = -1;
    int m_watch = -1;
    int m_mounts = -1;
    int m_stop = -1;          // eventfd
    std::atomic<bool> m_quit{false};
    std::atomic<unsigned> m_passes{0};
};

#endif
