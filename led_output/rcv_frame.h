#ifndef QEL_LED_OUTPUT_RCV_FRAME_H
#define QEL_LED_OUTPUT_RCV_FRAME_H

#include <QByteArray>

#include "core/types.h"

// Frames to and from the receiving cards, in the command-frame layout:
//
//   A5 A5 A5 | stuffed body | 5A
//   body = 10-byte header | payload | XOR checksum of header and payload
//
//   header  0..1  destination, u16 little-endian: card index in bits 0..11
//                 (0xFFF all cards, 0xFFE search), port within its group in
//                 bits 12..13
//           2..3  source, u16 little-endian (0 = controller; a reply names
//                 the card that sent it)
//           4..5  fixed bytes FIXED0, FIXED1
//           6     FPGA-side select: port group 0..2 (four ports a group)
//           7     FPGA index 0..1
//           8     0
//           9     command (a reply carries command | 0x80)
//
// Byte stuffing (the one definition; both directions use it): inside the
// body every 0xAA, 0xA5 and 0x5A is sent as the escape 0xAA followed by
// 0x00, 0x01 or 0x02 respectively. Any other byte after 0xAA, or a body that
// ends on 0xAA, makes the frame invalid. The preamble and the end mark are
// never stuffed, so 0xA5 and 0x5A appear on the line only as frame marks.
class rcv_frame
{
public:
    static constexpr u8 PREAMBLE = 0xA5;
    static constexpr u8 END_MARK = 0x5A;
    static constexpr u8 ESCAPE = 0xAA;
    static constexpr u8 FIXED0 = 0x10;
    static constexpr u8 FIXED1 = 0x01;
    static constexpr int HEAD_SIZE = 10;
    static constexpr u8 REPLY = 0x80;

    static constexpr u16 CARD_ALL = 0xFFF;
    static constexpr u16 CARD_SEARCH = 0xFFE;

    struct Head
    {
        u16 destination = 0;
        u16 source = 0;
        u8 side = 0;
        u8 fpga = 0;
        u8 command = 0;
    };

    // Output port 0..23 seen from the frame: FPGA, group and port in group.
    static u8 port_fpga(int port) { return u8(port / 12); }
    static u8 port_side(int port) { return u8((port % 12) / 4); }
    static u16 destination(int port, u16 card) { return u16((card & 0x0FFF) | ((port % 4) << 12)); }
    static u16 card_of(u16 destination) { return u16(destination & 0x0FFF); }
    static int port_in_group(u16 destination) { return (destination >> 12) & 0x03; }

    static QByteArray stuff(const QByteArray &body);
    static bool unstuff(const QByteArray &stuffed, QByteArray *body);

    // Whole line frame: preamble, stuffed body with checksum, end mark.
    static QByteArray build(const Head &head, const QByteArray &payload);
    // Checks marks, stuffing and checksum; false on any fault.
    static bool parse(const QByteArray &wire, Head *head, QByteArray *payload);
};

#endif
