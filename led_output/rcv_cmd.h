#ifndef QEL_LED_OUTPUT_RCV_CMD_H
#define QEL_LED_OUTPUT_RCV_CMD_H

#include <QByteArray>

#include "core/types.h"

class fpga_drv;

// The command layer between the FPGA manager and the receiving cards: builds
// the card frames, sends them out of an output port 0..23 and picks the
// matching reply. It never waits; the caller polls and keeps its own time-out.
class rcv_cmd
{
public:
    rcv_cmd(fpga_drv *fpga0, fpga_drv *fpga1);

    // The port exists and its FPGA runs.
    bool port_ready(int port) const;

    // Starts one exchange with card 0..0xFFD, CARD_ALL or CARD_SEARCH; false
    // when the frame could not go out (a card index above CARD_ALL would
    // reach another card). Any exchange the port had open ends.
    bool send(int port, u16 card, u8 command, const QByteArray &payload, u32 now);
    // True when the reply of the last exchange of `port` has arrived: its
    // status byte and the bytes after it. Replies that do not match (a late
    // answer to an earlier exchange) are dropped.
    bool poll(int port, u32 now, u8 *status, QByteArray *extra);

    // Exchanges of the jobs
    bool search(int port, u32 now);
    bool write_ram(int port, u16 card, u16 address, const QByteArray &data, u32 now);
    bool write_register(int port, u16 card, u8 reg, u8 value, u32 now);
    bool save_parameters(int port, u16 card, u32 now);
    bool load_scan(int port, u32 offset, u32 total, const QByteArray &chunk, u32 now);
    bool read_recovery(int port, u16 card, u32 now);
    bool write_recovery(int port, u16 card, const QByteArray &para, u32 now);

private:
    fpga_drv *device(int port) const;

    fpga_drv *m_fpga[2];
    // what each port waits for
    u16 m_card[24] = {};
    u8 m_command[24] = {};
    bool m_open[24] = {};
};

#endif
