#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "video_io/tavixsource.h"
#include "tests/support/testenv.h"

namespace {

QelRamPara *ram() { return QelRamPara::p_qelrampara_config; }

void putCrop(int k, int word, int x, int y, int w, int h)
{
    QelRamPara *p = ram();
    p->set_u16(Img::crop(k), u16(word));
    p->set_u16(Img::crop(k) + 2, u16(x));
    p->set_u16(Img::crop(k) + 4, u16(y));
    p->set_u16(Img::crop(k) + 6, u16(w));
    p->set_u16(Img::crop(k) + 8, u16(h));
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
    std::lock_guard<std::mutex> lock(c331_manage::para_mutex);
    f(ram());
    c331_manage::para_update = code;
}

}

class TestC331Manage : public QObject
{
    Q_OBJECT

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
        c331_manage::destroyInstance();
        tavixsource::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
    }

    void bringUpFromTheImageAndFonts()
    {
        TestRoot root;
        root.writeSim(R"({"fonts": 5})");
        QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        QCOMPARE(int(m->font_state), 5);
        QSignalSpy spy(ram(), &QelRamPara::sig_update_para);
        m->pass();
        C331_STATE s = m->chip()->state();
        QCOMPARE(s.panel_inits, 1u);
        QCOMPARE(int(s.splice_mode), 4);
        QCOMPARE(int(s.canvas_w), 1920);
        QCOMPARE(int(s.out2_h), 1080);
        QCOMPARE(int(s.window[0].on), 1);
        QCOMPARE(int(s.window[0].source), 2);
        QCOMPARE(int(s.window[0].crop), int(C331_NO_SOURCE));
        QCOMPARE(int(s.window[0].w), 1920);
        QCOMPARE(int(s.window[3].on), 0);
        QCOMPARE(int(s.window[3].h), 540);
        QCOMPARE(int(s.brightness), 100);
        QCOMPARE(int(s.sharpness), 10);
        QCOMPARE(int(s.color_temp), 2);
        QCOMPARE(int(s.gain_b), 64);
        QCOMPARE(int(s.audio_window), 0);
        QCOMPARE(int(s.test_pattern), 0);
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(spy.count(), 0);

        // an image change without the update byte waits; a quiet pass writes nothing
        ram()->ram_para[Img::TEST_PATTERN] = 3;
        const u32 writes = s.reg_writes;
        m->pass();
        m->pass();
        s = m->chip()->state();
        QCOMPARE(s.reg_writes, writes);
        QCOMPARE(int(s.test_pattern), 0);
        QCOMPARE(spy.count(), 0);

        // nothing sent with no image; fonts read again on request
        root.writeSim(R"({"fonts": 10})");
        m->read_fonts();
        QCOMPARE(int(m->font_state), 10);
    }

    void changesReachTheChip()
    {
        TestRoot root;
        c331_manage *m = up();
        QSignalSpy spy(ram(), &QelRamPara::sig_update_para);
        const u32 inits = m->chip()->state().panel_inits;

        edit([](QelRamPara *p) {
            putCrop(3, cropWord(4, 2), 100, 50, 640, 360);
            const int w = 1;
            p->set_u16(Img::window(w, Img::W_ON), 1);
            showCrop(w, 3);
            p->set_u16(Img::window(w, Img::W_X), 960);
            p->set_u16(Img::window(w, Img::W_Y), 540);
            p->set_u16(Img::window(w, Img::W_W), 480);
            p->set_u16(Img::window(w, Img::W_H), 270);
            p->ram_para[Img::window(w, Img::W_MIRROR)] = 2;
            p->set_u16(Img::window(w, Img::W_FLAGS), 0x0104);
            p->set_u16(Img::window(w, Img::W_P2P_SPLICE), 9);
            p->ram_para[Img::window(w, Img::W_VOLUME)] = 255;
            p->ram_para[Img::window(w, Img::W_AUDIO)] = 0x80;
            p->ram_para[Img::FADE_PAIRS + 4] = 30;
            p->set_u16(Img::AUDIO_WINDOW, 1);
            p->set_u16(Img::SWITCH_EFFECT, 1);
            p->set_u16(Img::POINT_TO_POINT, 1);
            p->ram_para[Img::TEST_PATTERN] = 7;
            p->ram_para[Img::BRIGHTNESS] = 40;
            p->set_u16(Img::SATURATION, 70);
            p->set_u16(Img::COLOR_TEMP, 0);
            p->set_u16(Img::GAIN_R, 100);
            p->set_u16(Img::OUT2_X, 200);   // OUT2 alone: no panel re-init
        });
        m->pass();
        C331_STATE s = m->chip()->state();
        const C331_WINDOW &w = s.window[1];
        QCOMPARE(int(w.on), 1);
        QCOMPARE(int(w.source), 4);
        QCOMPARE(int(w.crop), 3);
        QCOMPARE(int(w.crop_x), 100);
        QCOMPARE(int(w.crop_h), 360);
        QCOMPARE(int(w.x), 960);
        QCOMPARE(int(w.h), 270);
        QCOMPARE(int(w.mirror), 2);
        QCOMPARE(int(w.p2p), 1);
        QCOMPARE(int(w.p2p_splice), 9);
        QCOMPARE(int(w.fade), 1);
        QCOMPARE(int(w.fade_in), 30);
        QCOMPARE(int(w.fade_out), 60);
        QCOMPARE(int(w.volume), 255);
        QCOMPARE(int(w.audio), 1);
        QCOMPARE(int(s.crop[3].used), 1);
        QCOMPARE(int(s.crop[3].source), 4);
        QCOMPARE(int(s.crop[3].number), 2);
        QCOMPARE(int(s.crop[3].w), 640);
        QCOMPARE(int(s.audio_window), 1);
        QCOMPARE(int(s.switch_effect), 1);
        QCOMPARE(int(s.point_to_point), 1);
        QCOMPARE(int(s.test_pattern), 7);
        QCOMPARE(int(s.brightness), 40);
        QCOMPARE(int(s.contrast), 50);
        QCOMPARE(int(s.saturation), 70);
        QCOMPARE(int(s.color_temp), 0);
        QCOMPARE(int(s.gain_r), 100);
        QCOMPARE(int(s.out2_x), 200);
        QCOMPARE(s.panel_inits, inits);
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(int(c331_manage::para_update), 0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);

        // editing the crop a window shows moves the window's input area;
        // the refresh code is passed on as given
        edit([](QelRamPara *p) { p->set_u16(Img::crop(3) + 2, 8); }, 2);
        m->pass();
        s = m->chip()->state();
        QCOMPARE(int(s.crop[3].x), 8);
        QCOMPARE(int(s.window[1].crop_x), 8);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 2);
        QCOMPARE(int(c331_manage::para_update), 0);

        // a freed crop leaves its window with nothing to show; the pattern goes
        edit([](QelRamPara *p) {
            p->set_u16(Img::crop(3), 0);
            p->ram_para[Img::TEST_PATTERN] = 0;
        });
        m->pass();
        s = m->chip()->state();
        QCOMPARE(int(s.crop[3].used), 0);
        QCOMPARE(int(s.window[1].source), int(C331_NO_SOURCE));
        QCOMPARE(int(s.window[1].on), 1);
        QCOMPARE(int(s.test_pattern), 0);

        // an update byte with no image change still refreshes, writing nothing
        const u32 writes = s.reg_writes;
        edit([](QelRamPara *) {});
        m->pass();
        QCOMPARE(m->chip()->state().reg_writes, writes);
        QCOMPARE(spy.count(), 4);
    }

    void badDataFromOutside()
    {
        TestRoot root;
        c331_manage *m = up();
        edit([](QelRamPara *p) {
            putCrop(0, 0x8000 | 7, 1, 1, 10, 10);           // input 7
            putCrop(1, cropWord(2, 41), 1, 1, 10, 10);      // crop number 41
            putCrop(2, 0x0002, 1, 1, 10, 10);               // free
            putCrop(39, cropWord(5, 40), 4, 4, 20, 20);     // last valid one
            showCrop(0, 0);
            showCrop(1, 1);
            p->set_u16(Img::window(1, Img::W_ON), 1);
            showCrop(2, 2);
            showCrop(3, 45);                                // no such record
            showCrop(4, 39);
            p->ram_para[Img::window(5, Img::W_SOURCE)] = 9;  // no such input
            p->ram_para[Img::window(0, Img::W_MIRROR)] = 9;
            p->ram_para[Img::TEST_PATTERN] = 12;
            p->set_u16(Img::AUDIO_WINDOW, 0xFFFF);
            p->ram_para[Img::BRIGHTNESS] = 250;
            p->set_u16(Img::SATURATION, 0x1234);
            p->set_u16(Img::COLOR_TEMP, 7);
            p->set_u16(Img::GAIN_G, 300);
            p->set_u16(Img::window(2, Img::W_P2P_SPLICE), 5);
            p->set_u16(Img::window(2, Img::W_FLAGS), 0x100);
        });
        m->pass();
        const C331_STATE s = m->chip()->state();
        QCOMPARE(int(s.crop[0].used), 0);
        QCOMPARE(int(s.crop[1].used), 0);
        QCOMPARE(int(s.crop[2].used), 0);
        QCOMPARE(int(s.crop[39].used), 1);
        QCOMPARE(int(s.crop[39].number), 40);
        for (int w : {0, 1, 2, 3, 5}) {
            QCOMPARE(int(s.window[w].source), int(C331_NO_SOURCE));
            QCOMPARE(int(s.window[w].crop), int(C331_NO_SOURCE));
            QCOMPARE(int(s.window[w].crop_w), 0);
        }
        QCOMPARE(int(s.window[1].on), 1);
        QCOMPARE(int(s.window[4].source), 5);
        QCOMPARE(int(s.window[4].crop_w), 20);
        QCOMPARE(int(s.window[0].mirror), 0);
        QCOMPARE(int(s.window[2].p2p), 1);
        QCOMPARE(int(s.window[2].p2p_splice), 0);
        QCOMPARE(int(s.test_pattern), 0);
        QCOMPARE(int(s.audio_window), int(C331_NO_SOURCE));
        QCOMPARE(int(s.brightness), 100);
        QCOMPARE(int(s.saturation), 100);
        QCOMPARE(int(s.color_temp), 0);
        QCOMPARE(int(s.gain_g), 128);
    }

    void ledHandOverNeverBlocks()
    {
        TestRoot root;
        c331_manage *m = up();
        QSignalSpy spy(ram(), &QelRamPara::sig_update_para);
        const u32 inits = m->chip()->state().panel_inits;

        // the output screen's Apply with both FPGAs running
        edit([](QelRamPara *p) {
            p->set_u16(Img::SPLICE_MODE, 3);
            p->set_u16(Img::CANVAS_W, 3840);
            p->set_u16(Img::OUT1_W, 1920);
            p->set_u16(Img::OUT2_X, 1920);
            p->set_u16(Img::OUT2_W, 1920);
            p->set_u16(Img::window(0, Img::W_W), 3840);
            std::lock_guard<std::mutex> led(Utils::_led_para_init_mutex);
            g_set_led_para = 1;
            g_set_led_setup = 0;
        });
        m->pass();
        C331_STATE s = m->chip()->state();
        QCOMPARE(s.panel_inits, inits);
        QCOMPARE(int(s.canvas_w), 1920);
        QCOMPARE(int(s.out2_x), 0);
        QCOMPARE(int(s.window[0].w), 3840);   // the rest is applied at once
        QCOMPARE(int(g_set_led_para), 1);
        QCOMPARE(int(c331_manage::para_update), 0);
        QCOMPARE(spy.count(), 1);

        // still set up by the FPGA manager: later passes look again, no waiting
        for (int i = 0; i < 3; ++i)
            m->pass();
        edit([](QelRamPara *p) { p->ram_para[Img::CONTRAST] = 20; });
        m->pass();
        s = m->chip()->state();
        QCOMPARE(s.panel_inits, inits);
        QCOMPARE(int(s.contrast), 20);
        QCOMPARE(int(g_set_led_para), 1);

        // the FPGA manager is done: the next pass re-initialises, no new refresh
        {
            std::lock_guard<std::mutex> led(Utils::_led_para_init_mutex);
            g_set_led_para = 0;
        }
        m->pass();
        s = m->chip()->state();
        QCOMPARE(s.panel_inits, inits + 1);
        QCOMPARE(int(s.splice_mode), 3);
        QCOMPARE(int(s.canvas_w), 3840);
        QCOMPARE(int(s.out1_w), 1920);
        QCOMPARE(int(s.out2_x), 1920);
        QCOMPARE(int(g_set_led_para), 2);
        QCOMPARE(spy.count(), 2);
        m->pass();
        QCOMPARE(m->chip()->state().panel_inits, inits + 1);

        // FPGAs not running: no request pending, the panel follows at once
        g_set_led_para = 0;
        edit([](QelRamPara *p) { p->set_u16(Img::OUT1_H, 720); });
        m->pass();
        s = m->chip()->state();
        QCOMPARE(s.panel_inits, inits + 2);
        QCOMPARE(int(s.out1_h), 720);
        QCOMPARE(int(g_set_led_para), 2);

        // a change taken back before the set-up ends needs no re-init
        g_set_led_para = 1;
        edit([](QelRamPara *p) { p->set_u16(Img::CANVAS_H, 2160); });
        m->pass();
        edit([](QelRamPara *p) { p->set_u16(Img::CANVAS_H, 1080); });
        m->pass();
        g_set_led_para = 0;
        m->pass();
        QCOMPARE(m->chip()->state().panel_inits, inits + 2);
        QCOMPARE(int(g_set_led_para), 0);
    }

    void edidRewriteForEveryChangedInput()
    {
        TestRoot root;
        c331_manage *m = up();
        auto setEdid = [](int slot, int w, int h, int rate) {
            const int o = Img::EDID_RECORD + Img::EDID_RECORD_SIZE * slot;
            ram()->set_u16(o, u16(w));
            ram()->set_u16(o + 2, u16(h));
            ram()->set_u16(o + 4, u16(rate));
        };

        // no input-source manager yet: nothing to flag, nothing breaks
        edit([&](QelRamPara *) { setEdid(2, 1280, 720, 60); });
        m->pass();
        QCOMPARE(int(c331_manage::para_update), 0);

        tavixsource *src = tavixsource::pInstance();
        auto flags = [src] {
            QString f;
            for (int i = 0; i < 6; ++i)
                f += QString::number(src->set_edid_flag[i].load());
            return f;
        };
        for (int i = 0; i < 6; ++i)
            src->edid_written_flag[i] = 1;
        edit([&](QelRamPara *) {
            setEdid(1, 1280, 720, 60);
            setEdid(3, 1920, 1200, 60);
            setEdid(5, 3840, 2160, 30);   // rate only
        });
        m->pass();
        QCOMPARE(flags(), QStringLiteral("010101"));
        QCOMPARE(int(src->edid_written_flag[1]), 0);
        QCOMPARE(int(src->edid_written_flag[5]), 0);
        QCOMPARE(int(src->edid_written_flag[0]), 1);

        // a PC-loaded table is rebuilt with any EDID change, not with others
        for (int i = 0; i < 6; ++i)
            src->set_edid_flag[i] = 0;
        src->pc_edid_loaded[4] = 1;
        edit([](QelRamPara *p) { p->ram_para[Img::BRIGHTNESS] = 10; });
        m->pass();
        QCOMPARE(flags(), QStringLiteral("000000"));
        edit([&](QelRamPara *) { setEdid(0, 1024, 768, 60); });
        m->pass();
        QCOMPARE(flags(), QStringLiteral("100010"));
    }

    void osdFollowsTheSwitch()
    {
        TestRoot root;
        root.write("/data/configs/omenu.json",
                   R"({"osdcount": 2, "osdlist": [ {"x": 12, "fontw": 32, "back_color": "0x0000FF",
                       "font_color": "0xFFFFFF", "texts": "Hello"}, {"y": 7, "texts": "two"} ]})");
        c331_manage *m = up();
        QCOMPARE(m->chip()->state().osd_count, 0);

        edit([](QelRamPara *p) { p->set_u16(Img::OSD_ON, 1); });
        m->pass();
        C331_STATE s = m->chip()->state();
        QCOMPARE(int(s.osd_on), 1);
        QCOMPARE(s.osd_count, 2);
        QCOMPARE(s.osd[0].x, 12);
        QCOMPARE(s.osd[0].fontw, 32);
        QCOMPARE(s.osd[0].back_color, 0x0000FFu);
        QCOMPARE(s.osd[0].font_color, 0xFFFFFFu);
        QCOMPARE(s.osd[0].texts, QStringLiteral("Hello"));
        QCOMPARE(s.osd[1].y, 7);

        edit([](QelRamPara *p) { p->set_u16(Img::OSD_ON, 0); });
        m->pass();
        s = m->chip()->state();
        QCOMPARE(int(s.osd_on), 0);
        QCOMPARE(s.osd_count, 0);
        QCOMPARE(s.osd[0].texts, QString());

        // a broken menu file shows nothing and is removed
        root.write("/data/configs/omenu.json", "{\"osdcount\": ");
        edit([](QelRamPara *p) { p->set_u16(Img::OSD_ON, 1); });
        m->pass();
        s = m->chip()->state();
        QCOMPARE(int(s.osd_on), 1);
        QCOMPARE(s.osd_count, 0);
        QVERIFY(!root.exists("/data/configs/omenu.json"));
    }

    void threadAppliesWhileAnotherThreadWrites()
    {
        TestRoot root;
        QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        m->start();
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
        for (int i = 0; i < 200 && c331_manage::para_update.load() != 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QCOMPARE(int(c331_manage::para_update), 0);
        m->stop();
        const C331_STATE s = m->chip()->state();
        QCOMPARE(int(s.brightness), 200 % 101);
        QCOMPARE(int(s.window[2].x), 200);
        QCOMPARE(int(s.window[2].on), 0);
        m->start();   // restartable, and destroyInstance joins it
    }
};

QTEST_GUILESS_MAIN(TestC331Manage)
#include "test_c331_manage.moc"
