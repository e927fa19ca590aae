#include <QSignalSpy>
#include <QtTest>
#include <chrono>
#include <future>
#include <thread>
#include <tuple>

#include "core/global.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "video_io/tavixsource.h"
#include "tests/support/idle_turns.h"
#include "tests/support/testenv.h"

namespace {
using TestEnv::ints;

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }

C331_STATE chip() { return c331_manage::p_c331_manage->chip()->state(); }

// Refresh codes emitted so far, e.g. "1 2".
QString codes(const QSignalSpy &spy)
{
    QStringList out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toString();
    return out.join(' ');
}

void putCrop(int k, int word, int x, int y, int w, int h)
{
    const int v[5] = {word, x, y, w, h};
    for (int i = 0; i < 5; ++i)
        ram()->set_u16(Img::crop(k) + 2 * i, u16(v[i]));
}

int cropWord(int slot, int number) { return 0x8000 | ((number - 1) << 8) | slot; }

void showCrop(int w, int k)
{
    ram()->ram_para[Img::window(w, Img::W_SOURCE)] = u8(k);
    ram()->ram_para[Img::window(w, Img::W_CROP_FLAG)] = 0x80;
}

// One screen-style write: image bytes and the update byte under the lock.
template <typename F>
void edit(F f, u8 code = 1)
{
    ram()->edit([&](u8 *) { f(ram()); }, code);
}

}

class TestC331Manage : public QObject
{
    Q_OBJECT

    const std::function<void(OSD_LIST *)> m_read_menu = c331_manage::read_osd_menu;

    c331_manage *up()
    {
        QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        m->pass();
        return m;
    }

private slots:
    void cleanup()
    {
        c331_manage::read_osd_menu = m_read_menu;
        c331_manage::destroyInstance();
        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
    }

    void bringUpAndChangesReachTheChip()
    {
        TestRoot root;
        root.writeSim(R"({"fonts": 5})");
        QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        QSignalSpy spy(ram(), &QelRamPara::sig_update_para);
        m->pass();   // brought up from the factory image, no refresh
        C331_STATE s = chip();
        const u32 inits = s.panel_inits;
        QCOMPARE(ints(inits, s.window[0].on, s.window[0].source, g_set_led_para.load(), m->font_state.load()), ints(1, 1, 2, 0, 5));
        // an image change without the update byte waits; a quiet pass writes nothing
        ram()->ram_para[Img::TEST_PATTERN] = 3;
        m->pass();
        m->pass();
        QCOMPARE(ints(chip().reg_writes, chip().test_pattern, spy.count()), ints(s.reg_writes, 0, 0));

        // window 1 on crop 3 of input 4; OUT2 alone re-inits no panel
        edit([](QelRamPara *p) {
            putCrop(3, cropWord(4, 2), 100, 50, 640, 360);
            WindowEdit w(p->ram_para, 1);
            w.setOn(true), w.setCropRecord(3), w.setX(960), w.setFlags(0x0104), w.setP2pSplice(9), w.setAudio(0x80);
            p->set_u16(Img::OUT2_X, 200);
        });
        m->pass();
        s = chip();
        const C331_WINDOW &w = s.window[1];
        QCOMPARE(ints(w.on, w.source, w.crop, w.crop_x, w.crop_h, w.x, w.p2p, w.p2p_splice),
                 ints(1, 4, 3, 100, 360, 960, 1, 9));
        QCOMPARE(ints(s.crop[3].used, s.crop[3].source, s.crop[3].number), ints(1, 4, 2));
        QCOMPARE(ints(s.out2_x, s.panel_inits, g_set_led_para.load(), c331_manage::para_update.load()),
                 ints(200, inits, 0, 0));
        QCOMPARE(codes(spy), QStringLiteral("1"));

        // editing the crop a window shows moves the window's input area;
        // the refresh code is passed on as given
        edit([](QelRamPara *p) { p->set_u16(Img::crop(3) + 2, 8); }, 2);
        m->pass();
        QCOMPARE(ints(chip().crop[3].x, chip().window[1].crop_x, c331_manage::para_update.load()), ints(8, 8, 0));
        QCOMPARE(codes(spy), QStringLiteral("1 2"));

        // an empty crop rectangle shows the whole input, width or height alike
        for (int field : {6, 8}) {
            edit([field](QelRamPara *p) { p->set_u16(Img::crop(3) + field, 0); });
            m->pass();
            QCOMPARE(ints(chip().window[1].source, chip().window[1].crop, chip().window[1].crop_w),
                     ints(4, C331_NO_SOURCE, 0));
            edit([field](QelRamPara *p) { p->set_u16(Img::crop(3) + field, 360); });
            m->pass();
            QCOMPARE(ints(chip().window[1].crop, chip().window[1].crop_h), ints(3, 360));
        }
        spy.clear();

        // a freed crop leaves its window on with nothing to show
        edit([](QelRamPara *p) { p->set_u16(Img::crop(3), 0); });
        m->pass();
        s = chip();
        QCOMPARE(ints(s.crop[3].used, s.window[1].source, s.window[1].on), ints(0, C331_NO_SOURCE, 1));

        // an update byte with no image change still refreshes, writing nothing
        edit([](QelRamPara *) {});
        m->pass();
        QCOMPARE(chip().reg_writes, s.reg_writes);
        QCOMPARE(codes(spy), QStringLiteral("1 1"));
    }

