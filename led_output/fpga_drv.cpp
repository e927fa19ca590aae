#include "led_output/fpga_drv.h"

#include <cstring>

#include "core/sim_config.h"
#include "led_output/fpga_manage.h"
#include "led_output/locked_copy.h"
#include "led_output/rcv_frame.h"

namespace {
u8 bcd(int v)
{
    v = qBound(0, v, 99);
    return u8(((v / 10) << 4) | (v % 10));
}

bool due(u32 ready, u32 now) { return u32(now - ready) < 0x80000000u; }
}

fpga_drv::fpga_drv(int index) : m_index(index)
{
    memset(m_regs, 0, sizeof(m_regs));
    memset(m_geometry, 0, sizeof(m_geometry));
}

bool fpga_drv::read_register(u8 reg, u8 *value) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bus_fault)
        return false;
    *value = m_regs[reg];
    return true;
}

bool fpga_drv::write_register(u8 reg, u8 value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bus_fault)
        return false;
    m_regs[reg] = value;
    return true;
}

bool fpga_drv::read_geometry(u8 *out, int size) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bus_fault)
        return false;
    memcpy(out, m_geometry, size_t(qBound(0, size, GEOMETRY_SIZE)));
    return true;
}

void fpga_drv::pulse_reset()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_resets;
    m_regs[REG_OUTPUT] = 0;   // the reset leaves the output in its normal state
}

void fpga_drv::queue_reply(Port &p, int port, u16 source, u8 command, u8 status, const QByteArray &extra,
                           RcvReply how, u32 now)
{
    if (how == RcvReply::Never)
        return;
    rcv_frame::Head h;
    h.destination = 0;
    h.source = u16((source & 0x0FFF) | ((port % 4) << 12));
    h.side = rcv_frame::port_side(port);
    h.fpga = u8(m_index);
    h.command = u8(command | rcv_frame::REPLY);
    QByteArray payload(1, char(status));
    payload.append(extra);
    if (int(p.replies.size()) >= REPLY_QUEUE_MAX)
        p.replies.pop_front();
    p.replies.push_back(Reply{how == RcvReply::Late ? now + LATE_TICKS : now, rcv_frame::build(h, payload)});
}

bool fpga_drv::transmit(int port, const QByteArray &wire, u32 now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (port < 0 || port >= PORTS || m_bus_fault || m_regs[REG_STATE] != STATE_RUNNING) {
        ++m_dropped;
        return false;
    }
    rcv_frame::Head h;
    QByteArray payload;
    const int global = m_index * PORTS + port;
    if (!rcv_frame::parse(wire, &h, &payload) || h.fpga != m_index || h.side != rcv_frame::port_side(global)
        || rcv_frame::port_in_group(h.destination) != global % 4) {
        ++m_dropped;
        return false;
    }
    Port &p = m_ports[port];
    const u16 card = rcv_frame::card_of(h.destination);
    QByteArray extra;

    if (card == rcv_frame::CARD_SEARCH) {
        // every card sees the search; the FPGA answers with the chain length
        for (rcv_card &c : p.cards)
            c.apply(rcv_card::CMD_SEARCH, payload, &extra);
        const int n = p.cards.size();
        queue_reply(p, global, rcv_frame::CARD_SEARCH, h.command, 0, QByteArray(1, char(n & 0xFF)) + char(n >> 8),
                    RcvReply::Answers, now);
        return true;
    }
    if (card == rcv_frame::CARD_ALL) {
        // applied by every card; the last card of the chain answers
        u8 status = 0;
        for (rcv_card &c : p.cards)
            status |= c.apply(h.command, payload, &extra);
        if (!p.cards.isEmpty())
            queue_reply(p, global, u16(p.cards.size() - 1), h.command, status, QByteArray(), p.cards.last().reply, now);
        return true;
    }
    if (card < p.cards.size()) {
        rcv_card &c = p.cards[card];
        const u8 status = c.apply(h.command, payload, &extra);
        queue_reply(p, global, card, h.command, status, extra, c.reply, now);
    }
    return true;
}

bool fpga_drv::take_reply(int port, u32 now, QByteArray *wire)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (port < 0 || port >= PORTS)
        return false;
    std::deque<Reply> &q = m_ports[port].replies;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (due(it->ready, now)) {
            *wire = it->wire;
            q.erase(it);
            return true;
        }
    }
    return false;
}

