#ifndef QEL_LED_OUTPUT_FPGA_MANAGE_H
#define QEL_LED_OUTPUT_FPGA_MANAGE_H

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

// The FPGA manager: output ports, receiving-card jobs, LED set-up, USB upgrade.
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
    // the FPGAs (GUI thread); 0 for an FPGA whose mirror says it is not running.
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

    // ---- posting (GUI thread) ----
    // Stores the job word (job, state 0) unless the manager is missing, a job
    // or an upgrade runs, the progress ring exists or the code is not 1..6.
    static bool post_job(u8 job);
    // Starts the USB upgrade unless the manager is missing or a job or an
    // upgrade runs: state byte := 0, then g_usb_grade := 1.
    static bool start_usb_upgrade();
    // The packages the USB upgrade installs, in its order (at most 100).
    static QStringList upgrade_package_list();
    // The first 100 "QEL" and "QELZK" files of the upgrade folder in that
    // order (the packages are among them); empty when the folder leaves the stick.
    static QStringList upgrade_file_list();
    static constexpr int UPGRADE_FILES_MAX = 100;
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
    // Cabinet position of chain index `index` from the running job's cabinet
    // description; false without rows, columns or a pattern 1..16, or when
    // the index lies past rows x columns.
    bool get_rcvcard_x_y(int index, u16 *x, u16 *y) const;
    static bool rcvcard_x_y(const LINE_TYPE &line, int index, u16 *x, u16 *y);

    // ---- read beside the manager's thread ----
    u8 reg_mirror(int fpga, int reg) const;
    u16 geometry_mirror(int fpga, int offset) const;   // u16 little-endian
    // The last recovery result, as handed over by sig_recovery_result.
    void recovery_result(QStringList *entries, int *count) const;
    QString upgrade_times() const;

    // The simulated FPGAs and the cards behind them.
    fpga_drv *fpga(int index) const;

signals:
    // Emitted on the manager's thread; connect queued.
    void sig_job_progress(int job, int value);
    void sig_recovery_result(QStringList entries, int count);
    void sig_update_start();
    void sig_update_over();

private:
    fpga_manage();
    ~fpga_manage() override;

    enum class Wait { None, Reply, Ticks };
    enum class Poll { Pending, Replied, TimedOut };

    // registers
    bool read_reg_locked(int fpga, u8 reg, u8 *value);
    void refresh_geometry();
    u16 link_word(int fpga);

    // pass parts
    void service_led_setup();
    void port_watch();
    void run_job();
    bool job_step();
    void start_job(u8 job);
    void drop_job();
    void finish_job();
    void report(int value);
    void refresh(int code);

    // one exchange with the cards
    bool exchange_started(bool sent);
    Poll poll_exchange();
    bool start_search(int port);
    bool search_done(int *count);
    bool wait_or_skip(bool sent, int *counter, int step);
    bool next_after_reply(int *counter, int step);

    // job stages
    static constexpr int END_STEP = 9;   // waiting before the final 100
    void run_stage(bool (fpga_manage::*step)(), std::initializer_list<u8> jobs);
    bool search_line_port(bool usable);
    bool step_line_cards();
    bool step_next_port(int end);
    void begin_end_wait(int progress);
    bool end_wait();
    void report_elapsed();
    bool set_result(const QStringList &entries);
    bool step_smart_mapping();
    bool step_load_scan();
    bool step_save_para();
    bool step_mapping_enable();
    bool step_recovery();
    bool step_check_scan();
    void end_recovery();

    // USB upgrade
    QStringList list_upgrade_files() const;
    bool install_package(const QString &source) const;
    void set_upgrade_times(const QString &text);

    static void store_byte(u8 *p, u8 v);
    static u8 load_byte(const u8 *p);

    ManagerThread m_thread;
    fpga_drv *m_fpga[2] = {nullptr, nullptr};
    rcv_cmd *m_cmd = nullptr;

    mutable std::mutex m_reg_mutex;   // register traffic and mirror writes
    u8 m_reg_mirror[2][256] = {};
    u8 m_geo_mirror[2][1024] = {};

    // port watcher
    u16 m_link_word[2] = {0, 0};

    // LED set-up hand-over
    int m_led_phase = 0;
    u32 m_led_stamp = 0;

    // deferred refresh of a recovery job that found no FPGAs
    bool m_refresh_pending = false;
    u32 m_refresh_stamp = 0;

    // running job (manager thread only)
    u8 m_job = 0;
    int m_step = 0;
    u32 m_job_stamp = 0;      // start of the job or of its current stage
    int m_last_progress = -1;
    LINE_TYPE m_line{};
    QString m_file;
    QByteArray m_data;
    int m_port = 0;
    int m_card = 0;
    int m_count = 0;
    int m_offset = 0;
    u8 m_value = 0;
    // the exchange in flight
    int m_ex_port = 0;
    u32 m_ex_stamp = 0;
    u8 m_ex_status = 0;
    QByteArray m_ex_extra;
    // check stage of jobs 5 and 6
    QStringList m_screens;
    int m_screen = 0;
    QVector<int> m_section_port;
    QVector<int> m_section_count;
    int m_section = 0;
    bool m_found = false;

    // result list handed to the GUI thread
    mutable std::mutex m_result_mutex;
    QStringList m_result_entries;
    int m_result_count = 0;

    // USB upgrade (manager thread only)
    QStringList m_upgrade_files;
    int m_upgrade_index = 0;
    int m_installed = 0;
};

#endif