    // Bad data from outside is refused; the LED hand-over never blocks; a
    // changed EDID asks for a rewrite of that input.
    void badDataLedHandOverAndEdidRewrite()
    {
        TestRoot root;
        c331_manage *m = up();
        // crops: input 7, number 41, free, the last valid one; windows 0-4 show
        // crops 0, 1, 2, 45 (no such record), 39; window 5 input 9
        edit([](QelRamPara *p) {
            putCrop(0, 0x8000 | 7, 1, 1, 10, 10);
            putCrop(1, cropWord(2, 41), 1, 1, 10, 10);
            putCrop(2, 0x0002, 1, 1, 10, 10);
            putCrop(39, cropWord(5, 40), 4, 4, 20, 20);
            int w = 0;
            for (int k : {0, 1, 2, 45, 39})
                showCrop(w++, k);
            p->ram_para[Img::window(5, Img::W_SOURCE)] = 9;
            p->set_u16(Img::window(1, Img::W_ON), 1);
            p->set_u16(Img::window(5, Img::W_ON), 0x0101);   // low byte 1: on
            p->set_u16(Img::window(3, Img::W_ON), 2);        // off, as the screens show it
            p->ram_para[Img::window(0, Img::W_MIRROR)] = 9;
            WindowEdit(p->ram_para, 2).setP2pSplice(5), WindowEdit(p->ram_para, 2).setFlags(0x100);
            p->ram_para[Img::TEST_PATTERN] = 12;
            p->ram_para[Img::BRIGHTNESS] = 250;
            // CONTRAST: a stray high byte counts
            const std::pair<int, int> words[] = {{Img::AUDIO_WINDOW, 0xFFFF}, {Img::CONTRAST, 0x0103},
                                                 {Img::SATURATION, 0x1234}, {Img::COLOR_TEMP, 7}, {Img::GAIN_G, 300}};
            for (const auto &[at, v] : words)
                p->set_u16(at, u16(v));
        });
        m->pass();
        C331_STATE s = chip();
        QCOMPARE(ints(s.crop[0].used, s.crop[1].used, s.crop[2].used, s.crop[39].used, s.crop[39].number),
                 ints(0, 0, 0, 1, 40));
        for (const C331_WINDOW &w : {s.window[0], s.window[1], s.window[2], s.window[3], s.window[5]})
            QCOMPARE(ints(w.source, w.crop, w.crop_w), ints(C331_NO_SOURCE, C331_NO_SOURCE, 0));
        QCOMPARE(ints(s.window[1].on, s.window[4].source, s.window[4].crop_w), ints(1, 5, 20));
        QCOMPARE(ints(s.window[3].on, s.window[5].on), ints(0, 1));
        QCOMPARE(ints(s.window[0].mirror, s.window[2].p2p, s.window[2].p2p_splice), ints(0, 1, 0));
        QCOMPARE(ints(s.test_pattern, s.audio_window, s.brightness, s.contrast, s.saturation, s.color_temp, s.gain_g),
                 ints(0, C331_NO_SOURCE, 100, 100, 100, 0, 128));

        // LED hand-over never blocks
        QSignalSpy spy(ram(), &QelRamPara::sig_update_para);
        const u32 inits = chip().panel_inits;
        // the output screen's Apply with both FPGAs running
        edit([](QelRamPara *p) {
            p->set_u16(Img::SPLICE_MODE, 3);
            p->set_u16(Img::CANVAS_W, 3840);
            p->set_u16(Img::OUT1_W, 1920);
            p->set_u16(Img::OUT2_X, 1920);
            p->set_u16(Img::window(0, Img::W_W), 3840);
            g_set_led_para = 1;
        });
        m->pass();
        s = chip();   // the panel waits, the rest is applied at once
        QCOMPARE(ints(s.panel_inits, s.canvas_w, s.out2_x, s.window[0].w), ints(inits, 1920, 0, 3840));
        QCOMPARE(ints(g_set_led_para.load(), c331_manage::para_update.load()), ints(1, 0));
        QCOMPARE(codes(spy), QStringLiteral("1"));

        // still set up by the FPGA manager: later passes look again, no waiting
        m->pass();
        edit([](QelRamPara *p) { p->set_u16(Img::CONTRAST, 20); });
        m->pass();
        QCOMPARE(ints(chip().panel_inits, chip().contrast, g_set_led_para.load()), ints(inits, 20, 1));

        // the FPGA manager is done: the next pass re-initialises, no new refresh
        g_set_led_para = 0;
        m->pass();
        s = chip();
        QCOMPARE(ints(s.panel_inits, s.splice_mode, s.canvas_w, s.out1_w, s.out2_x),
                 ints(inits + 1, 3, 3840, 1920, 1920));
        QCOMPARE(ints(g_set_led_para.load(), spy.count()), ints(2, 2));
        m->pass();
        QCOMPARE(chip().panel_inits, inits + 1);

        // FPGAs not running: no request pending, the panel follows at once
        g_set_led_para = 0;
        edit([](QelRamPara *p) { p->set_u16(Img::OUT1_H, 720); });
        m->pass();
        QCOMPARE(ints(chip().panel_inits, chip().out1_h, g_set_led_para.load()), ints(inits + 2, 720, 2));

        // EDID rewrite for every changed input; no input-source manager yet: nothing breaks
        ram()->QelSetEDIDPara(2, 1280, 720, 60);
        m->pass();
        tavixsource *src = tavixsource::pInstance();
        auto flags = [src] {   // request and written mark per input; marks reset to 1
            QString f;
            for (int i = 0; i < 6; ++i, src->set_edid_flag[i - 1] = 0, src->edid_written_flag[i - 1] = 1)
                f += QStringLiteral("%1%2 ").arg(int(src->set_edid_flag[i])).arg(int(src->edid_written_flag[i]));
            return f.trimmed();
        };
        flags();
        ram()->QelSetEDIDPara(1, 1280, 720, 60);
        ram()->QelSetEDIDPara(3, 1920, 1200, 60);
        ram()->QelSetEDIDPara(5, 3840, 2160, 30);   // rate only
        m->pass();
        QCOMPARE(flags(), QStringLiteral("01 10 01 10 01 10"));

        // a PC-loaded table is rebuilt with any EDID change, not with others
        src->pc_edid_loaded[4] = 1;
        edit([](QelRamPara *p) { p->ram_para[Img::BRIGHTNESS] = 10; });
        m->pass();
        QCOMPARE(flags(), QStringLiteral("01 01 01 01 01 01"));
        ram()->QelSetEDIDPara(0, 1024, 768, 60);
        m->pass();
        QCOMPARE(flags(), QStringLiteral("10 01 01 01 10 01"));
    }

