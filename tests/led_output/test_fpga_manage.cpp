#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <functional>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_recovery_file.h"
#include "tests/support/testenv.h"
#include "ui/shell/screens.h"

namespace {
const char *kSim = R"({"fpgas":[{"state":3,"version":[3,17,5,24]},{"state":3,"version":[12,1,11,25]}]})";

struct Progress
{
    int value;
    u16 word;    // job word when it was reported
    u32 tick;
};

// A manager stepped by hand, with what it reports.
struct Wall
{
    TestRoot root;
    fpga_manage *m = nullptr;
    QList<Progress> progress;
    QList<int> codes;
    QStringList events;   // result hand-overs and refresh codes, in order

    Wall()
    {
        root.writeSim(kSim);
        QelRamPara::pInstance();
        m = fpga_manage::pInstance();
        QObject::connect(m, &fpga_manage::sig_job_progress, [this](int, int v) {
            progress.append({v, g_send_para.word.load(), G_timeTicks.load()});
        });
        QObject::connect(m, &fpga_manage::sig_recovery_result, [this](const QStringList &e, int n) {
            events.append(QStringLiteral("result %1 %2").arg(n).arg(e.join(QLatin1Char(','))));
        });
        QObject::connect(QelRamPara::p_qelrampara_config, &QelRamPara::sig_update_para, [this](int c) {
            codes.append(c);
            events.append(QStringLiteral("code %1").arg(c));
        });
    }
    ~Wall()
    {
        fpga_manage::destroyInstance();
        QelRamPara::destroyInstance();
    }
    fpga_drv *f(int i) const { return m->fpga(i); }

    // passes, `ticks` apart, until the job word is 0 and 100 was reported
    bool runJob(u32 ticks = 10, int maxPasses = 20000)
    {
        progress.clear();
        for (int i = 0; i < maxPasses; ++i) {
            m->pass();
            if (!progress.isEmpty() && progress.last().value == 100)
                return true;
            TestEnv::advanceTicks(ticks);
        }
        return false;
    }
    QList<int> values() const
    {
        QList<int> v;
        for (const Progress &p : progress)
            v.append(p.value);
        return v;
    }
    void setLine(u8 port, u8 rows, u8 cols, u8 routing, u16 w = 128, u16 h = 96, u16 hoff = 0, u16 voff = 0)
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        line_type = LINE_TYPE{w, h, hoff, voff, port, rows, cols, routing};
    }
};

// the progress ends with 100 after the job word was cleared, below it 0..99 rising
void checkProgress(const QList<Progress> &p)
{
    QVERIFY(!p.isEmpty());
    QCOMPARE(p.last().value, 100);
    QCOMPARE(int(p.last().word), 0);
    for (int i = 0; i + 1 < p.size(); ++i) {
        QVERIFY(p[i].value >= 0 && p[i].value <= 99);
        QVERIFY(p[i].word != 0);
        if (i > 0)
            QVERIFY(p[i].value > p[i - 1].value);
    }
}

QByteArray recoveryFile(u8 port, int cards, u8 seed)
{
    QByteArray d("QRCV");
    d.append(char(1));
    d.append(char(1));
    d.append(char(port));
    d.append(char(0));
    d.append(char(cards & 0xFF));
    d.append(char(cards >> 8));
    for (int c = 0; c < cards; ++c)
        d.append(QByteArray(rcv_card::PARA_SIZE, char(seed + c)));
    return d;
}
}

