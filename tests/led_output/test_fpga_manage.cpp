#include <algorithm>
#include <array>
#include <QtTest>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_recovery_file.h"
#include "tests/support/testenv.h"

namespace {
const char *kSim = R"({"fpgas":[{"state":3,"version":[3,17,5,24]},{"state":3,"version":[12,1,11,25]}]})";

// A manager stepped by hand, with what it reports.
struct Wall
{
    struct Progress { int value; u16 word; u32 tick; };
    TestRoot root;
    fpga_manage *m = nullptr;
    QList<Progress> progress;
    QList<int> values, codes;
    QStringList events;   // result hand-overs and refresh codes, in order

    Wall()
    {
        root.writeSim(kSim);
        QelRamPara::pInstance();
        m = fpga_manage::pInstance();
        QObject::connect(m, &fpga_manage::sig_job_progress, [this](int, int v) {
            progress.append({v, g_send_para.word.load(), G_timeTicks.load()});
            values.append(v);
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
    fpga_drv *f(int i) const { return m->fpga(i); }   // FPGA 1 for output ports 12..23

    // Posts the job and passes, 10 ticks apart, until it reports 100 (job word
    // cleared), below it 0..99 rising.
    void job(u8 code, int maxPasses = 20000)
    {
        progress.clear();
        values.clear();
        events.clear();
        QVERIFY(fpga_manage::post_job(code));
        for (int i = 0; i < maxPasses && !values.contains(100); ++i)
            if (m->pass(), !values.contains(100))
                TestEnv::advanceTicks(10);
        QCOMPARE(values.last(), 100);
        QCOMPARE(int(progress.last().word), 0);
        for (int i = 0; i + 1 < progress.size(); ++i) {
            QVERIFY(progress[i].value >= 0 && progress[i].value <= 99 && progress[i].word != 0);
            QVERIFY(i == 0 || progress[i].value > progress[i - 1].value);
        }
    }
    u32 took(u32 since) const { return progress.last().tick - since; }
    template <typename F>
    static void locked(F f)
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        f();
    }
    void setLine(u8 port, u8 rows, u8 cols, u8 routing, u16 w = 128, u16 h = 96, u16 hoff = 0, u16 voff = 0)
    {
        locked([=] { line_type = LINE_TYPE{w, h, hoff, voff, port, rows, cols, routing}; });
    }
};

QByteArray recoveryFile(int port, int cards, int seed) { return TestEnv::recoveryFile({{port, cards, seed}}); }
}

class TestFpgaManage : public QObject
{
    Q_OBJECT

private slots:
    void routingPatternsPlaceCardsAsNamed()
    {
        // 2 rows x 3 columns, one pattern per family and the two ends; "row,col" per index
        const QList<QPair<int, QString>> rows{
            {1, "1,2 1,1 1,0 0,0 0,1 0,2"}, {5, "1,2 0,2 0,1 1,1 1,0 0,0"}, {9, "1,2 1,1 1,0 0,2 0,1 0,0"},
            {12, "0,2 0,1 0,0 1,2 1,1 1,0"}, {13, "1,2 0,2 1,1 0,1 1,0 0,0"}, {16, "0,2 1,2 0,1 1,1 0,0 1,0"}};
        u16 x, y;
        for (const auto &row : rows) {
            LINE_TYPE line{10, 100, 0, 0, 0, 2, 3, u8(row.first)};
            QStringList got;
            for (int i = 0; i < 6; ++i) {
                QVERIFY(fpga_manage::rcvcard_x_y(line, i, &x, &y));
                got << QStringLiteral("%1,%2").arg(y / 100).arg(x / 10);
            }
            QCOMPARE(got.join(QLatin1Char(' ')), row.second);
            QVERIFY(!fpga_manage::rcvcard_x_y(line, 6, &x, &y));   // past rows x columns
        }
        // pattern 0 or 17, no rows, no columns
        for (const LINE_TYPE &bad : {LINE_TYPE{10, 10, 0, 0, 0, 2, 3, 0}, LINE_TYPE{10, 10, 0, 0, 0, 2, 3, 17},
                                     LINE_TYPE{10, 10, 0, 0, 0, 0, 3, 1}, LINE_TYPE{10, 10, 0, 0, 0, 2, 0, 1}})
            QVERIFY(!fpga_manage::rcvcard_x_y(bad, 0, &x, &y));
    }

