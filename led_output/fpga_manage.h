#ifndef QEL_LED_OUTPUT_FPGA_MANAGE_H
#define QEL_LED_OUTPUT_FPGA_MANAGE_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <initializer_list>
#include <mutex>

#include "core/global.h"
#include "core/manager_thread.h"
#include "core/types.h"

class rcvRecovery;
class fpga_drv;
class rcv_cmd;
struct SimConfig;

// The FPGA manager: output ports, receiving-card jobs, LED set-up, USB upgrade.
// fpga_manage.cpp holds the mirrors, the port watcher, the LED hand-over and
// the posting; fpga_card_jobs.cpp the jobs' common steps and jobs 1, 3, 4;
// fpga_scan_job.cpp job 2; fpga_recovery_job.cpp jobs 5 and 6;
// fpga_upgrade.cpp the USB upgrade; fpga_ageing.cpp the ageing sample.
//
// Register mirrors: MCU_REG_func[f] and MCU_RAM_PARA_func[f] point at byte
// arrays that only this class writes, always under m_reg_mutex and with
// relaxed atomic byte stores. The screens read them without a lock; a read
// may see the value from just before or after an update, which they accept.
// Code that runs beside this manager's thread reads them with reg_mirror()
// and geometry_mirror() (relaxed atomic loads).
class fpga_manage : public QObject
{
    Q_OBJECT
public:
    static fpga_manage *p_fpga_manage;
    static fpga_manage *pInstance();
    static void destroyInstance();   // tests

    u8 *MCU_REG_func[2] = {nullptr, nullptr};       // register mirrors
    u8 *MCU_RAM_PARA_func[2] = {nullptr, nullptr};  // output-geometry blocks
    QString usb_upgrade_times;   // written under the result mutex; see upgrade_times()
    rcvRecovery *rcv_recovery = nullptr;     // recovery-file reader, made with the manager

    static int get_eth_param_addr(int port, u16 *x, u16 *y, u16 *width, u16 *height);
    u32 get_wlan_state();
    // Online mask of the 24 ports from the register mirrors, without reading
    // the FPGAs (GUI thread); 0 for an FPGA whose mirror says it is not
    // running, or whose state or links could not be read the last time.
    u32 link_mask() const;
    void read_from_register(u8 reg, u8 fpga);
    void write_to_register(u8 reg, u8 mask, u8 value, u8 fpga);

    // The 10 ms tick's ageing sample (GUI thread). Once more than 17999 ticks
    // have passed since G_factoryage_ticks it stamps it anew and samples both
    // FPGAs when it can; true then, sampled or not, so the caller refreshes
    // the ageing page every period.
    static bool ageing_tick();

    void pass();
    void start();
    void stop();

    // Ends the thread's sleep: a job, an upgrade or an LED set-up waits. Any
    // thread; nothing happens while the manager or its thread does not exist.
    static void wake();
    static const ManagerThread &thread();

    // Each FPGA's part of a changed sim.json (state, version, its ports' cards
    // and replies), where it changed and the manager exists; true when any was.
    static bool apply_sim(const SimConfig &was, const SimConfig &now);

    // ---- posting (GUI thread) ----
    // Stores the job word (job, state 0) unless the manager is missing, a job
    // or an upgrade runs or the code is not 1..6. Screens post through the
    // shell's job start, which also keeps to one progress ring.
    static bool post_job(u8 job);
    // Starts the USB upgrade unless the manager is missing or a job or an
    // upgrade runs: state byte := 0, then g_usb_grade := 1.
    static bool start_usb_upgrade();

    // One file of the upgrade folder as the USB page lists it; `install`
    // marks the packages the upgrade installs.
    struct UpgradeFile
    {
        QString path;
        bool install = false;
    };
    static constexpr int UPGRADE_LIST_MAX = 100;
    // The "QEL" and "QELZK" files of the upgrade folder in name order
    // ignoring case, at most UPGRADE_LIST_MAX; the first "QEL" and every
    // "QELZK" among them are marked.
    static QVector<UpgradeFile> upgrade_file_list();
    // The marked files of that list: what the USB upgrade installs, in order.
    static QStringList upgrade_package_list();
    // Set while a PC command waits for the FPGAs; nothing sets it here.
    static std::atomic<u8> pc_command_pending;