class TestFpgaManage : public QObject
{
    Q_OBJECT

private slots:
    void routingPatternsPlaceCardsAsNamed()
    {
        // 2 rows x 3 columns tell all sixteen orders apart; "row,col" per index
        const char *expected[16] = {
            "1,2 1,1 1,0 0,0 0,1 0,2", "1,0 1,1 1,2 0,2 0,1 0,0", "0,2 0,1 0,0 1,0 1,1 1,2",
            "0,0 0,1 0,2 1,2 1,1 1,0", "1,2 0,2 0,1 1,1 1,0 0,0", "0,2 1,2 1,1 0,1 0,0 1,0",
            "0,0 1,0 1,1 0,1 0,2 1,2", "1,0 0,0 0,1 1,1 1,2 0,2", "1,2 1,1 1,0 0,2 0,1 0,0",
            "0,0 0,1 0,2 1,0 1,1 1,2", "1,0 1,1 1,2 0,0 0,1 0,2", "0,2 0,1 0,0 1,2 1,1 1,0",
            "1,2 0,2 1,1 0,1 1,0 0,0", "0,0 1,0 0,1 1,1 0,2 1,2", "1,0 0,0 1,1 0,1 1,2 0,2",
            "0,2 1,2 0,1 1,1 0,0 1,0"};
        for (int p = 1; p <= 16; ++p) {
            LINE_TYPE line{10, 100, 0, 0, 0, 2, 3, u8(p)};
            QStringList got;
            for (int i = 0; i < 6; ++i) {
                u16 x = 0, y = 0;
                QVERIFY(fpga_manage::rcvcard_x_y(line, i, &x, &y));
                got << QStringLiteral("%1,%2").arg(y / 100).arg(x / 10);
            }
            QCOMPARE(got.join(QLatin1Char(' ')), QString::fromLatin1(expected[p - 1]));
            u16 x, y;
            QVERIFY(!fpga_manage::rcvcard_x_y(line, 6, &x, &y));   // past rows x columns
        }
        u16 x, y;
        QVERIFY(!fpga_manage::rcvcard_x_y(LINE_TYPE{10, 10, 0, 0, 0, 2, 3, 0}, 0, &x, &y));
        QVERIFY(!fpga_manage::rcvcard_x_y(LINE_TYPE{10, 10, 0, 0, 0, 2, 3, 17}, 0, &x, &y));
        QVERIFY(!fpga_manage::rcvcard_x_y(LINE_TYPE{10, 10, 0, 0, 0, 0, 3, 1}, 0, &x, &y));
        QVERIFY(!fpga_manage::rcvcard_x_y(LINE_TYPE{10, 10, 0, 0, 0, 2, 0, 1}, 0, &x, &y));
    }

    void registersMirrorsAndPortWatcher()
    {
        Wall w;
        fpga_manage *m = w.m;
        QCOMPARE(int(m->MCU_REG_func[0][80]), 3);
        QCOMPARE(int(m->MCU_REG_func[0][28]), 0x03);
        QCOMPARE(int(m->MCU_REG_func[0][29]), 0x17);
        QCOMPARE(int(m->MCU_REG_func[0][30]), 0x05);
        QCOMPARE(int(m->MCU_REG_func[0][31]), 0x24);
        QCOMPARE(int(m->MCU_REG_func[1][28]), 0x12);
        QCOMPARE(int(m->MCU_REG_func[1][31]), 0x25);

        u16 x, y, wd, h;
        const int offs[16] = {8, 19, 32, 43, 520, 528, 536, 544, 576, 584, 592, 600, 608, 616, 624, 632};
        for (int k = 0; k < 16; ++k) {
            QCOMPARE(fpga_manage::get_eth_param_addr(k, &x, &y, &wd, &h), 0);
            QCOMPARE(int(x), offs[k]);
            QCOMPARE(int(h), offs[k] + 6);
        }
        fpga_manage::get_eth_param_addr(99, &x, &y, &wd, &h);
        QCOMPARE(int(x), 8);

        // masked write, and reads outside the mirrored range are ignored
        w.f(1)->set_register(0, 0x15);
        m->write_to_register(0, 0x80, 0x80, 1);
        QCOMPARE(int(w.f(1)->peek_register(0)), 0x95);
        QCOMPARE(int(m->MCU_REG_func[1][0]), 0x95);
        m->write_to_register(0, 0x80, 0x00, 1);
        QCOMPARE(int(m->MCU_REG_func[1][0]), 0x15);
        w.f(0)->set_register(100, 7);
        w.f(0)->set_register(170, 9);
        m->read_from_register(100, 0);
        m->read_from_register(170, 0);
        QCOMPARE(int(m->MCU_REG_func[0][100]), 0);
        QCOMPARE(int(m->MCU_REG_func[0][170]), 9);

        // links: FPGA 0 port 10 (register 144 bit 1), FPGA 1 port 1 = output port 13
        m->pass();
        QVERIFY(w.codes.isEmpty());
        w.f(0)->set_card_count(9, 2);
        w.f(1)->set_link(0, true);
        m->pass();
        QCOMPARE(w.codes, QList<int>{11});
        QCOMPARE(int(w.f(0)->peek_register(144)), 0x02);
        m->pass();
        QCOMPARE(w.codes.size(), 1);
        QCOMPARE(m->get_wlan_state(), (1u << 9) | (1u << 12));
        // an FPGA that stops running takes its links with it
        w.f(1)->set_state(0);
        m->pass();
        QCOMPARE(w.codes, (QList<int>{11, 11}));
        QCOMPARE(m->get_wlan_state(), 1u << 9);
    }

