#include <QtTest>

#include <mutex>
#include <vector>
#include <unistd.h>

#include "core/utils.h"
#include "remote/usbserver.h"
#include "tests/support/testenv.h"

namespace {

QList<int> codes(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

QString stickFolder() { return Utils::devicePath(QStringLiteral("/mnt/usb1")); }

}

class TestUsbServer : public QObject
{
    Q_OBJECT
private slots:
    void insertReadyRemove()
    {
        TestRoot root;
        UsbServer usb;
        QSignalSpy spy(&usb, &UsbServer::sig_usb_update);

        usb.pass();
        QVERIFY(spy.isEmpty());

        QVERIFY(QDir().mkpath(stickFolder()));
        usb.pass();
        QCOMPARE(codes(spy), QList<int>{100});
        usb.pass();
        QCOMPARE(codes(spy), (QList<int>{100, 102}));
        usb.pass();
        QCOMPARE(spy.count(), 2);

        QVERIFY(QDir(stickFolder()).removeRecursively());
        usb.pass();
        QCOMPARE(codes(spy), (QList<int>{100, 102, 101}));
        usb.pass();
        QCOMPARE(spy.count(), 3);

        // pulled before it could be read
        spy.clear();
        QVERIFY(QDir().mkpath(stickFolder()));
        usb.pass();
        QVERIFY(QDir(stickFolder()).removeRecursively());
        usb.pass();
        QCOMPARE(codes(spy), (QList<int>{100, 101}));
    }

    void readyOnlyWhenListable()
    {
        if (::geteuid() == 0)
            QSKIP("folder rights do not bind the superuser");
        TestRoot root;
        UsbServer usb;
        QSignalSpy spy(&usb, &UsbServer::sig_usb_update);
        QVERIFY(QDir().mkpath(stickFolder()));
        QFile::setPermissions(stickFolder(), QFileDevice::Permissions());
        usb.pass();
        usb.pass();
        QCOMPARE(codes(spy), QList<int>{100});
        QFile::setPermissions(stickFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        usb.pass();
        QCOMPARE(codes(spy), (QList<int>{100, 102}));
    }

    void threadedStartStop()
    {
        TestRoot root;
        UsbServer usb;
        // received on the watcher's thread, read here under the lock
        // (std::vector: no shared copies between the threads)
        std::mutex mutex;
        std::vector<int> got;
        auto received = [&] {
            std::lock_guard<std::mutex> lock(mutex);
            return got;
        };
        connect(&usb, &UsbServer::sig_usb_update, &usb, [&](int code) {
            std::lock_guard<std::mutex> lock(mutex);
            got.push_back(code);
        }, Qt::DirectConnection);
        usb.start();
        QVERIFY(QDir().mkpath(stickFolder()));
        QTRY_VERIFY_WITH_TIMEOUT(received() == (std::vector<int>{100, 102}), 5000);
        QVERIFY(QDir(stickFolder()).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(received() == (std::vector<int>{100, 102, 101}), 5000);
        usb.stop();
        usb.stop();
    }
};

QTEST_GUILESS_MAIN(TestUsbServer)
#include "test_usbserver.moc"