    static constexpr u32 CARD_REPLY_TICKS = 1200;   // wait for one card's reply
    static constexpr u32 END_WAIT_TICKS = 201;      // before a job's final 100
    static constexpr u32 REFRESH_DELAY_TICKS = 100; // recovery job without FPGAs
    static constexpr u32 AGE_SAMPLE_TICKS = 17999;
    static constexpr int AGE_LOG_MAX = 3360;
    static constexpr u16 NO_RECOVERY = 65535;

    // ---- jobs ----
    void SmartMapping_deal();
    void rcv_recovery_check_deal(int what);   // 0 check, 1 self-recovery, 2 load scan from USB
    void save_para_deal();
    void mapping_enable_deal();
    void usb_upgrade_deal();
    // Cabinet position of chain index `index` from the cabinet description
    // the last smart mapping job took; false without rows, columns or a
    // pattern 1..16, or when the index lies past rows x columns.
    bool get_rcvcard_x_y(int index, u16 *x, u16 *y) const;
    static bool rcvcard_x_y(const LINE_TYPE &line, int index, u16 *x, u16 *y);

    // ---- read beside the manager's thread ----
    u8 reg_mirror(int fpga, int reg) const;
    u16 geometry_mirror(int fpga, int offset) const;   // u16 little-endian
    // The last recovery result, as handed over by sig_recovery_result.
    void recovery_result(QStringList *entries, int *count) const;
    QString upgrade_times() const;
    // How the last USB upgrade ended: complete when it found packages and
    // installed every one; otherwise `failed` names the first not installed
    // (empty when it found none).
    struct UpgradeResult
    {
        bool complete = false;
        QString failed;
    };
    UpgradeResult upgrade_result() const;

    // The simulated FPGAs and the cards behind them.
    fpga_drv *fpga(int index) const;

signals:
    // Emitted on the manager's thread; connect queued.
    void sig_job_progress(int job, int value);
    void sig_recovery_result(QStringList entries, int count);
    void sig_update_start();
    void sig_update_over();
    // An LED set-up ended (the hand-over or the scaler's reset) and the
    // output geometry was read again.
    void sig_led_setup_done();

private:
    fpga_manage();
    ~fpga_manage() override;
    void configure_sim(int fpga, const SimConfig &cfg);

    static u32 ticks();
    static bool path_below(const QString &path, const QString &folder);
    static void store_byte(u8 *p, u8 v);
    static u8 load_byte(const u8 *p);

    // ---- registers, port watcher, LED hand-over (fpga_manage.cpp) ----
    bool read_reg_locked(int fpga, u8 reg, u8 *value);
    void refresh_geometry();
    u16 link_word(int fpga);
    u16 read_links_locked(int fpga);
    bool service_led_setup();
    int next_sleep_ms() const;
    void port_watch();
    void refresh(int code);

    // ---- receiving-card jobs (fpga_card_jobs.cpp) ----
    // What every job has: its code (0: none), the start of the job or of its
    // current stage, the last progress sent.
    struct JobRun
    {
        u8 code = 0;
        u32 stamp = 0;
        int last_progress = -1;
    };
    // The one exchange with the cards in flight.
    struct Exchange
    {
        int port = 0;
        u32 stamp = 0;
        u8 status = 0;
        QByteArray extra;
    };
    enum class Poll { Pending, Replied, TimedOut };
    enum class PortSearch { Sent, NotSent, AllDone };

    // Job 1: every card of the line's port learns its place on the canvas.
    enum class SmartMappingStep { Search, Count, Place, Reply, EndWait };
    struct SmartMappingJob
    {
        SmartMappingStep step = SmartMappingStep::Search;
        LINE_TYPE line{};
        int count = 0;   // cards found on the port
        int card = 0;    // the card in hand
    };
    // Job 2: the chosen scan file into every card of the line's port.
    enum class LoadScanStep { Open, Count, Send, Reply };
    struct LoadScanJob
    {
        LoadScanStep step = LoadScanStep::Open;
        int port = 0;
        QString file;
        QByteArray data;
        int offset = 0;   // of the chunk in hand
    };
    // Job 3: every card of every port keeps its parameters.
    enum class SaveParaStep { Search, Count, Save, Reply, EndWait };
    struct SaveParaJob
    {
        SaveParaStep step = SaveParaStep::Search;
        int port = 0;
        int count = 0;
        int card = 0;
    };
    // Job 4: the mapping register of all cards of every port with cards.
    enum class MappingStep { Search, Write, Reply, EndWait };
    struct MappingJob
    {
        MappingStep step = MappingStep::Search;
        int port = 0;
        u8 value = 0;   // 9 on, 0 off
    };
    // Jobs 5 and 6 (fpga_recovery_job.cpp): job 6 first restores the card
    // the last check found; both then check the cards the recovery data
    // names, screen by screen, and stop at the first asking for recovery.
    enum class RecoveryStep {
        Start,
        Restore,
        RestoreReply,
        ListScreens,
        OpenScreen,
        NextSection,
        Count,
        NextCard,
        CardReply,
    };
    struct RecoveryJob
    {
        struct Section
        {
            int port = 0;
            int card_count = 0;   // as the recovery data holds it
        };
        RecoveryStep step = RecoveryStep::Start;
        QStringList screens;   // recovery files; screen n is the n-th
        int screen = 0;
        QVector<Section> sections;   // of the screen in hand
        int section = 0;
        int count = 0;   // cards found on the section's port
        int card = 0;
        bool found = false;
    };
    // byte 28 of the job record while job 6 restores a card
    static constexpr u8 SUB_STEP_READ = 16;
    static constexpr u8 SUB_STEP_WRITTEN = 17;

