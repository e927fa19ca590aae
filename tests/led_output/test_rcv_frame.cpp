#include <QtTest>

#include "led_output/fpga_drv.h"
#include "led_output/rcv_cmd.h"
#include "led_output/rcv_frame.h"

class TestRcvFrame : public QObject
{
    Q_OBJECT

private slots:
    void stuffingAndChecksum()
    {
        rcv_frame::Head h;
        h.destination = rcv_frame::destination(14, 0x5A);   // port bits 2, card 0x5A
        h.source = 0xA5AA;
        h.side = rcv_frame::port_side(14);
        h.fpga = rcv_frame::port_fpga(14);
        h.command = 0x02;
        const QByteArray payload = QByteArray::fromHex("a55aaa00a5");
        const QByteArray wire = rcv_frame::build(h, payload);

        QVERIFY(wire.startsWith(QByteArray::fromHex("a5a5a5")));
        QCOMPARE(u8(wire.at(wire.size() - 1)), u8(0x5A));
        // no frame mark inside the stuffed body
        const QByteArray inner = wire.mid(3, wire.size() - 4);
        QVERIFY(!inner.contains(char(0xA5)));
        QVERIFY(!inner.contains(char(0x5A)));

        rcv_frame::Head back;
        QByteArray got;
        QVERIFY(rcv_frame::parse(wire, &back, &got));
        QCOMPARE(back.destination, u16(0x205A));
        QCOMPARE(back.source, u16(0xA5AA));
        QCOMPARE(int(back.side), 0);
        QCOMPARE(int(back.fpga), 1);
        QCOMPARE(int(back.command), 2);
        QCOMPARE(got, payload);

        // one flipped payload bit fails the checksum
        QByteArray bad = wire;
        bad[bad.size() - 3] = char(bad.at(bad.size() - 3) ^ 0x01);
        QVERIFY(!rcv_frame::parse(bad, &back, &got));

        // escape faults
        QByteArray body;
        QVERIFY(rcv_frame::unstuff(QByteArray::fromHex("01aa0002aa01aa02"), &body));
        QCOMPARE(body, QByteArray::fromHex("01aa02a55a"));
        QVERIFY(!rcv_frame::unstuff(QByteArray::fromHex("01aa"), &body));
        QVERIFY(!rcv_frame::unstuff(QByteArray::fromHex("aa07"), &body));
        QVERIFY(!rcv_frame::unstuff(QByteArray::fromHex("01a502"), &body));
        QVERIFY(!rcv_frame::parse(wire.left(8), &back, &got));
    }

    void chainAnswersOnlyFramesForItsPort()
    {
        fpga_drv f(1);
        f.set_state(fpga_drv::STATE_RUNNING);
        f.set_card_count(2, 3);
        fpga_drv f0(0);
        rcv_cmd cmd(&f0, &f);

        // port 14 is FPGA 1, port 2
        QVERIFY(cmd.search(14, 0));
        u8 status = 0xFF;
        QByteArray extra;
        QVERIFY(cmd.poll(14, 0, &status, &extra));
        QCOMPARE(int(status), 0);
        QCOMPARE(int(u8(extra.at(0)) | u8(extra.at(1)) << 8), 3);

        QVERIFY(cmd.write_ram(14, 1, 0x0180, QByteArray::fromHex("34125a00"), 0));
        QVERIFY(cmd.poll(14, 0, &status, &extra));
        QCOMPARE(f.card(2, 1).position_x(), u16(0x1234));
        QCOMPARE(f.card(2, 1).position_y(), u16(0x005A));
        QCOMPARE(f.card(2, 0).ram_writes, 0u);

        // a frame built for another port is dropped by this one
        rcv_frame::Head h;
        h.destination = rcv_frame::destination(13, 0);
        h.side = rcv_frame::port_side(13);
        h.fpga = 1;
        h.command = rcv_card::CMD_SAVE;
        QVERIFY(!f.transmit(2, rcv_frame::build(h, QByteArray()), 0));
        QCOMPARE(f.dropped_frames(), 1u);

        // an FPGA that does not run takes nothing
        QVERIFY(!cmd.search(0, 0));
        QVERIFY(!cmd.port_ready(0));
        QVERIFY(cmd.port_ready(23));

        // a late reply is not taken for the next exchange
        f.set_card_reply(2, 0, RcvReply::Late);
        QVERIFY(cmd.save_parameters(14, 0, 100));
        QVERIFY(!cmd.poll(14, 100, &status, &extra));
        QVERIFY(cmd.save_parameters(14, 2, 1300));
        QVERIFY(cmd.poll(14, 1400, &status, &extra));   // card 2 answered, card 0's late one dropped
        f.set_card_reply(2, 1, RcvReply::Never);
        QVERIFY(cmd.save_parameters(14, 1, 1500));
        QVERIFY(!cmd.poll(14, 5000, &status, &extra));
        QCOMPARE(f.card(2, 1).saves, 1u);   // taken, never answered
    }
};

QTEST_GUILESS_MAIN(TestRcvFrame)
#include "test_rcv_frame.moc"