    // The menu file is read with para_mutex free (a slow read holds up no
    // screen), at bring-up and when the display comes on, and not otherwise.
    void menuFileReadOutsideTheLock()
    {
        TestRoot root;
        QelRamPara::pInstance();
        QStringList reads;
        c331_manage::read_osd_menu = [&reads](OSD_LIST *list) {
            const bool free = std::async(std::launch::async, [] {
                                  std::unique_lock<std::mutex> l(c331_manage::para_mutex, std::try_to_lock);
                                  return l.owns_lock();
                              }).get();
            reads << (free ? "free" : "locked");
            list->osdcount = 1;
            list->osdlist[0].x = 30 + reads.size();
        };
        ram()->set_u16(Img::OSD_ON, 1);
        c331_manage *m = c331_manage::pInstance();
        m->pass();
        QCOMPARE(ints(chip().osd_on, chip().osd_count, chip().osd[0].x), ints(1, 1, 31));

        edit([](QelRamPara *p) { p->ram_para[Img::CONTRAST] = 9; });
        m->pass();
        edit([](QelRamPara *p) { p->set_u16(Img::OSD_ON, 0); });
        m->pass();
        edit([](QelRamPara *p) { p->set_u16(Img::OSD_ON, 1); });
        m->pass();
        QCOMPARE(ints(chip().osd_on, chip().osd_count, chip().osd[0].x), ints(1, 1, 32));
        QCOMPARE(reads, QStringList({"free", "free"}));
    }

    // Asleep while idle; a screen's write wakes it; writes from another
    // thread while it applies end in the last image.
    void threadSleepsAndAppliesWhileAnotherThreadWrites()
    {
        TestRoot root;
        QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        m->start();
        QTRY_VERIFY_WITH_TIMEOUT(chip().panel_inits == 1, 1000);
        const u32 idle = IdleTurns::during(c331_manage::thread());
        QVERIFY2(idle <= IdleTurns::MAX, qPrintable(QString::number(idle)));

        std::thread writer([] {
            for (int i = 1; i <= 200; ++i) {
                edit([i](QelRamPara *p) {
                    p->ram_para[Img::BRIGHTNESS] = u8(i % 101);
                    p->set_u16(Img::window(2, Img::W_X), u16(i));
                    p->set_u16(Img::window(2, Img::W_ON), u16(i & 1));
                });
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        writer.join();
        QTRY_COMPARE_WITH_TIMEOUT(int(c331_manage::para_update), 0, 2000);
        m->stop();
        QCOMPARE(ints(chip().brightness, chip().window[2].x, chip().window[2].on), ints(200 % 101, 200, 0));
        m->start();   // restartable, and destroyInstance joins it
    }
};

QTEST_GUILESS_MAIN(TestC331Manage)
#include "test_c331_manage.moc"
