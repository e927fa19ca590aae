#ifndef QEL_LED_OUTPUT_FPGA_DRV_H
#define QEL_LED_OUTPUT_FPGA_DRV_H

#include <QByteArray>
#include <QString>
#include <QVector>
#include <deque>
#include <mutex>

#include "core/types.h"
#include "led_output/rcv_card.h"

struct SimFpga;

// One simulated FPGA of the LED output board: its register file, its
// output-geometry block and twelve output ports, each with the chain of
// receiving cards behind it. Every member locks the device's own mutex, so
// the manager's thread and the tests may use it side by side.
class fpga_drv
{
public:
    static constexpr int PORTS = 12;
    static constexpr int GEOMETRY_SIZE = 1024;
    static constexpr u32 LATE_TICKS = 1300;   // a late card's reply delay
    static constexpr int REPLY_QUEUE_MAX = 256;

    // registers
    static constexpr u8 REG_CONTROL = 0;      // bit 7 mapping enable
    static constexpr u8 REG_OUTPUT = 1;       // bit 0 screen output in its set-up state
    static constexpr u8 REG_VERSION = 28;     // 28..31 number, day, month, year (BCD)
    static constexpr u8 REG_AGE_STATUS = 40;  // DDR0, DDR1, DE, HS, VS in bits 0..4
    static constexpr u8 REG_AGE_COUNT = 42;
    static constexpr u8 REG_AGE_EXTRA = 43;
    static constexpr u8 REG_STATE = 80;       // 3 running
    static constexpr u8 REG_LINK_LOW = 128;   // link bits of ports 0..7
    static constexpr u8 REG_LINK_HIGH = 144;  // link bits of ports 8..11 (bits 0..3)
    static constexpr u8 STATE_RUNNING = 3;

    explicit fpga_drv(int index);
    fpga_drv(const fpga_drv &) = delete;
    fpga_drv &operator=(const fpga_drv &) = delete;

    int index() const { return m_index; }

    // ---- the manager's side (SPI and output ports) ----
    // false when the device does not answer its bus
    bool read_register(u8 reg, u8 *value) const;
    bool write_register(u8 reg, u8 value);
    bool read_geometry(u8 *out, int size) const;
    void pulse_reset();
    // Sends a line frame out of port 0..11; false when the FPGA is not
    // running or the frame is not meant for this port.
    bool transmit(int port, const QByteArray &wire, u32 now);
    // Oldest reply of the port whose time has come.
    bool take_reply(int port, u32 now, QByteArray *wire);

    // ---- simulation controls (sim.json, tests) ----
    // A state below 0 stops the FPGA answering its bus (registers kept).
    void configure(const SimFpga &cfg, const int cards[PORTS], const QString replies[PORTS]);
    void set_register(u8 reg, u8 value);
    u8 peek_register(u8 reg) const;
    void set_state(u8 state);
    void set_version(int number, int day, int month, int year);   // plain decimal
    void set_bus_fault(bool fault);   // no answer on the bus: reads, writes, frames
    void set_port_area(int port, u16 x, u16 y, u16 width, u16 height);
    void set_card_count(int port, int count);    // also sets the port's link bit
    int card_count(int port) const;
    void set_link(int port, bool up);
    void set_reply(int port, RcvReply reply);    // every card of the port
    void set_card_reply(int port, int card, RcvReply reply);
    void set_needs_recovery(int port, int card, bool needs);
    rcv_card card(int port, int card) const;     // a copy
    u32 reset_count() const;
    u32 dropped_frames() const;

    static RcvReply reply_from_text(const QString &text);

private:
    struct Reply
    {
        u32 ready;
        QByteArray wire;
    };
    struct Port
    {
        QVector<rcv_card> cards;
        std::deque<Reply> replies;
    };

    void queue_reply(Port &p, int port, u16 source, u8 command, u8 status, const QByteArray &extra, RcvReply how,
                     u32 now);
    void set_link_locked(int port, bool up);

    const int m_index;
    mutable std::mutex m_mutex;
    u8 m_regs[256];
    u8 m_geometry[GEOMETRY_SIZE];
    Port m_ports[PORTS];
    bool m_bus_fault = false;
    u32 m_resets = 0;
    u32 m_dropped = 0;
};

#endif
