#ifndef QEL_CORE_REFRESH_CODES_H
#define QEL_CORE_REFRESH_CODES_H

// Codes carried by QelRamPara::sig_update_para to the shell's refresh.
enum RefreshCode : int {
    REFRESH_SAVE = 1,            // a change was applied: save, repaint the visible screen
    REFRESH_USER_MODES = 2,      // user-mode files changed: reload the slots
    REFRESH_PORT_LINKS = 11,     // an output port's link changed
    REFRESH_INPUTS = 12,         // an input's signal changed
    REFRESH_RECOVERY_EMPTY = 99, // self-recovery left no entries
    REFRESH_USB_IN = 100,        // stick plugged
    REFRESH_USB_OUT = 101,       // stick pulled
    REFRESH_USB_READY = 102,     // stick mounted and listed
    REFRESH_CROPS = 103,         // the crop table was changed from outside
    REFRESH_UPGRADE_DONE = 104,  // USB upgrade ended
};

#endif
