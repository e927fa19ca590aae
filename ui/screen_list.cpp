#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"

#include "ui/advanced/advancedoption.h"
#include "ui/advanced/machinestate.h"
#include "ui/input/edidset.h"
#include "ui/input/inputchoose.h"
#include "ui/input/inputcut.h"
#include "ui/output/linkoption.h"
#include "ui/output/outputset.h"
#include "ui/output/smartmapping.h"
#include "ui/picture/custommode.h"
#include "ui/picture/imagelayout.h"
#include "ui/picture/imagequality.h"
#include "ui/picture/test_chart.h"

// Every setting screen by page id. A new screen adds its line here.
void register_screens()
{
    ScreenRegistry::add(screen_entry(PAGE_INPUT_CHOICE, g_inputchoose));
    ScreenRegistry::add(screen_entry(PAGE_INPUT_CROP, g_inputcut));
    ScreenRegistry::add(screen_entry(PAGE_EDID, g_edidset));
    ScreenRegistry::add(screen_entry(PAGE_LAYOUT, g_imagelayout));
    ScreenRegistry::add(screen_entry(PAGE_PICTURE, g_imagequality));
    ScreenRegistry::add(screen_entry(PAGE_TEST_PATTERN, g_test_chart));
    ScreenRegistry::add(screen_entry(PAGE_OUTPUT, g_outputset));
    ScreenRegistry::add(screen_entry(PAGE_SMART_MAPPING, g_smartmapping));
    ScreenRegistry::add(screen_entry(PAGE_ADVANCED, g_advancedoption));
    ScreenRegistry::add(screen_entry(PAGE_USER_MODE, g_custommode));
    ScreenRegistry::add(screen_entry(PAGE_NETWORK, g_linkoption));
    ScreenRegistry::add(screen_entry(PAGE_STATUS, g_machinestate));
}
