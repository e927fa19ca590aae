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
//   "fonts":  <font-presence bits 0..15>
// }
// A missing or malformed file gives an idle device: no signal, FPGAs not
// running, no cards, no fonts.
struct SimInput
{
    int slot = 0;
    int width = 0;
    int height = 0;
    int rate = 0;
};

struct SimFpga
{
    int state = 0;
    int version[4] = {0, 0, 0, 0};   // number, day, month, year (plain decimal)
};

struct SimConfig
{
    QVector<SimInput> inputs;
    SimFpga fpgas[2];
    int cards[24] = {};             // cards behind ports 1..24 (index port - 1)
    QString cardReply[24];          // "answers" (default), "never", "late"
    int fonts = 0;
    bool loaded = false;

    static SimConfig load();        // reads "/sim.json" through the path helper
};

#endif
