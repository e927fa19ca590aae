#ifndef QEL_CORE_SIM_CONFIG_H
#define QEL_CORE_SIM_CONFIG_H

#include <QMap>
#include <QString>
#include <QVector>

#include "core/types.h"

// The simulated device, read from "<QEL_ROOT>/sim.json":
// {
//   "inputs": [ {"slot": 2, "width": 1920, "height": 1080, "rate": 60}, ... ],
//   "fpgas":  [ {"state": 3, "version": [number, day, month, year]}, {...} ],
//   "cards":  { "<port 1..24>": <card count>, ... },
//   "card_reply": { "<port 1..24>": "answers" | "never" | "late" },
//   "fonts":  <font-presence bits 0..15>,
//   "settle_ms": <wait before the panel shows, 0..4000; default 4000>
// }
// A missing or malformed file gives an idle device: no signal, FPGAs not
// running, no cards, no fonts, the full wait.
struct SimInput
{
    int slot = 0;
    int width = 0;
    int height = 0;
    int rate = 0;

    bool operator==(const SimInput &o) const
    {
        return slot == o.slot && width == o.width && height == o.height && rate == o.rate;
    }
};

struct SimFpga
{
    int state = 0;
    int version[4] = {0, 0, 0, 0};   // number, day, month, year (plain decimal)
};

struct SimConfig
{
    static constexpr int SETTLE_MS = 4000;   // the device's wait for its chips

    QVector<SimInput> inputs;
    SimFpga fpgas[2];
    int cards[24] = {};             // cards behind ports 1..24 (index port - 1)
    QString cardReply[24];          // "answers" (default), "never", "late"
    int fonts = 0;
    int settleMs = SETTLE_MS;
    bool loaded = false;

    static SimConfig load();        // reads "/sim.json" through the path helper

    // FPGA f's part (state, version, its twelve ports' cards and replies)
    // is the same in both descriptions.
    bool sameFpga(const SimConfig &o, int f) const;
};

#endif