    void smartMappingPlacesEveryCard()
    {
        Wall w;
        // port 15 is FPGA 1, port 2; five cards on a 2 x 2 block: the fifth has no place
        w.f(1)->set_card_count(2, 5);
        w.setLine(14, 2, 2, 12, 128, 96, 1000, 50);
        QVERIFY(fpga_manage::post_job(JOB_SMART_MAPPING));
        QVERIFY(w.runJob());
        const int want[4][2] = {{1128, 50}, {1000, 50}, {1128, 146}, {1000, 146}};
        for (int c = 0; c < 4; ++c) {
            const rcv_card card = w.f(1)->card(2, c);
            QCOMPARE(int(card.position_x()), want[c][0]);
            QCOMPARE(int(card.position_y()), want[c][1]);
            QCOMPARE(card.ram_writes, 1u);
        }
        QCOMPARE(w.f(1)->card(2, 4).ram_writes, 0u);
        checkProgress(w.progress);
        QVERIFY(w.values().contains(90));
        const Progress ninety = w.progress.at(w.values().indexOf(90));
        QVERIFY(w.progress.last().tick - ninety.tick >= fpga_manage::END_WAIT_TICKS);
        QVERIFY(w.progress.last().tick - ninety.tick < fpga_manage::END_WAIT_TICKS + 20);

        // nothing to place: no rows, a pattern out of range, a port without cards
        for (int bad = 0; bad < 3; ++bad) {
            w.progress.clear();
            if (bad == 0)
                w.setLine(14, 0, 2, 1);
            else if (bad == 1)
                w.setLine(14, 2, 2, 17);
            else
                w.setLine(3, 2, 2, 1);
            QVERIFY(fpga_manage::post_job(JOB_SMART_MAPPING));
            QVERIFY(w.runJob(10, 3));
            checkProgress(w.progress);
            QCOMPARE(w.f(1)->card(2, 0).ram_writes, 1u);
        }
    }

    void silentAndLateCardsAreWaitedForOneByOne()
    {
        Wall w;
        // card 0 answers late, card 1 never, card 2 at once
        w.f(0)->set_card_count(4, 3);
        w.f(0)->set_card_reply(4, 0, RcvReply::Late);
        w.f(0)->set_card_reply(4, 1, RcvReply::Never);
        w.setLine(4, 1, 3, 10, 64, 64);
        const u32 start = G_timeTicks.load();
        QVERIFY(fpga_manage::post_job(JOB_SMART_MAPPING));
        QVERIFY(w.runJob(10));
        for (int c = 0; c < 3; ++c)
            QCOMPARE(int(w.f(0)->card(4, c).position_x()), 64 * c);
        // two full waits: card 0's late reply must not end card 1's wait
        const u32 took = w.progress.last().tick - start;
        QVERIFY2(took >= 2 * fpga_manage::CARD_REPLY_TICKS + fpga_manage::END_WAIT_TICKS, qPrintable(QString::number(took)));
        QVERIFY(took < 2 * fpga_manage::CARD_REPLY_TICKS + fpga_manage::END_WAIT_TICKS + 60);
        checkProgress(w.progress);
    }

