#include <QtTest>

#include <unistd.h>

#include "core/utils.h"
#include "remote/usbserver.h"
#include "tests/support/testenv.h"

class TestUsbServer : public QObject
{
    Q_OBJECT

    // Codes received so far, e.g. "100 102"; queued to this thread when the
    // watcher emits them on its own.
    QStringList m_codes;
    void watch(UsbServer *usb)
    {
        m_codes.clear();
        connect(usb, &UsbServer::sig_usb_update, this, [this](int code) { m_codes << QString::number(code); });
    }
    QString codes() const { return m_codes.join(' '); }
    static QString stick() { return Utils::devicePath(QStringLiteral("/mnt/usb1")); }

private slots:
    void insertReadyRemove()
    {
        TestRoot root;
        UsbServer usb;
        watch(&usb);
        usb.pass();
        QCOMPARE(codes(), QString());

        QVERIFY(QDir().mkpath(stick()));
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100"));
        usb.pass();
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100 102"));
        QVERIFY(QDir(stick()).removeRecursively());
        usb.pass();
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100 102 101"));

        // pulled before it could be read
        QVERIFY(QDir().mkpath(stick()));
        usb.pass();
        QVERIFY(QDir(stick()).removeRecursively());
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100 102 101 100 101"));
    }

    void readyOnlyWhenListable()
    {
        if (::geteuid() == 0)
            QSKIP("folder rights do not bind the superuser");
        TestRoot root;
        UsbServer usb;
        watch(&usb);
        QVERIFY(QDir().mkpath(stick()));
        QFile::setPermissions(stick(), QFileDevice::Permissions());
        usb.pass();
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100"));
        QFile::setPermissions(stick(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        usb.pass();
        QCOMPARE(codes(), QStringLiteral("100 102"));
    }

    void threadedStartStop()
    {
        TestRoot root;
        UsbServer usb;
        watch(&usb);
        usb.start();
        QVERIFY(QDir().mkpath(stick()));
        QTRY_COMPARE_WITH_TIMEOUT(codes(), QStringLiteral("100 102"), 5000);
        QVERIFY(QDir(stick()).removeRecursively());
        QTRY_COMPARE_WITH_TIMEOUT(codes(), QStringLiteral("100 102 101"), 5000);
        usb.stop();
        usb.stop();
    }
};

QTEST_GUILESS_MAIN(TestUsbServer)
#include "test_usbserver.moc"
