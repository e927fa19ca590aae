#ifndef QEL_VIDEO_IO_TAVIXSOURCE_H
#define QEL_VIDEO_IO_TAVIXSOURCE_H

#include <atomic>

#include "core/types.h"

class it66121_sys;

// The input-source manager: the six inputs, their EDID memories and the
// monitor-output transmitter.
class tavixsource
{
public:
    static tavixsource *p_tavix_source;
    static tavixsource *pInstance();
    static void destroyInstance();   // tests

    // Per input slot 0..5: EDID rewrite request and written mark.
    std::atomic<u8> set_edid_flag[6];
    std::atomic<u8> edid_written_flag[6];
    // Per input slot: an EDID table loaded by the PC is in force.
    std::atomic<u8> pc_edid_loaded[6];

    // Request a rebuild of the input's custom EDID (request 1, mark 0).
    void request_edid_rewrite(int slot);

    it66121_sys *it66121 = nullptr;

    void pass();
    void start();
    void stop();

private:
    tavixsource();
    ~tavixsource();
};

#endif
