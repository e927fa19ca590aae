#include <QtTest>

#include "led_output/fpga_drv.h"
#include "led_output/rcv_card.h"
#include "led_output/rcv_frame.h"

class TestRcvFrame : public QObject
{
    Q_OBJECT

private slots:
    void stuffingChecksumAndPort()
    {
        rcv_frame::Head h;
        h.destination = rcv_frame::destination(14, 0x5A);   // port bits 2, card 0x5A
        h.source = 0xA5AA;
        h.side = rcv_frame::port_side(14);
        h.fpga = rcv_frame::port_fpga(14);
        h.command = 0x02;
        const QByteArray payload = QByteArray::fromHex("a55aaa00a5");
        const QByteArray wire = rcv_frame::build(h, payload);
        QVERIFY(wire.startsWith(QByteArray::fromHex("a5a5a5")) && wire.endsWith(char(0x5A)));
        const QByteArray inner = wire.mid(3, wire.size() - 4);   // no frame mark inside the stuffed body
        QVERIFY(!inner.contains(char(0xA5)) && !inner.contains(char(0x5A)));

        rcv_frame::Head back;
        QByteArray got;
        QVERIFY(rcv_frame::parse(wire, &back, &got));
        QCOMPARE(QList<int>({back.destination, back.source, back.side, back.fpga, back.command}),
                 QList<int>({0x205A, 0xA5AA, 0, 1, 2}));
        QCOMPARE(got, payload);
        QByteArray bad = wire;   // one flipped payload bit fails the checksum
        bad[bad.size() - 3] = char(bad.at(bad.size() - 3) ^ 0x01);
        QVERIFY(!rcv_frame::parse(bad, &back, &got));
        QVERIFY(!rcv_frame::parse(wire.left(8), &back, &got));

        // escape faults
        QByteArray body;
        QVERIFY(rcv_frame::unstuff(QByteArray::fromHex("01aa0002aa01aa02"), &body));
        QCOMPARE(body, QByteArray::fromHex("01aa02a55a"));
        for (const char *hex : {"01aa", "aa07", "01a502"})
            QVERIFY2(!rcv_frame::unstuff(QByteArray::fromHex(hex), &body), hex);

        // a frame built for another port (13) is dropped by port 14's chain
        fpga_drv f(1);
        f.set_state(fpga_drv::STATE_RUNNING);
        f.set_card_count(2, 3);
        h.destination = rcv_frame::destination(13, 0);
        h.side = rcv_frame::port_side(13);
        h.command = rcv_card::CMD_SAVE;
        QVERIFY(!f.transmit(2, rcv_frame::build(h, QByteArray()), 0));
        QCOMPARE(f.dropped_frames(), 1u);
        QCOMPARE(f.card(2, 0).saves, 0u);
    }
};

QTEST_GUILESS_MAIN(TestRcvFrame)
#include "test_rcv_frame.moc"
