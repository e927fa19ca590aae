#ifndef QEL_CORE_GLOBAL_H
#define QEL_CORE_GLOBAL_H

#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>

#include "core/shared_text.h"
#include "core/types.h"

// ---- tick counters (one tick = 10 ms) ----
extern std::atomic<u32> G_timeTicks;
extern std::atomic<u32> G_factoryage_ticks;  // last ageing sample

// ---- panel ----
extern u8 g_language;                 // 0 zh, 1 en, 2 ru, 3 vn, 4 zh-TW
extern int g_lcd_lang_valid;          // bit n allows language n
extern int g_back_to_mainwindow_time; // ticks without touch before idle return
extern int g_auto_lock_time;          // ticks without touch before the key lock; 120000 never
extern std::atomic<u8> g_debugSwitch; // console traces while 254

// crop bitmap: per input slot 5 bytes, bit (c - 1) for crop number c
extern u8 g_cut_source_state[30];

// ---- settings mirrored from the settings file ----
extern SharedText g_str_ip;
extern SharedText g_srt_mask;
extern SharedText g_str_gateway;
extern SharedText g_str_barcode;
extern SharedText g_usb_grade_path;   // " " means no subdirectory

// ---- FPGA manager hand-over ----
// The receiving-card job record. Bytes 0..1 form the job word (job code in
// the low byte, its state in the high byte), written as one atomic store.
struct SEND_PARA
{
    std::atomic<u16> word{0};              // 0..1
    u8 reserved2[14] = {};                 // 2..15
    std::atomic<u32> arg{0};               // 16..19 argument of job 4
    u8 reserved20[4] = {};                 // 20..23
    std::atomic<u8> screen_index{0};       // 24 screen index of a recovery job
    u8 reserved25[3] = {};                 // 25..27
    std::atomic<u8> sub_step{0};           // 28 sub-step of a recovery job's file stage
    u8 reserved29 = 0;                     // 29
    std::atomic<u16> recovery_counter{0};  // 30..31; 255 or 65535: nothing to recover
    u8 reserved32[4] = {};                 // 32..35

    u8 job() const { return u8(word.load(std::memory_order_acquire) & 0xFF); }
    u8 state() const { return u8(word.load(std::memory_order_acquire) >> 8); }
    // job code with state 0, one release store
    void post(u8 job) { word.store(u16(job), std::memory_order_release); }
    void set_state(u8 s)
    {
        u16 w = word.load(std::memory_order_acquire);
        word.store(u16((w & 0x00FF) | (u16(s) << 8)), std::memory_order_release);
    }
    void clear() { word.store(0, std::memory_order_release); }
};
static_assert(sizeof(SEND_PARA) == 36, "job record is 36 bytes");

enum SEND_PARA_JOB : u8 {
    JOB_IDLE = 0,
    JOB_SMART_MAPPING = 1,
    JOB_LOAD_FROM_USB = 2,
    JOB_SAVE_PARA = 3,
    JOB_MAPPING_ENABLE = 4,
    JOB_CHECK_CARDS = 5,
    JOB_SELF_RECOVERY = 6,
};

extern SEND_PARA g_send_para;
extern std::atomic<int> g_usb_grade;        // non-zero while a USB upgrade runs
extern std::atomic<u8> g_update_flag;       // firmware-update overlay requested
extern std::atomic<u8> g_set_led_para;      // LED set-up request (1 asked, 2 scaler done)
extern std::atomic<u8> g_set_led_setup;     // LED set-up step

// Cabinet description of the smart mapping wizard, read by job 1 and 2.
struct LINE_TYPE
{
    u16 cabinet_width;
    u16 cabinet_height;
    u16 horizontal_offset;
    u16 vertical_offset;
    u8 output_port;   // 0..23
    u8 rows;
    u8 columns;
    u8 routing;       // 1..16
};
extern LINE_TYPE line_type;
extern QString g_qlfile_name;               // chosen scan file, empty when none
extern std::mutex g_line_type_mutex;        // guards line_type and g_qlfile_name

// ---- Wi-Fi ----
extern std::atomic<u8> g_wifi_reset_flag;
extern std::atomic<u32> g_wifi_reset_ticks;

// ---- factory ageing log (GUI thread) ----
extern QStringList factoryage_log;
extern u32 factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10,
    factoryage_log_diff20, factoryage_log_diffmore;
extern u32 factoryage_log2_diff3, factoryage_log2_diff5, factoryage_log2_diff10,
    factoryage_log2_diff20, factoryage_log2_diffmore;

// ---- shell (GUI thread) ----
extern u8 g_page_focus;
extern u8 g_mode_select;

// Start values of the globals, shared by their definitions and resetGlobals().
namespace GlobalStart {
constexpr u8 LANGUAGE = 1;
constexpr int LCD_LANG_VALID = 0x1F;
constexpr int BACK_TO_MAIN_TICKS = 18000;
constexpr int AUTO_LOCK_TICKS = 30000;
constexpr u8 DEBUG_SWITCH = 254;
constexpr const char *IP = "192.168.0.199";
constexpr const char *MASK = "255.255.255.0";
constexpr const char *GATEWAY = "192.168.0.1";
constexpr const char *BARCODE = " ";
constexpr const char *USB_GRADE_PATH = " ";
}

// Every global above back to its start value (tests; the program starts there).
void resetGlobals();

#endif
