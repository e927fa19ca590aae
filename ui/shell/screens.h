#ifndef QEL_UI_SHELL_SCREENS_H
#define QEL_UI_SHELL_SCREENS_H

#include <QPointer>

#include "core/types.h"

// Screen globals: the one live instance of each screen, null while closed.
class MainWindow;
class LockWindow;
class Option;
class NumberKeyboard;
class TIP;
class QRoundProgressBar;
class My_lineEdit;
class InputChoose;
class InputCut;
class EDIDset;
class ImageLayout;
class ImageQuality;
class CustomMode;
class test_chart;
class OutputSet;
class LinkOption;
class SmartMapping;
class AdvancedOption;
class MachineState;

extern MainWindow *g_mainwindow;
extern LockWindow *g_lockwindow;
extern Option *g_option;
extern NumberKeyboard *g_numberkeyboard;
extern TIP *g_tip;
extern QRoundProgressBar *g_qround_bar;
extern QPointer<My_lineEdit> g_lineedit;

extern InputChoose *g_inputchoose;
extern InputCut *g_inputcut;
extern EDIDset *g_edidset;
extern ImageLayout *g_imagelayout;
extern ImageQuality *g_imagequality;
extern CustomMode *g_custommode;
extern test_chart *g_test_chart;
extern OutputSet *g_outputset;
extern LinkOption *g_linkoption;
extern SmartMapping *g_smartmapping;
extern AdvancedOption *g_advancedoption;
extern MachineState *g_machinestate;

// Page ids of g_page_focus.
enum PageId : u8 {
    PAGE_HOME = 0,
    PAGE_MAIN = 1,
    PAGE_STATUS = 2,
    PAGE_INPUT_CHOICE = 3,
    PAGE_USER_MODE = 4,
    PAGE_SETTINGS = 5,
    PAGE_OUTPUT = 6,
    PAGE_INPUT_CROP = 7,
    PAGE_EDID = 8,
    PAGE_LAYOUT = 9,
    PAGE_NETWORK = 10,
    PAGE_PICTURE = 11,
    PAGE_ADVANCED = 12,
    PAGE_TEST_PATTERN = 16,
    PAGE_SMART_MAPPING = 24,
};

#endif