    void registersMirrorsAndPortWatcher()
    {
        Wall w;
        fpga_manage *m = w.m;
        // masked write, and reads outside the mirrored range are ignored
        w.f(1)->set_register(0, 0x15);
        m->write_to_register(0, 0x80, 0x80, 1);
        QCOMPARE(int(w.f(1)->peek_register(0)) << 8 | m->MCU_REG_func[1][0], 0x9595);
        w.f(0)->set_register(100, 7);
        w.f(0)->set_register(170, 9);
        m->read_from_register(100, 0);
        m->read_from_register(170, 0);
        QCOMPARE(QList<int>({m->MCU_REG_func[0][100], m->MCU_REG_func[0][170]}), QList<int>({0, 9}));

        // links: FPGA 0 port 10 (register 144 bit 1), FPGA 1 port 1 = output port 13
        m->pass();
        QVERIFY(w.codes.isEmpty());
        w.f(0)->set_card_count(9, 2);
        w.f(1)->set_link(0, true);
        m->pass();
        m->pass();
        QCOMPARE(w.codes, QList<int>{11});   // once per change
        QCOMPARE(int(w.f(0)->peek_register(144)), 0x02);
        QCOMPARE(m->get_wlan_state(), (1u << 9) | (1u << 12));
        // an FPGA that stops running takes its links with it
        w.f(1)->set_state(0);
        m->pass();
        QCOMPARE(w.codes, (QList<int>{11, 11}));
        QCOMPARE(m->get_wlan_state(), 1u << 9);
    }

    void scanSaveAndSmartMappingJobs()
    {
        Wall w;
        w.f(0)->set_card_count(0, 2);

        // job 2: a 600-byte scan file reaches both cards of LED1; names that
        // leave the scan folders load nothing but still end the job
        QByteArray scan(600, 0);
        std::generate(scan.begin(), scan.end(), [i = 0]() mutable { return char(7 * i++); });
        w.root.write("/data/smartmapping/a.qlfile", scan);
        w.root.write("/data/configs/secret", "secret");
        QVERIFY(QFile::link(w.root.file("/data/configs/secret"), w.root.file("/data/smartmapping/link.qlfile")));
        w.setLine(0, 1, 1, 1);
        for (const char *name : {"/data/smartmapping/a.qlfile", "/data/configs/secret", "/data/smartmapping/../configs/secret",
                                 "/data/smartmapping/link.qlfile", "/data/smartmapping/missing.qlfile", ""}) {
            w.locked([name] { g_qlfile_name = QString::fromLatin1(name); });
            w.job(JOB_LOAD_FROM_USB, QByteArray(name).endsWith("/a.qlfile") ? 20000 : 3);
            for (int c = 0; c < 2; ++c)
                QVERIFY(w.f(0)->card(0, c).scan == scan && w.f(0)->card(0, c).scan_loads == 1u);
            QCOMPARE(w.f(0)->card(0, 0).scan_chunks, 3u);
        }

        // output port 15 (FPGA 1, port 2); five cards on a 2 x 2 block: the fifth has no place
        w.f(1)->set_card_count(2, 5);
        w.f(0)->set_card_count(4, 3);
        w.setLine(14, 2, 2, 12, 128, 96, 1000, 50);
        w.job(JOB_SMART_MAPPING);
        QStringList placed;
        for (int c = 0; c < 5; ++c)
            placed << QStringLiteral("%1,%2:%3").arg(w.f(1)->card(2, c).position_x()).arg(w.f(1)->card(2, c).position_y())
                          .arg(w.f(1)->card(2, c).ram_writes);
        QCOMPARE(placed.mid(0, 4).join(' '), QStringLiteral("1128,50:1 1000,50:1 1128,146:1 1000,146:1"));
        QVERIFY(placed[4].endsWith(":0") && w.f(0)->card(4, 0).ram_writes == 0u);   // other ports untouched
        w.setLine(3, 2, 2, 1);   // a port without cards: nothing to place, the job still ends
        w.job(JOB_SMART_MAPPING, 3);

        // card 0 answers late, card 1 never, card 2 at once: two full waits, as
        // card 0's late reply must not end card 1's wait
        w.f(0)->set_card_reply(4, 0, RcvReply::Late);
        w.f(0)->set_card_reply(4, 1, RcvReply::Never);
        w.setLine(4, 1, 3, 10, 64, 64);
        const u32 start = G_timeTicks.load();
        w.job(JOB_SMART_MAPPING);
        for (int c = 0; c < 3; ++c)
            QCOMPARE(int(w.f(0)->card(4, c).position_x()), 64 * c);
        const u32 least = 2 * fpga_manage::CARD_REPLY_TICKS + fpga_manage::END_WAIT_TICKS;
        QVERIFY2(w.took(start) >= least && w.took(start) < least + 60, qPrintable(QString::number(w.took(start))));
    }

