#include "led_output/rcv_frame.h"

#include "core/utils.h"

QByteArray rcv_frame::stuff(const QByteArray &body)
{
    QByteArray out;
    out.reserve(body.size() + body.size() / 8 + 2);
    for (char ch : body) {
        const u8 b = u8(ch);
        if (b == ESCAPE || b == PREAMBLE || b == END_MARK) {
            out.append(char(ESCAPE));
            out.append(char(b == ESCAPE ? 0x00 : b == PREAMBLE ? 0x01 : 0x02));
        } else {
            out.append(ch);
        }
    }
    return out;
}

bool rcv_frame::unstuff(const QByteArray &stuffed, QByteArray *body)
{
    QByteArray out;
    out.reserve(stuffed.size());
    for (int i = 0; i < stuffed.size(); ++i) {
        const u8 b = u8(stuffed[i]);
        if (b == PREAMBLE || b == END_MARK)
            return false;   // marks never appear inside a body
        if (b != ESCAPE) {
            out.append(char(b));
            continue;
        }
        if (++i >= stuffed.size())
            return false;
        switch (u8(stuffed[i])) {
        case 0x00: out.append(char(ESCAPE)); break;
        case 0x01: out.append(char(PREAMBLE)); break;
        case 0x02: out.append(char(END_MARK)); break;
        default: return false;
        }
    }
    *body = out;
    return true;
}

QByteArray rcv_frame::build(const Head &head, const QByteArray &payload)
{
    QByteArray body(HEAD_SIZE, '\0');
    body[0] = char(head.destination & 0xFF);
    body[1] = char(head.destination >> 8);
    body[2] = char(head.source & 0xFF);
    body[3] = char(head.source >> 8);
    body[4] = char(FIXED0);
    body[5] = char(FIXED1);
    body[6] = char(head.side);
    body[7] = char(head.fpga);
    body[8] = 0;
    body[9] = char(head.command);
    body.append(payload);
    body.append(char(Utils::BCC(reinterpret_cast<const u8 *>(body.constData()), body.size())));

    QByteArray wire;
    wire.reserve(body.size() + 8);
    wire.append(3, char(PREAMBLE));
    wire.append(stuff(body));
    wire.append(char(END_MARK));
    return wire;
}

bool rcv_frame::parse(const QByteArray &wire, Head *head, QByteArray *payload)
{
    if (wire.size() < 3 + HEAD_SIZE + 1 + 1)
        return false;
    for (int i = 0; i < 3; ++i)
        if (u8(wire[i]) != PREAMBLE)
            return false;
    if (u8(wire[wire.size() - 1]) != END_MARK)
        return false;
    QByteArray body;
    if (!unstuff(wire.mid(3, wire.size() - 4), &body))
        return false;
    if (body.size() < HEAD_SIZE + 1)
        return false;
    const u8 *b = reinterpret_cast<const u8 *>(body.constData());
    if (Utils::BCC(b, body.size() - 1) != b[body.size() - 1])
        return false;
    if (b[4] != FIXED0 || b[5] != FIXED1 || b[8] != 0)
        return false;
    head->destination = u16(b[0] | (b[1] << 8));
    head->source = u16(b[2] | (b[3] << 8));
    head->side = b[6];
    head->fpga = b[7];
    head->command = b[9];
    *payload = body.mid(HEAD_SIZE, body.size() - HEAD_SIZE - 1);
    return true;
}
