#ifndef QEL_LED_OUTPUT_FPGA_MANAGE_H
#define QEL_LED_OUTPUT_FPGA_MANAGE_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>

#include "core/types.h"

class rcvRecovery;

// The FPGA manager: output ports, receiving-card jobs, LED set-up, USB upgrade.
class fpga_manage : public QObject
{
    Q_OBJECT
public:
    static fpga_manage *p_fpga_manage;
    static fpga_manage *pInstance();
    static void destroyInstance();   // tests

    u8 *MCU_REG_func[2] = {nullptr, nullptr};       // register mirrors
    u8 *MCU_RAM_PARA_func[2] = {nullptr, nullptr};  // output-geometry blocks
    QString usb_upgrade_times;
    rcvRecovery *rcv_recovery = nullptr;     // recovery-file reader, made with the manager

    static int get_eth_param_addr(int port, u16 *x, u16 *y, u16 *width, u16 *height);
    u32 get_wlan_state();
    void read_from_register(u8 reg, u8 fpga);
    void write_to_register(u8 reg, u8 mask, u8 value, u8 fpga);

    // The 10 ms tick's ageing sample (GUI thread): true when a line was added.
    static bool ageing_tick();

    void pass();
    void start();
    void stop();

signals:
    // Emitted on the manager's thread; connect queued.
    void sig_job_progress(int job, int value);
    void sig_recovery_result(QStringList entries, int count);
    void sig_update_start();
    void sig_update_over();

private:
    fpga_manage();
    ~fpga_manage() override;
};

#endif