    void loadScanSaveAndMappingJobs()
    {
        Wall w;
        w.f(0)->set_card_count(0, 2);
        w.f(0)->set_card_count(5, 1);
        w.f(0)->set_card_reply(5, 0, RcvReply::Never);
        w.f(1)->set_card_count(1, 1);

        // job 2: a 600-byte scan file reaches both cards of LED1
        QByteArray scan;
        for (int i = 0; i < 600; ++i)
            scan.append(char(i * 7));
        w.root.write(QStringLiteral("/data/smartmapping/a.qlfile"), scan);
        w.root.write(QStringLiteral("/data/configs/secret"), "secret");
        w.setLine(0, 1, 1, 1);
        {
            std::lock_guard<std::mutex> lock(g_line_type_mutex);
            g_qlfile_name = QStringLiteral("/data/smartmapping/a.qlfile");
        }
        QVERIFY(fpga_manage::post_job(JOB_LOAD_FROM_USB));
        QVERIFY(w.runJob());
        checkProgress(w.progress);
        for (int c = 0; c < 2; ++c) {
            QCOMPARE(w.f(0)->card(0, c).scan, scan);
            QCOMPARE(w.f(0)->card(0, c).scan_loads, 1u);
        }
        // names that leave the scan folders load nothing but still end the job
        QVERIFY(QFile::link(w.root.file(QStringLiteral("/data/configs/secret")),
                            w.root.file(QStringLiteral("/data/smartmapping/link.qlfile"))));
        const QStringList refused = {QStringLiteral("/data/configs/secret"),
                                     QStringLiteral("/data/smartmapping/../configs/secret"),
                                     QStringLiteral("/data/smartmapping/link.qlfile"),
                                     QStringLiteral("/data/smartmapping/missing.qlfile"), QString()};
        for (const QString &name : refused) {
            w.progress.clear();
            {
                std::lock_guard<std::mutex> lock(g_line_type_mutex);
                g_qlfile_name = name;
            }
            QVERIFY(fpga_manage::post_job(JOB_LOAD_FROM_USB));
            QVERIFY(w.runJob(10, 3));
            checkProgress(w.progress);
            QCOMPARE(w.f(0)->card(0, 0).scan_chunks, 3u);
        }

        // job 3: every card of every port saves; the silent card costs one wait
        w.progress.clear();
        const u32 start = G_timeTicks.load();
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        QVERIFY(w.runJob());
        checkProgress(w.progress);
        QCOMPARE(w.progress.at(w.progress.size() - 2).value, 95);
        QCOMPARE(w.f(0)->card(0, 0).saves, 1u);
        QCOMPARE(w.f(0)->card(0, 1).saves, 1u);
        QCOMPARE(w.f(0)->card(5, 0).saves, 1u);
        QCOMPARE(w.f(1)->card(1, 0).saves, 1u);
        QVERIFY(w.progress.last().tick - start >= fpga_manage::CARD_REPLY_TICKS + fpga_manage::END_WAIT_TICKS);

        // job 4: the argument's low byte into every card's mapping register
        for (u32 arg : {0x109u, 0u}) {
            w.progress.clear();
            g_send_para.arg = arg;
            QVERIFY(fpga_manage::post_job(JOB_MAPPING_ENABLE));
            QVERIFY(w.runJob());
            checkProgress(w.progress);
            for (int c = 0; c < 2; ++c)
                QCOMPARE(int(w.f(0)->card(0, c).regs[rcv_card::REG_MAPPING]), int(arg & 0xFF));
            QCOMPARE(int(w.f(1)->card(1, 0).regs[rcv_card::REG_MAPPING]), int(arg & 0xFF));
            QCOMPARE(w.f(1)->card(1, 0).register_writes, arg ? 1u : 2u);
        }
    }

