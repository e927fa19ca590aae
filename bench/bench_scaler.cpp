#include <QElapsedTimer>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "bench/bench.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"

QEL_BENCH("scaler pass, no change")
{
    TestRoot root;
    QelRamPara::pInstance();
    c331_manage *m = c331_manage::pInstance();
    m->pass();
    const double ns = benchTime(200000, [m] { m->pass(); });
    c331_manage::destroyInstance();
    QelRamPara::destroyInstance();
    return ns;
}

QEL_BENCH("scaler pass, whole image changed")
{
    TestRoot root;
    QelRamPara *p = QelRamPara::pInstance();
    c331_manage *m = c331_manage::pInstance();
    m->pass();
    // two images that differ in every field the manager applies
    u8 a[Img::SIZE], b[Img::SIZE];
    std::memcpy(a, p->ram_para, sizeof a);
    std::memcpy(b, a, sizeof b);
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        b[Img::crop(k)] = u8(k % 6);
        b[Img::crop(k) + 1] = u8(0x80 | k);
        b[Img::crop(k) + 2] = 16;
    }
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        b[Img::window(w, Img::W_ON)] ^= 1;
        b[Img::window(w, Img::W_SOURCE)] = u8(w);
        b[Img::window(w, Img::W_CROP_FLAG)] = 0x80;
        b[Img::window(w, Img::W_X)] = 8;
        b[Img::window(w, Img::W_W)] = 64;
        b[Img::window(w, Img::W_MIRROR)] = 1;
        b[Img::window(w, Img::W_FLAGS)] = 4;
        b[Img::window(w, Img::W_FLAGS) + 1] = 1;
        b[Img::window(w, Img::W_VOLUME)] = 200;
    }
    for (int i = Img::PICTURE; i < Img::PICTURE + 16; i += 2)
        b[i] = 33;
    b[Img::EDID_RECORD] = 0;
    b[Img::SPLICE_MODE] = 3;
    b[Img::CANVAS_W] = 0;
    b[Img::OUT2_X] = 9;
    b[Img::AUDIO_WINDOW] = 2;
    b[Img::SWITCH_EFFECT] = 1;
    b[Img::POINT_TO_POINT] = 1;
    b[Img::TEST_PATTERN] = 4;
    b[Img::OSD_ON] = 1;
    int turn = 0;
    const double ns = benchTime(5000, [&] {
        p->edit([&](u8 *img) { std::memcpy(img, (turn++ & 1) ? a : b, Img::SIZE); });
        m->pass();
    });
    c331_manage::destroyInstance();
    QelRamPara::destroyInstance();
    return ns;
}

// From a screen's write to the chip holding it, the manager on its own
// thread and idle when the write comes (mean of 200 writes).
QEL_BENCH("screen write reaches the chip, scaler thread running")
{
    TestRoot root;
    QelRamPara *p = QelRamPara::pInstance();
    c331_manage *m = c331_manage::pInstance();
    m->start();
    while (m->chip()->state().panel_inits == 0)
        std::this_thread::yield();
    const int n = 200;
    qint64 total = 0;
    for (int i = 0; i < n; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        const u8 v = u8(20 + i % 50);
        QElapsedTimer t;
        t.start();
        p->edit_u16(Img::BRIGHTNESS, v);
        while (m->chip()->state().brightness != v)
            std::this_thread::yield();
        total += t.nsecsElapsed();
    }
    c331_manage::destroyInstance();
    QelRamPara::destroyInstance();
    return double(total) / n;
}