    void checkAndSelfRecovery()
    {
        Wall w;
        QCOMPARE(w.m->rcv_recovery->get_dir_file("/data/rcvrecovery"), 1);
        // screen 1 holds LED2 (nothing wrong); screen 2 names LED3 twice: the
        // check reads the first section, and the restore takes its block too
        w.root.write("/data/rcvrecovery/a_screen", recoveryFile(1, 1, 0x10));
        QByteArray twice = recoveryFile(2, 4, 0x40);
        twice[5] = 2;
        w.root.write("/data/rcvrecovery/b_screen", twice + recoveryFile(2, 4, 0x70).mid(6));
        w.root.write("/data/rcvrecovery/c_broken", "QRCV\x01\x01\x02");
        w.f(0)->set_card_count(1, 1);
        w.f(0)->set_card_count(2, 6);
        w.f(0)->set_needs_recovery(2, 2, true);
        w.m->pass();   // the port watcher sees the new links

        w.job(JOB_CHECK_CARDS);
        QCOMPARE(w.events, (QStringList{"result 1 02/03/03/04", "code 1"}));
        QVERIFY(g_send_para.recovery_counter == 2 && w.m->rcv_recovery->recovery_file_count() == 3);

        // self-recovery writes card 3's stored block, then finds nothing more;
        // a file arriving in between does not shift which data is used
        w.root.write("/data/rcvrecovery/0_new", recoveryFile(2, 4, 0x70));
        g_send_para.sub_step = 16;
        w.job(JOB_SELF_RECOVERY);
        const rcv_card fixed = w.f(0)->card(2, 2);
        QVERIFY(fixed.recovery_writes == 1u && !fixed.needs_recovery);
        QCOMPARE(fixed.ram.left(rcv_card::PARA_SIZE), QByteArray(rcv_card::PARA_SIZE, char(0x42)));
        QCOMPARE(w.events, (QStringList{"result 0 ", "code 99"}));
        QCOMPARE(QList<int>({g_send_para.recovery_counter, g_send_para.sub_step}), QList<int>({65535, 0}));

        // a card past the stored count is reported but cannot be restored
        w.f(0)->set_needs_recovery(2, 5, true);
        for (u8 job : {JOB_CHECK_CARDS, JOB_SELF_RECOVERY}) {
            w.job(job);
            QCOMPARE(w.events, (QStringList{"result 1 01/03/06/04", "code 1"}));
        }
        QCOMPARE(w.f(0)->card(2, 5).recovery_writes, 0u);

        // FPGAs not running: 100 at once, the refresh 100 ticks later
        w.f(1)->set_state(0);
        w.m->pass();
        w.codes.clear();
        w.job(JOB_CHECK_CARDS, 1);
        TestEnv::advanceTicks(99);
        w.m->pass();
        QVERIFY(w.values == (QList<int>{0, 100}) && w.codes.isEmpty());
        TestEnv::advanceTicks(1);
        w.m->pass();
        QCOMPARE(w.codes, QList<int>{1});
    }

    void refusalsAndLedHandOverBesideALongJob()
    {
        QVERIFY(!fpga_manage::start_usb_upgrade());   // no manager yet
        Wall w;
        w.f(0)->set_card_count(0, 1);
        w.f(0)->set_card_reply(0, 0, RcvReply::Never);
        QVERIFY(fpga_manage::post_job(JOB_SAVE_PARA));
        w.m->pass();
        // the LED set-up hand-over while that job waits for its silent card
        w.f(1)->set_port_area(5, 100, 200, 300, 400);
        g_set_led_para = 1;
        g_set_led_setup = 0;
        QList<int> setup;   // g_set_led_setup after each pass, a tick apart; -1 once handed back
        for (int t = 0; t < 60; ++t, TestEnv::advanceTicks(1)) {
            w.m->pass();
            setup.append(g_set_led_para == 0 ? -1 : int(g_set_led_setup));
        }
        QVERIFY(setup.indexOf(1) == 11 && setup.indexOf(2) == 42 && setup.indexOf(-1) > 42);
        QVERIFY(g_set_led_setup == 0 && (w.f(0)->peek_register(fpga_drv::REG_OUTPUT) & 1) == 0);
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
        QCOMPARE(QList<int>({g_set_led_para, g_set_led_setup, int(w.f(0)->reset_count()), int(w.f(1)->reset_count()),
                             g_usb_grade.load()}),
                 QList<int>({0, 0, 1, 1, 0}));
    }