    void checkAndSelfRecovery()
    {
        Wall w;
        QVERIFY(w.m->rcv_recovery);
        QCOMPARE(w.m->rcv_recovery->get_dir_file(QStringLiteral("/data/rcvrecovery")), 1);
        // screen 1 holds LED2 (nothing wrong); screen 2 holds LED3 with four cards
        w.root.write(QStringLiteral("/data/rcvrecovery/a_screen"), recoveryFile(1, 1, 0x10));
        w.root.write(QStringLiteral("/data/rcvrecovery/b_screen"), recoveryFile(2, 4, 0x40));
        w.root.write(QStringLiteral("/data/rcvrecovery/c_broken"), "QRCV\x01\x01\x02");
        w.f(0)->set_card_count(1, 1);
        w.f(0)->set_card_count(2, 6);
        w.f(0)->set_needs_recovery(2, 2, true);
        w.m->pass();   // the port watcher sees the new links
        w.events.clear();

        QVERIFY(fpga_manage::post_job(JOB_CHECK_CARDS));
        QVERIFY(w.runJob());
        checkProgress(w.progress);
        QCOMPARE(w.events, (QStringList{QStringLiteral("result 1 02/03/03/04"), QStringLiteral("code 1")}));
        QCOMPARE(int(g_send_para.recovery_counter), 2);
        QCOMPARE(w.m->rcv_recovery->recovery_file_count(), 3);
        QStringList entries;
        int count = -1;
        w.m->recovery_result(&entries, &count);
        QCOMPARE(count, 1);
        QCOMPARE(entries, QStringList{QStringLiteral("02/03/03/04")});

        // self-recovery writes card 3's stored block, then finds nothing more;
        // a file arriving in between does not shift which data is used
        w.root.write(QStringLiteral("/data/rcvrecovery/0_new"), recoveryFile(2, 4, 0x70));
        w.events.clear();
        w.progress.clear();
        g_send_para.sub_step = 16;
        QVERIFY(fpga_manage::post_job(JOB_SELF_RECOVERY));
        QVERIFY(w.runJob());
        checkProgress(w.progress);
        const rcv_card fixed = w.f(0)->card(2, 2);
        QCOMPARE(fixed.recovery_writes, 1u);
        QVERIFY(!fixed.needs_recovery);
        QCOMPARE(fixed.ram.left(rcv_card::PARA_SIZE), QByteArray(rcv_card::PARA_SIZE, char(0x42)));
        QCOMPARE(w.events, (QStringList{QStringLiteral("result 0 "), QStringLiteral("code 99")}));
        QCOMPARE(int(g_send_para.recovery_counter), 65535);
        QCOMPARE(int(g_send_para.sub_step), 0);

        // a card past the stored count is reported but cannot be restored
        w.f(0)->set_needs_recovery(2, 5, true);
        w.events.clear();
        QVERIFY(fpga_manage::post_job(JOB_CHECK_CARDS));
        QVERIFY(w.runJob());
        QCOMPARE(w.events, (QStringList{QStringLiteral("result 1 01/03/06/04"), QStringLiteral("code 1")}));
        w.events.clear();
        QVERIFY(fpga_manage::post_job(JOB_SELF_RECOVERY));
        QVERIFY(w.runJob());
        QCOMPARE(w.f(0)->card(2, 5).recovery_writes, 0u);
        QCOMPARE(w.events, (QStringList{QStringLiteral("result 1 01/03/06/04"), QStringLiteral("code 1")}));

        // a check that finds nothing leaves no entry and raises nothing
        w.f(0)->set_needs_recovery(2, 5, false);
        w.events.clear();
        QVERIFY(fpga_manage::post_job(JOB_CHECK_CARDS));
        QVERIFY(w.runJob());
        QVERIFY(w.events.isEmpty());
        w.m->recovery_result(&entries, &count);
        QCOMPARE(count, 0);

        // FPGAs not running: 100 at once, the refresh 100 ticks later
        w.f(1)->set_state(0);
        w.m->pass();
        w.codes.clear();
        w.progress.clear();
        QVERIFY(fpga_manage::post_job(JOB_CHECK_CARDS));
        w.m->pass();
        QCOMPARE(w.values(), (QList<int>{0, 100}));
        QCOMPARE(int(w.progress.last().word), 0);
        TestEnv::advanceTicks(99);
        w.m->pass();
        QVERIFY(w.codes.isEmpty());
        TestEnv::advanceTicks(1);
        w.m->pass();
        QCOMPARE(w.codes, QList<int>{1});
    }

