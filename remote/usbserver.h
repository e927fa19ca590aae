#ifndef QEL_REMOTE_USBSERVER_H
#define QEL_REMOTE_USBSERVER_H

#include <QObject>

#include "core/manager_thread.h"

// Watches the USB stick folder "/mnt/usb1/": 100 when it appears, 102 once
// it can be listed, 101 when it goes. The signal is emitted on the watcher's
// thread; connect it queued.
class UsbServer : public QObject
{
    Q_OBJECT
public:
    explicit UsbServer(QObject *parent = nullptr);
    ~UsbServer() override;

    void pass();    // one look at the folder
    void start();   // polls about every 200 ms on its own thread
    void stop();

signals:
    void sig_usb_update(int code);

private:
    enum State { Absent, Present, Ready };
    State m_state = Absent;   // watcher thread only
    ManagerThread m_thread;
};

#endif
