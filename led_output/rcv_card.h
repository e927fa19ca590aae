#ifndef QEL_LED_OUTPUT_RCV_CARD_H
#define QEL_LED_OUTPUT_RCV_CARD_H

#include <QByteArray>

#include "core/types.h"

// How a simulated card answers the frames it receives.
enum class RcvReply : u8 {
    Answers,   // at once
    Never,     // takes the frame, sends nothing back
    Late,      // answers after the controller's wait has run out
};

// One simulated receiving card: RAM, registers, saved parameters, the
// recovery mark and counts of what it received.
class rcv_card
{
public:
    static constexpr int RAM_SIZE = 0x400;
    static constexpr int POSITION_ADDR = 0x0180;   // x, y: u16 little-endian
    static constexpr int PARA_SIZE = 0x200;        // parameter area: RAM 0..0x1FF
    static constexpr u8 REG_MAPPING = 0x10;        // 9 mapping on, 0 off

    // Card commands (replies carry command | 0x80, payload byte 0 the status).
    enum Command : u8 {
        CMD_SEARCH = 0x01,          // answered by the FPGA: u16 card count
        CMD_WRITE_RAM = 0x02,       // u16 address, data
        CMD_WRITE_REGISTER = 0x03,  // u8 register, u8 value
        CMD_SAVE = 0x04,            // keep the parameter area
        CMD_LOAD_SCAN = 0x05,       // u32 offset, u32 total, data
        CMD_READ_RECOVERY = 0x06,   // reply: status, recovery mark
        CMD_WRITE_RECOVERY = 0x07,  // PARA_SIZE bytes of parameters
    };

    rcv_card();

    QByteArray ram;          // RAM_SIZE bytes
    u8 regs[256];
    QByteArray saved;        // parameter area as last saved
    QByteArray scan;         // last complete scan data
    QByteArray scan_pending; // scan data still arriving
    bool needs_recovery = false;
    RcvReply reply = RcvReply::Answers;

    u32 frames = 0;          // every frame addressed to it
    u32 searches = 0;
    u32 ram_writes = 0;
    u32 register_writes = 0;
    u32 saves = 0;
    u32 scan_chunks = 0;
    u32 scan_loads = 0;      // complete scan files
    u32 recovery_reads = 0;
    u32 recovery_writes = 0;

    u16 position_x() const;
    u16 position_y() const;

    // Carries out one command; the result is the status byte of the reply
    // (0 done, 1 refused) and `extra` the reply bytes after it.
    u8 apply(u8 command, const QByteArray &payload, QByteArray *extra);
};

#endif
