#include "led_output/rcv_cmd.h"

#include "led_output/fpga_drv.h"
#include "led_output/rcv_card.h"
#include "led_output/rcv_frame.h"

namespace {
void put32(QByteArray *b, u32 v)
{
    for (int i = 0; i < 4; ++i)
        b->append(char((v >> (8 * i)) & 0xFF));
}
}

rcv_cmd::rcv_cmd(fpga_drv *fpga0, fpga_drv *fpga1) : m_fpga{fpga0, fpga1} {}

fpga_drv *rcv_cmd::device(int port) const
{
    if (port < 0 || port >= 24)
        return nullptr;
    return m_fpga[port / 12];
}

bool rcv_cmd::port_ready(int port) const
{
    fpga_drv *f = device(port);
    u8 state = 0;
    return f && f->read_register(fpga_drv::REG_STATE, &state) && state == fpga_drv::STATE_RUNNING;
}

bool rcv_cmd::send(int port, u16 card, u8 command, const QByteArray &payload, u32 now)
{
    fpga_drv *f = device(port);
    if (!f)
        return false;
    m_open[port] = false;
    if (card > rcv_frame::CARD_ALL)
        return false;
    rcv_frame::Head h;
    h.destination = rcv_frame::destination(port, card);
    h.source = 0;
    h.side = rcv_frame::port_side(port);
    h.fpga = rcv_frame::port_fpga(port);
    h.command = command;
    if (!f->transmit(port % 12, rcv_frame::build(h, payload), now))
        return false;
    m_card[port] = card;
    m_command[port] = command;
    m_open[port] = true;
    return true;
}

bool rcv_cmd::poll(int port, u32 now, u8 *status, QByteArray *extra)
{
    fpga_drv *f = device(port);
    if (!f || !m_open[port])
        return false;
    QByteArray wire;
    while (f->take_reply(port % 12, now, &wire)) {
        rcv_frame::Head h;
        QByteArray payload;
        if (!rcv_frame::parse(wire, &h, &payload) || payload.isEmpty())
            continue;
        if (h.command != u8(m_command[port] | rcv_frame::REPLY))
            continue;
        const u16 from = rcv_frame::card_of(h.source);
        // a broadcast is answered by the last card, whichever it is
        if (m_card[port] != rcv_frame::CARD_ALL && from != m_card[port])
            continue;
        m_open[port] = false;
        *status = u8(payload[0]);
        *extra = payload.mid(1);
        return true;
    }
    return false;
}

bool rcv_cmd::search(int port, u32 now)
{
    return send(port, rcv_frame::CARD_SEARCH, rcv_card::CMD_SEARCH, QByteArray(), now);
}

bool rcv_cmd::write_ram(int port, u16 card, u16 address, const QByteArray &data, u32 now)
{
    QByteArray p;
    p.append(char(address & 0xFF));
    p.append(char(address >> 8));
    p.append(data);
    return send(port, card, rcv_card::CMD_WRITE_RAM, p, now);
}

bool rcv_cmd::write_register(int port, u16 card, u8 reg, u8 value, u32 now)
{
    QByteArray p;
    p.append(char(reg));
    p.append(char(value));
    return send(port, card, rcv_card::CMD_WRITE_REGISTER, p, now);
}

bool rcv_cmd::save_parameters(int port, u16 card, u32 now)
{
    return send(port, card, rcv_card::CMD_SAVE, QByteArray(), now);
}

bool rcv_cmd::load_scan(int port, u32 offset, u32 total, const QByteArray &chunk, u32 now)
{
    QByteArray p;
    put32(&p, offset);
    put32(&p, total);
    p.append(chunk);
    return send(port, rcv_frame::CARD_ALL, rcv_card::CMD_LOAD_SCAN, p, now);
}

bool rcv_cmd::read_recovery(int port, u16 card, u32 now)
{
    return send(port, card, rcv_card::CMD_READ_RECOVERY, QByteArray(), now);
}

bool rcv_cmd::write_recovery(int port, u16 card, const QByteArray &para, u32 now)
{
    return send(port, card, rcv_card::CMD_WRITE_RECOVERY, para, now);
}
