#include "core/global.h"

std::atomic<u32> G_timeTicks{0};
std::atomic<u32> G_factoryage_ticks{0};

u8 g_language = GlobalStart::LANGUAGE;
int g_lcd_lang_valid = GlobalStart::LCD_LANG_VALID;
int g_back_to_mainwindow_time = GlobalStart::BACK_TO_MAIN_TICKS;
int g_auto_lock_time = GlobalStart::AUTO_LOCK_TICKS;
std::atomic<u8> g_debugSwitch{GlobalStart::DEBUG_SWITCH};

u8 g_cut_source_state[30] = {};

SharedText g_str_ip(GlobalStart::IP);
SharedText g_srt_mask(GlobalStart::MASK);
SharedText g_str_gateway(GlobalStart::GATEWAY);
SharedText g_str_barcode(GlobalStart::BARCODE);
SharedText g_usb_grade_path(GlobalStart::USB_GRADE_PATH);

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

void resetGlobals()
{
    G_timeTicks = 0;
    G_factoryage_ticks = 0;
    g_language = GlobalStart::LANGUAGE;
    g_lcd_lang_valid = GlobalStart::LCD_LANG_VALID;
    g_back_to_mainwindow_time = GlobalStart::BACK_TO_MAIN_TICKS;
    g_auto_lock_time = GlobalStart::AUTO_LOCK_TICKS;
    g_debugSwitch = GlobalStart::DEBUG_SWITCH;
    for (u8 &b : g_cut_source_state)
        b = 0;
    g_str_ip = QString::fromLatin1(GlobalStart::IP);
    g_srt_mask = QString::fromLatin1(GlobalStart::MASK);
    g_str_gateway = QString::fromLatin1(GlobalStart::GATEWAY);
    g_str_barcode = QString::fromLatin1(GlobalStart::BARCODE);
    g_usb_grade_path = QString::fromLatin1(GlobalStart::USB_GRADE_PATH);
    g_send_para.clear();
    g_send_para.arg = 0;
    g_send_para.screen_index = 0;
    g_send_para.sub_step = 0;
    g_send_para.recovery_counter = 0;
    g_usb_grade = 0;
    g_update_flag = 0;
    g_set_led_para = 0;
    g_set_led_setup = 0;
    {
        std::lock_guard<std::mutex> lock(g_line_type_mutex);
        line_type = LINE_TYPE{0, 0, 0, 0, 0, 0, 0, 0};
        g_qlfile_name.clear();
    }
    g_wifi_reset_flag = 0;
    g_wifi_reset_ticks = 0;
    factoryage_log.clear();
    factoryage_log_diff3 = factoryage_log_diff5 = factoryage_log_diff10 = 0;
    factoryage_log_diff20 = factoryage_log_diffmore = 0;
    factoryage_log2_diff3 = factoryage_log2_diff5 = factoryage_log2_diff10 = 0;
    factoryage_log2_diff20 = factoryage_log2_diffmore = 0;
    g_page_focus = 0;
    g_mode_select = 0;
}
