#include <QtTest>

#include "led_output/fpga_drv.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_frame.h"

namespace {
// Output port 14 is port 2 of FPGA 1: three cards behind it. FPGA 0 does not run.
struct Chain
{
    fpga_drv f0{0}, f1{1};
    rcv_cmd cmd{&f0, &f1};
    u8 status = 0xEE;
    QByteArray extra;

    Chain()
    {
        f1.set_state(fpga_drv::STATE_RUNNING);
        f1.set_card_count(2, 3);
    }
    bool poll(int port = 14, u32 now = 0) { return cmd.poll(port, now, &status, &extra); }
    rcv_card card(int c) const { return f1.card(2, c); }
};
}

class TestRcvCmd : public QObject
{
    Q_OBJECT

private slots:
    void refusedExchangesReachNoCard_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<int>("card");
        QTest::addColumn<QString>("fault");
        QTest::newRow("port 24") << 24 << 0 << "";
        QTest::newRow("card one past all cards") << 14 << 0x1000 << "";   // would wrap to card 0
        QTest::newRow("FPGA stopped") << 14 << 1 << "stopped";
        QTest::newRow("FPGA off its bus") << 14 << 1 << "bus";
    }
    void refusedExchangesReachNoCard()
    {
        QFETCH(int, port);
        QFETCH(int, card);
        QFETCH(QString, fault);
        Chain c;
        QVERIFY(c.cmd.save_parameters(14, 1, 0));   // an exchange in flight, its reply already back
        c.f1.set_state(fault == "stopped" ? 0 : fpga_drv::STATE_RUNNING);
        c.f1.set_bus_fault(fault == "bus");
        QVERIFY(!c.cmd.write_register(port, u16(card), rcv_card::REG_MAPPING, 9, 0));
        c.f1.set_bus_fault(false);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(c.card(k).register_writes, 0u);
        // the refused request ended the port's exchange: the old reply is not taken for it
        QVERIFY(!c.poll(port));
    }

    void repliesMatchTheirExchange()
    {
        Chain c;
        QVERIFY(!c.poll());   // nothing asked yet
        QVERIFY(!c.cmd.search(0, 0) && !c.cmd.port_ready(0) && c.cmd.port_ready(23));
        QVERIFY(c.cmd.search(14, 0));   // answered by the FPGA with the chain length
        QVERIFY(c.poll());
        QCOMPARE(c.extra, QByteArray::fromHex("0300"));
        QVERIFY(!c.poll());   // taken once

        // a reply to another command of the same card is not this exchange's
        c.f1.set_needs_recovery(2, 1, true);
        QVERIFY(c.cmd.save_parameters(14, 1, 0));
        QVERIFY(c.cmd.read_recovery(14, 1, 0));
        QVERIFY(c.poll());
        QCOMPARE(int(c.status), 0);
        QCOMPARE(c.extra, QByteArray(1, char(1)));   // the recovery mark, not the save's empty answer
        QVERIFY(!c.poll());

        // a broadcast reaches every card and the last card answers it; port 2 has no exchange open
        QVERIFY(c.cmd.write_register(14, rcv_frame::CARD_ALL, rcv_card::REG_MAPPING, 9, 0));
        QVERIFY(c.poll());
        for (int k = 0; k < 3; ++k)
            QCOMPARE(int(c.card(k).regs[rcv_card::REG_MAPPING]), 9);
        QVERIFY(!c.poll(2));
    }
};

QTEST_GUILESS_MAIN(TestRcvCmd)
#include "test_rcv_cmd.moc"