    void postingRefusals()
    {
        TestRoot root;
        root.writeSim(kSim);
        QVERIFY(!fpga_manage::post_job(JOB_SAVE_PARA));   // no manager yet
        QVERIFY(!fpga_manage::start_usb_upgrade());
        fpga_manage *m = fpga_manage::pInstance();
        m->fpga(0)->set_card_count(0, 1);
        m->fpga(0)->set_card_reply(0, 0, RcvReply::Never);
        QVERIFY(!fpga_manage::post_job(0));
        QVERIFY(!fpga_manage::post_job(7));

        // a progress ring on the screen
        int ring = 0;
        g_qround_bar = reinterpret_cast<QRoundProgressBar *>(&ring);
        QVERIFY(!fpga_manage::post_job(JOB_SAVE_PARA));
        g_qround_bar = nullptr;

        // an upgrade running
        QVERIFY(fpga_manage::start_usb_upgrade());
        QCOMPARE(g_usb_grade.load(), 1);
        QVERIFY(!fpga_manage::start_usb_upgrade());
        QVERIFY(!fpga_manage::post_job(JOB_SAVE_PARA));
        g_usb_grade = 0;

        // a job running
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        QCOMPARE(int(g_send_para.word.load()), 3);
        m->pass();
        QVERIFY(!fpga_manage::post_job(JOB_CHECK_CARDS));
        QVERIFY(!fpga_manage::start_usb_upgrade());
        QCOMPARE(g_usb_grade.load(), 0);
        QCOMPARE(int(g_send_para.job()), 3);
        fpga_manage::destroyInstance();
    }

    void ledHandOverRunsBesideALongJob()
    {
        Wall w;
        w.f(0)->set_card_count(0, 1);
        w.f(0)->set_card_reply(0, 0, RcvReply::Never);
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        w.m->pass();
        w.f(1)->set_port_area(5, 100, 200, 300, 400);
        {
            std::lock_guard<std::mutex> lock(Utils::_led_para_init_mutex);
            g_set_led_para = 1;
            g_set_led_setup = 0;
        }
        const u32 t0 = G_timeTicks.load();
        u32 at1 = 0, at2 = 0, cleared = 0;
        for (int i = 0; i < 200 && !cleared; ++i) {
            w.m->pass();
            const u32 t = G_timeTicks.load() - t0;
            if (g_set_led_setup == 1 && !at1) {
                at1 = t;
                QCOMPARE(int(w.f(0)->peek_register(fpga_drv::REG_OUTPUT) & 1), 1);
                QCOMPARE(int(w.f(1)->peek_register(fpga_drv::REG_OUTPUT) & 1), 1);
            }
            if (g_set_led_setup == 2 && !at2)
                at2 = t;
            if (at2 && g_set_led_para == 0)
                cleared = t;
            TestEnv::advanceTicks(1);
        }
        QCOMPARE(at1, 11u);
        QCOMPARE(at2, 42u);
        QVERIFY(cleared > at2);
        QCOMPARE(int(g_set_led_setup), 0);
        QCOMPARE(int(w.f(0)->peek_register(fpga_drv::REG_OUTPUT) & 1), 0);
        QCOMPARE(int(g_send_para.job()), 3);   // the job went on waiting for its card
        // the new output areas are read back after the set-up
        u16 x, y, wd, h;
        fpga_manage::get_eth_param_addr(5, &x, &y, &wd, &h);
        QCOMPARE(int(w.m->MCU_RAM_PARA_func[1][y] | w.m->MCU_RAM_PARA_func[1][y + 1] << 8), 200);
        QCOMPARE(int(w.m->geometry_mirror(1, h)), 400);

        // the scaler's 2: both flags clear and both FPGAs are reset, during an upgrade too
        g_usb_grade = 1;
        g_send_para.clear();
        g_send_para.set_state(3);
        g_set_led_para = 2;
        g_set_led_setup = 1;
        w.m->pass();
        QCOMPARE(int(g_set_led_para), 0);
        QCOMPARE(int(g_set_led_setup), 0);
        QCOMPARE(w.f(0)->reset_count(), 1u);
        QCOMPARE(w.f(1)->reset_count(), 1u);
        QCOMPARE(g_usb_grade.load(), 0);   // that pass also ended the (empty) upgrade
    }