    void run_job();
    void start_job(u8 job);
    bool job_step();
    void drop_job();
    void finish_job();
    void report(int value);
    void report_elapsed();
    void begin_end_wait(int progress);
    bool end_wait();
    void run_stage(bool (fpga_manage::*step)(), std::initializer_list<u8> jobs);

    bool exchange_started(int port, bool sent);
    Poll poll_exchange();
    bool start_search(int port);
    bool search_done(int *count);
    bool search_line_port(bool usable, int port);
    bool line_cards(int *count);
    PortSearch search_next_port(int port, int end);
    // A request sent waits for its reply at `reply`; one not sent moves `*counter` on.
    template <class Step> static bool wait_or_skip(bool sent, int *counter, Step *step, Step reply)
    {
        if (sent)
            *step = reply;
        else
            ++*counter;
        return true;
    }
    // Once the exchange in flight is over, `*counter` moves on and the job goes to `next`.
    template <class Step> bool after_reply(int *counter, Step *step, Step next)
    {
        if (poll_exchange() == Poll::Pending)
            return false;
        ++*counter;
        *step = next;
        return true;
    }
    // One port after the other, 0..23: its search at `searching`, the end
    // wait at `ending` after the last one.
    template <class Step> bool step_port_loop(int *port, Step *step, Step searching, Step ending, int end);

    bool step_smart_mapping();
    bool step_load_scan();
    static QString inside_folders(const QString &path, const QStringList &folders);
    bool open_scan_file(LoadScanJob &j);
    bool step_save_para();
    bool step_mapping_enable();
    bool step_recovery();
    bool restore_found_card();
    bool open_screen(RecoveryJob &j);
    bool card_replied(RecoveryJob &j);
    void end_recovery();
    bool set_result(const QStringList &entries);

    // ---- USB upgrade (fpga_upgrade.cpp) ----
    QStringList list_upgrade_files() const;
    bool install_package(const QString &source) const;
    void set_upgrade_times(const QString &text);

    fpga_drv *m_fpga[2] = {nullptr, nullptr};
    rcv_cmd *m_cmd = nullptr;

    mutable std::mutex m_reg_mutex;   // register traffic and mirror writes
    u8 m_reg_mirror[2][256] = {};
    u8 m_geo_mirror[2][1024] = {};

    // port watcher
    u16 m_link_word[2] = {0, 0};
    std::atomic<bool> m_links_unread[2] = {{false}, {false}};   // the last read of state or links failed

    // LED set-up hand-over: the screen output held in its set-up state,
    // then g_set_led_setup 1, then 2, then the output returns
    enum class LedPhase { Idle, OutputHeld, StepOne, StepTwo };
    LedPhase m_led_phase = LedPhase::Idle;
    u32 m_led_stamp = 0;

    // deferred refresh of a recovery job that found no FPGAs
    bool m_refresh_pending = false;
    u32 m_refresh_stamp = 0;

    // the running job and its state (manager thread only)
    JobRun m_run;
    Exchange m_ex;
    SmartMappingJob m_smart;
    LoadScanJob m_scan;
    SaveParaJob m_save;
    MappingJob m_mapping;
    RecoveryJob m_recovery;

    // result list handed to the GUI thread
    mutable std::mutex m_result_mutex;
    QStringList m_result_entries;
    int m_result_count = 0;
    UpgradeResult m_upgrade_result;

    // USB upgrade (manager thread only)
    QStringList m_upgrade_files;
    int m_upgrade_index = 0;
    QString m_upgrade_failed;   // file name of the first package not installed
};

#endif
