#include "core/global.h"

std::atomic<u32> G_timeTicks{0};
std::atomic<u32> G_factoryage_ticks{0};

u8 g_language = 1;
int g_lcd_lang_valid = 0x1F;
int g_back_to_mainwindow_time = 18000;
int g_auto_lock_time = 30000;
std::atomic<u8> g_debugSwitch{254};

u8 g_cut_source_state[30] = {};

SharedText g_str_ip("192.168.0.199");
SharedText g_srt_mask("255.255.255.0");
SharedText g_str_gateway("192.168.0.1");
SharedText g_str_barcode(" ");
SharedText g_usb_grade_path(" ");

SEND_PARA g_send_para;
std::atomic<int> g_usb_grade{0};
std::atomic<u8> g_update_flag{0};
std::atomic<u8> g_set_led_para{0};
std::atomic<u8> g_set_led_setup{0};

LINE_TYPE line_type = {0, 0, 0, 0, 0, 0, 0, 0};
QString g_qlfile_name;
std::mutex g_line_type_mutex;

std::atomic<u8> g_wifi_reset_flag{0};
std::atomic<u32> g_wifi_reset_ticks{0};

QStringList factoryage_log;
u32 factoryage_log_diff3 = 0, factoryage_log_diff5 = 0, factoryage_log_diff10 = 0,
    factoryage_log_diff20 = 0, factoryage_log_diffmore = 0;
u32 factoryage_log2_diff3 = 0, factoryage_log2_diff5 = 0, factoryage_log2_diff10 = 0,
    factoryage_log2_diff20 = 0, factoryage_log2_diffmore = 0;

u8 g_page_focus = 0;
u8 g_mode_select = 0;