void fpga_drv::configure(const SimFpga &cfg, const int cards[PORTS], const QString replies[PORTS])
{
    set_bus_fault(cfg.state < 0);
    if (cfg.state >= 0)
        set_state(u8(cfg.state));
    set_version(cfg.version[0], cfg.version[1], cfg.version[2], cfg.version[3]);
    for (int k = 0; k < PORTS; ++k) {
        set_card_count(k, cards[k]);
        set_reply(k, reply_from_text(replies[k]));
    }
}

void fpga_drv::set_register(u8 reg, u8 value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_regs[reg] = value;
}

u8 fpga_drv::peek_register(u8 reg) const { return lockedCopy(m_mutex, m_regs[reg]); }

void fpga_drv::set_state(u8 state) { set_register(REG_STATE, state); }

void fpga_drv::set_version(int number, int day, int month, int year)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_regs[REG_VERSION] = bcd(number);
    m_regs[REG_VERSION + 1] = bcd(day);
    m_regs[REG_VERSION + 2] = bcd(month);
    m_regs[REG_VERSION + 3] = bcd(year % 100);
}

void fpga_drv::set_bus_fault(bool fault)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bus_fault = fault;
}

void fpga_drv::set_port_area(int port, u16 x, u16 y, u16 width, u16 height)
{
    u16 ox, oy, ow, oh;
    fpga_manage::get_eth_param_addr(port, &ox, &oy, &ow, &oh);
    std::lock_guard<std::mutex> lock(m_mutex);
    const u16 off[4] = {ox, oy, ow, oh};
    const u16 val[4] = {x, y, width, height};
    for (int i = 0; i < 4; ++i) {
        m_geometry[off[i]] = u8(val[i] & 0xFF);
        m_geometry[off[i] + 1] = u8(val[i] >> 8);
    }
}

void fpga_drv::set_link_locked(int port, bool up)
{
    const u8 reg = port < 8 ? REG_LINK_LOW : REG_LINK_HIGH;
    const u8 bit = u8(1u << (port < 8 ? port : port - 8));
    m_regs[reg] = up ? u8(m_regs[reg] | bit) : u8(m_regs[reg] & ~bit);
}

void fpga_drv::set_card_count(int port, int count)
{
    if (port < 0 || port >= PORTS)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    count = qBound(0, count, 1024);
    const RcvReply how = m_ports[port].cards.isEmpty() ? RcvReply::Answers : m_ports[port].cards.last().reply;
    m_ports[port].cards.resize(count);
    for (rcv_card &c : m_ports[port].cards)
        c.reply = how;
    set_link_locked(port, count > 0);
}

int fpga_drv::card_count(int port) const
{
    if (port < 0 || port >= PORTS)
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_ports[port].cards.size();
}

void fpga_drv::set_link(int port, bool up)
{
    if (port < 0 || port >= PORTS)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    set_link_locked(port, up);
}

void fpga_drv::set_reply(int port, RcvReply reply)
{
    if (port < 0 || port >= PORTS)
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (rcv_card &c : m_ports[port].cards)
        c.reply = reply;
}

void fpga_drv::set_card_reply(int port, int card, RcvReply reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (port >= 0 && port < PORTS && card >= 0 && card < m_ports[port].cards.size())
        m_ports[port].cards[card].reply = reply;
}

void fpga_drv::set_needs_recovery(int port, int card, bool needs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (port >= 0 && port < PORTS && card >= 0 && card < m_ports[port].cards.size())
        m_ports[port].cards[card].needs_recovery = needs;
}

rcv_card fpga_drv::card(int port, int card) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (port >= 0 && port < PORTS && card >= 0 && card < m_ports[port].cards.size())
        return m_ports[port].cards[card];
    return rcv_card();
}

u32 fpga_drv::reset_count() const { return lockedCopy(m_mutex, m_resets); }
u32 fpga_drv::dropped_frames() const { return lockedCopy(m_mutex, m_dropped); }

RcvReply fpga_drv::reply_from_text(const QString &text)
{
    if (text == QLatin1String("never"))
        return RcvReply::Never;
    if (text == QLatin1String("late"))
        return RcvReply::Late;
    return RcvReply::Answers;
}
