#include "remote/usbserver.h"

#include <QFileInfo>

#include "core/utils.h"

UsbServer::UsbServer(QObject *parent) : QObject(parent) {}

UsbServer::~UsbServer() { m_thread.stop(); }

void UsbServer::start() { m_thread.start([this] { pass(); }, 200); }

void UsbServer::stop() { m_thread.stop(); }

void UsbServer::pass()
{
    const QFileInfo stick(Utils::devicePath(QStringLiteral("/mnt/usb1/")));
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