    void usbUpgradeInstallsTheChosenPackagesOnly()
    {
        Wall w;
        QSignalSpy start(w.m, &fpga_manage::sig_update_start);
        QSignalSpy over(w.m, &fpga_manage::sig_update_over);
        const QString odd = QStringLiteral("my pkg; $(touch pwned) `touch pwned2` & rm -rf x.QELZK");
        const QStringList names = {QStringLiteral("b.QEL"), QStringLiteral("a.QEL"), QStringLiteral("c.QELZK"),
                                   QStringLiteral("d.qel"), QStringLiteral("e.QELzk"), QStringLiteral("f.QELZK.txt"),
                                   QStringLiteral("QEL"), odd};
        for (const QString &n : names)
            w.root.write(QStringLiteral("/mnt/usb1/up/") + n, n.toUtf8() + " body");
        w.root.write(QStringLiteral("/data/configs/victim"), "keep");
        QVERIFY(QFile::link(w.root.file(QStringLiteral("/mnt/usb1/up/a.QEL")),
                            w.root.file(QStringLiteral("/mnt/usb1/up/0.QEL"))));
        QVERIFY(QFile::link(w.root.file(QStringLiteral("/data/configs/victim")),
                            w.root.file(QStringLiteral("/mnt/usb1/up/l.QELZK"))));
        QDir().mkpath(w.root.file(QStringLiteral("/mnt/usb1/up/dir.QELZK")));
        // an old link where a package lands must not be written through
        QDir().mkpath(w.root.file(QStringLiteral("/data/app")));
        QVERIFY(QFile::link(w.root.file(QStringLiteral("/data/configs/victim")),
                            w.root.file(QStringLiteral("/data/app/c.QELZK"))));
        g_usb_grade_path = QStringLiteral("up");

        QVERIFY(fpga_manage::start_usb_upgrade());
        for (int i = 0; i < 50 && g_usb_grade.load(); ++i)
            w.m->pass();
        QCOMPARE(g_usb_grade.load(), 0);
        QCOMPARE(int(g_update_flag), 0);
        QCOMPARE(int(g_send_para.word.load()), 0);
        QCOMPARE(start.count(), 1);
        QCOMPARE(over.count(), 1);
        QCOMPARE(w.codes, QList<int>{104});

        QStringList installed = QDir(w.root.file(QStringLiteral("/data/app"))).entryList(QDir::Files | QDir::System);
        installed.sort();
        QCOMPARE(installed, (QStringList{QStringLiteral("a.QEL"), QStringLiteral("c.QELZK"), odd}));
        QCOMPARE(w.root.read(QStringLiteral("/data/app/a.QEL")), QByteArray("a.QEL body"));
        QCOMPARE(w.root.read(QStringLiteral("/data/app/") + odd), odd.toUtf8() + " body");
        QVERIFY(!QFileInfo(w.root.file(QStringLiteral("/data/app/c.QELZK"))).isSymLink());
        QCOMPARE(w.root.read(QStringLiteral("/data/configs/victim")), QByteArray("keep"));
        QVERIFY(!w.root.exists(QStringLiteral("/pwned")));
        QVERIFY(!QFile::exists(QStringLiteral("pwned")));
        QCOMPARE(Utils::recordedCommands(), QStringList{QStringLiteral("reboot")});

        const QRegularExpression times(QStringLiteral("^(0|[1-9]\\d?):(0|[1-9]\\d?):(0|[1-9]\\d?)    "
                                                      "(0|[1-9]\\d?):(0|[1-9]\\d?):(0|[1-9]\\d?)$"));
        QVERIFY2(times.match(w.m->upgrade_times()).hasMatch(), qPrintable(w.m->upgrade_times()));
        QCOMPARE(w.m->usb_upgrade_times, w.m->upgrade_times());

        // a folder setting that climbs out of the stick lists nothing; the overlay
        // already shown is not asked for again
        Utils::clearRecordedCommands();
        w.codes.clear();
        QDir(w.root.file(QStringLiteral("/data/app"))).removeRecursively();
        w.root.write(QStringLiteral("/data/configs/z.QEL"), "x");
        g_usb_grade_path = QStringLiteral("../../data/configs");
        g_update_flag = 1;
        QVERIFY(fpga_manage::start_usb_upgrade());
        for (int i = 0; i < 50 && g_usb_grade.load(); ++i)
            w.m->pass();
        QCOMPARE(start.count(), 1);
        QCOMPARE(over.count(), 2);
        QCOMPARE(w.codes, QList<int>{104});
        QVERIFY(!w.root.exists(QStringLiteral("/data/app/z.QEL")));
        QVERIFY(Utils::recordedCommands().isEmpty());
    }

