#include "led_output/rcv_card.h"

#include <cstring>

namespace {
u32 le32(const QByteArray &b, int at)
{
    return u32(u8(b[at])) | u32(u8(b[at + 1])) << 8 | u32(u8(b[at + 2])) << 16 | u32(u8(b[at + 3])) << 24;
}
}

rcv_card::rcv_card() : ram(RAM_SIZE, '\0'), saved(PARA_SIZE, '\0')
{
    memset(regs, 0, sizeof(regs));
}

u16 rcv_card::position_x() const
{
    return u16(u8(ram[POSITION_ADDR]) | u8(ram[POSITION_ADDR + 1]) << 8);
}

u16 rcv_card::position_y() const
{
    return u16(u8(ram[POSITION_ADDR + 2]) | u8(ram[POSITION_ADDR + 3]) << 8);
}

u8 rcv_card::apply(u8 command, const QByteArray &payload, QByteArray *extra)
{
    ++frames;
    extra->clear();
    switch (command) {
    case CMD_SEARCH:
        ++searches;
        return 0;
    case CMD_WRITE_RAM: {
        if (payload.size() < 3)
            return 1;
        const int addr = u8(payload[0]) | u8(payload[1]) << 8;
        const int len = payload.size() - 2;
        if (addr + len > RAM_SIZE)
            return 1;
        ram.replace(addr, len, payload.mid(2));
        ++ram_writes;
        return 0;
    }
    case CMD_WRITE_REGISTER:
        if (payload.size() != 2)
            return 1;
        regs[u8(payload[0])] = u8(payload[1]);
        ++register_writes;
        return 0;
    case CMD_SAVE:
        saved = ram.left(PARA_SIZE);
        ++saves;
        return 0;
    case CMD_LOAD_SCAN: {
        if (payload.size() < 9)
            return 1;
        const u32 offset = le32(payload, 0);
        const u32 total = le32(payload, 4);
        const QByteArray data = payload.mid(8);
        if (offset == 0)
            scan_pending.clear();
        if (offset != u32(scan_pending.size()) || quint64(offset) + u32(data.size()) > total) {
            scan_pending.clear();
            return 1;
        }
        scan_pending.append(data);
        ++scan_chunks;
        if (u32(scan_pending.size()) == total) {
            scan = scan_pending;
            scan_pending.clear();
            ++scan_loads;
        }
        return 0;
    }
    case CMD_READ_RECOVERY:
        ++recovery_reads;
        extra->append(char(needs_recovery ? 1 : 0));
        return 0;
    case CMD_WRITE_RECOVERY:
        if (payload.size() != PARA_SIZE)
            return 1;
        ram.replace(0, PARA_SIZE, payload);
        saved = payload;
        needs_recovery = false;
        ++recovery_writes;
        return 0;
    default:
        return 1;
    }
}