    void usbUpgradeInstallsTheChosenPackagesOnly()
    {
        Wall w;
        const auto upgrade = [&w] {
            w.codes.clear();
            QVERIFY(fpga_manage::start_usb_upgrade());
            for (int i = 0; i < 50 && g_usb_grade.load(); ++i)
                w.m->pass();
            QVERIFY(g_usb_grade.load() == 0 && g_send_para.word.load() == 0 && w.codes == QList<int>{104});
        };
        const QString odd = QStringLiteral("my pkg; $(touch pwned) `touch pwned2` & rm -rf x.QELZK");
        // the first three in the USB page's order are installed; links, folders and
        // an old link where a package lands (not to be written through) are not
        for (const QString &n : QStringList{"b.QEL", "Z.QEL", "a.QEL", "c.QELZK", "d.qel", "QEL", odd, "dir.QELZK/x"})
            w.root.write("/mnt/usb1/up/" + n, n.toUtf8() + " body");
        w.root.write("/data/configs/victim", "keep");
        QDir().mkpath(w.root.file("/data/app"));
        for (const char *link : {"/mnt/usb1/up/0.QEL>/mnt/usb1/up/a.QEL", "/mnt/usb1/up/l.QELZK>/data/configs/victim",
                                 "/data/app/c.QELZK>/data/configs/victim"})
            QVERIFY(QFile::link(w.root.file(QString(link).section('>', 1)), w.root.file(QString(link).section('>', 0, 0))));
        g_usb_grade_path = QStringLiteral("up");

        upgrade();
        QStringList installed = QDir(w.root.file("/data/app")).entryList(QDir::Files | QDir::System);
        installed.sort();
        QCOMPARE(installed, (QStringList{"a.QEL", "c.QELZK", odd}));
        QCOMPARE(w.root.read("/data/app/" + odd) + w.root.read("/data/configs/victim"), odd.toUtf8() + " bodykeep");
        QVERIFY(!QFileInfo(w.root.file("/data/app/c.QELZK")).isSymLink());
        QVERIFY(!w.root.exists("/pwned") && !QFile::exists("pwned"));
        QCOMPARE(Utils::recordedCommands(), QStringList{"reboot"});

        // a folder setting that climbs out of the stick lists nothing
        Utils::clearRecordedCommands();
        QDir(w.root.file("/data/app")).removeRecursively();
        w.root.write("/data/configs/z.QEL", "x");
        g_usb_grade_path = QStringLiteral("../../data/configs");
        upgrade();
        QVERIFY(!w.root.exists("/data/app/z.QEL") && Utils::recordedCommands().isEmpty());
    }

    void ageingSamples()
    {
        Wall w;
        // registers 42, 40, 43 of FPGA 0 then FPGA 1, as the log line lists them; a period later, the sample
        auto sample = [&w](std::array<u8, 6> r) {
            for (int i = 0; i < 6; ++i)
                w.f(i / 3)->set_register(std::array<u8, 3>{42, 40, 43}[i % 3], r[i]);
            TestEnv::advanceTicks(18000);
            return fpga_manage::ageing_tick();
        };
        TestEnv::advanceTicks(17999);
        QVERIFY(!fpga_manage::ageing_tick());
        // a pending PC command or an FPGA that does not answer costs that
        // period's sample; the next try comes a period later
        fpga_manage::pc_command_pending = 1;
        QVERIFY(sample({250, 0x1F, 7, 10, 3, 0}) && G_factoryage_ticks.load() == 35999u);
        fpga_manage::pc_command_pending = 0;
        TestEnv::advanceTicks(1);
        QVERIFY(!fpga_manage::ageing_tick());
        w.f(1)->set_bus_fault(true);
        QVERIFY(sample({250, 0x1F, 7, 10, 3, 0}) && factoryage_log.isEmpty());
        w.f(1)->set_bus_fault(false);
        QVERIFY(sample({250, 0x1F, 7, 10, 3, 0}) && factoryage_log.size() == 1);
        QVERIFY2(factoryage_log.last().endsWith(" 250 31 7 10 3 0"), qPrintable(factoryage_log.last()));

        // 250 -> 3 is 9 (wraps), 10 -> 40 is 30
        QVERIFY(sample({3, 0, 0, 40, 0, 0}));
        QCOMPARE(QList<u32>({factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                             factoryage_log_diffmore, factoryage_log2_diff3, factoryage_log2_diff5,
                             factoryage_log2_diff10, factoryage_log2_diff20, factoryage_log2_diffmore}),
                 QList<u32>({0, 0, 1, 0, 0, 0, 0, 0, 0, 1}));
        // at most 3360 lines, the oldest goes first
        factoryage_log.clear();
        for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
            factoryage_log.append(QStringLiteral("L%1").arg(i));
        QVERIFY(sample({3, 0, 0, 40, 0, 0}) && factoryage_log.size() == fpga_manage::AGE_LOG_MAX);
        QVERIFY(factoryage_log.first() == "L1" && factoryage_log.last().endsWith(" 3 0 0 40 0 0"));

        // without the manager the period still comes round, with no line
        fpga_manage::destroyInstance();
        TestEnv::advanceTicks(18000);
        QVERIFY(fpga_manage::ageing_tick());
        QCOMPARE(factoryage_log.first(), QStringLiteral("L1"));
    }
};

QTEST_GUILESS_MAIN(TestFpgaManage)
#include "test_fpga_manage.moc"