    void ageingSamples()
    {
        QVERIFY(!fpga_manage::ageing_tick());   // no manager
        Wall w;
        auto set = [&w](int f, u8 count, u8 status, u8 extra) {
            w.f(f)->set_register(42, count);
            w.f(f)->set_register(40, status);
            w.f(f)->set_register(43, extra);
        };
        set(0, 250, 0x1F, 7);
        set(1, 10, 3, 0);
        TestEnv::advanceTicks(17999);
        QVERIFY(!fpga_manage::ageing_tick());
        TestEnv::advanceTicks(1);
        fpga_manage::pc_command_pending = 1;
        QVERIFY(!fpga_manage::ageing_tick());
        fpga_manage::pc_command_pending = 0;
        w.f(1)->set_bus_fault(true);
        QVERIFY(!fpga_manage::ageing_tick());
        QCOMPARE(G_factoryage_ticks.load(), 0u);
        w.f(1)->set_bus_fault(false);
        QVERIFY(fpga_manage::ageing_tick());
        QCOMPARE(G_factoryage_ticks.load(), 18000u);
        QCOMPARE(factoryage_log.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d \\d\\d:\\d\\d 250 31 7 10 3 0$"))
                     .match(factoryage_log.last()).hasMatch(),
                 qPrintable(factoryage_log.last()));
        QCOMPARE(int(w.m->MCU_REG_func[0][42]), 250);
        const u32 none[5] = {factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                             factoryage_log_diffmore};
        for (u32 c : none)
            QCOMPARE(c, 0u);

        // 250 -> 3 is 9 (wraps), 10 -> 40 is 30; then 3 -> 7 is 4, 40 -> 52 is 12; then no change
        const int steps[3][2] = {{3, 40}, {7, 52}, {7, 52}};
        for (const auto &s : steps) {
            set(0, u8(s[0]), 0, 0);
            set(1, u8(s[1]), 0, 0);
            TestEnv::advanceTicks(18000);
            QVERIFY(fpga_manage::ageing_tick());
        }
        QCOMPARE(factoryage_log_diff3, 1u);
        QCOMPARE(factoryage_log_diff5, 1u);
        QCOMPARE(factoryage_log_diff10, 1u);
        QCOMPARE(factoryage_log_diff20, 0u);
        QCOMPARE(factoryage_log_diffmore, 0u);
        QCOMPARE(factoryage_log2_diff3, 1u);
        QCOMPARE(factoryage_log2_diff5, 0u);
        QCOMPARE(factoryage_log2_diff10, 0u);
        QCOMPARE(factoryage_log2_diff20, 1u);
        QCOMPARE(factoryage_log2_diffmore, 1u);

        // at most 3360 lines, the oldest goes first
        factoryage_log.clear();
        for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
            factoryage_log.append(QStringLiteral("L%1").arg(i));
        TestEnv::advanceTicks(18000);
        QVERIFY(fpga_manage::ageing_tick());
        QCOMPARE(factoryage_log.size(), fpga_manage::AGE_LOG_MAX);
        QCOMPARE(factoryage_log.first(), QStringLiteral("L1"));
        QVERIFY(factoryage_log.last().endsWith(QStringLiteral(" 7 0 0 52 0 0")));
    }
};

QTEST_GUILESS_MAIN(TestFpgaManage)
#include "test_fpga_manage.moc"
