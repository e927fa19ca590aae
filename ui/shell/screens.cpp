#include "ui/shell/screens.h"

#include "ui/shell/my_lineedit.h"

MainWindow *g_mainwindow = nullptr;
LockWindow *g_lockwindow = nullptr;
Option *g_option = nullptr;
NumberKeyboard *g_numberkeyboard = nullptr;
TIP *g_tip = nullptr;
QRoundProgressBar *g_qround_bar = nullptr;
QPointer<My_lineEdit> g_lineedit;

InputChoose *g_inputchoose = nullptr;
InputCut *g_inputcut = nullptr;
EDIDset *g_edidset = nullptr;
ImageLayout *g_imagelayout = nullptr;
ImageQuality *g_imagequality = nullptr;
CustomMode *g_custommode = nullptr;
test_chart *g_test_chart = nullptr;
OutputSet *g_outputset = nullptr;
LinkOption *g_linkoption = nullptr;
SmartMapping *g_smartmapping = nullptr;
AdvancedOption *g_advancedoption = nullptr;
MachineState *g_machinestate = nullptr;
