#include <QtTest>

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
    // with nothing changing, the watcher does not look again
    static bool sleeps(const UsbServer &usb)
    {
        const unsigned passes = usb.passes();
        QTest::qWait(3 * UsbServer::POLL_MS);
        return usb.passes() - passes <= 1;
    }
    static bool plug(bool in) { return in ? QDir().mkpath(stick()) : QDir(stick()).removeRecursively(); }

private slots:
    // Stepped by hand, then on its own thread.
    void insertReadyRemove()
    {
        TestRoot root;
        UsbServer usb;
        watch(&usb);
        // plugged in (0 out, 1 in, -1 as it was), passes, the codes so far
        struct Step { int in, passes; const char *codes; };
        const QString all = "100 102 101 100 101";
        for (const Step &s : {Step{-1, 1, ""}, {1, 1, "100"}, {-1, 2, "100 102"}, {0, 2, "100 102 101"},
                              {1, 1, "100 102 101 100"}, {0, 1, "100 102 101 100 101"}}) {   // pulled before read
            if (s.in >= 0)
                QVERIFY(plug(s.in));
            for (int i = 0; i < s.passes; ++i)
                usb.pass();
            QCOMPARE(codes(), QString::fromLatin1(s.codes));
        }
        usb.start();
        QVERIFY(plug(true));
        QTRY_COMPARE_WITH_TIMEOUT(codes(), all + " 100 102", 5000);
        QVERIFY(sleeps(usb));
        QVERIFY(plug(false));
        QTRY_COMPARE_WITH_TIMEOUT(codes(), all + " 100 102 101", 5000);
        QVERIFY(sleeps(usb));
        usb.stop();
        usb.stop();
    }
};

QTEST_GUILESS_MAIN(TestUsbServer)
#include "test_usbserver.moc"
