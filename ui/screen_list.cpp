#include "core/refresh_codes.h"
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

namespace {
// Tips after a refresh (see TIP): 1 the check mark, 3..5 the USB texts.
int check_mark(int) { return 1; }
int usb_tips(int code) { return code >= REFRESH_USB_IN && code <= REFRESH_USB_READY ? 3 + code - REFRESH_USB_IN : 0; }
// the end of a USB upgrade shows nothing
int usb_tips_or_check_mark(int code)
{
    if (const int usb = usb_tips(code))
        return usb;
    return code == REFRESH_UPGRADE_DONE ? 0 : 1;
}

ScreenEntry with_tip(ScreenEntry e, int (*tip)(int code))
{
    e.tip = tip;
    return e;
}
}

// Every setting screen by page id. A new screen adds its line here.
void register_screens()
{
    ScreenRegistry::add(screen_entry(PAGE_INPUT_CHOICE, g_inputchoose));
    ScreenRegistry::add(screen_entry(PAGE_INPUT_CROP, g_inputcut));
    ScreenRegistry::add(screen_entry(PAGE_EDID, g_edidset));
    ScreenEntry layout = with_tip(screen_entry(PAGE_LAYOUT, g_imagelayout), check_mark);
    layout.resume = when_open(g_imagelayout, &ImageLayout::resume);
    ScreenRegistry::add(layout);
    ScreenRegistry::add(screen_entry(PAGE_PICTURE, g_imagequality));
    ScreenRegistry::add(screen_entry(PAGE_TEST_PATTERN, g_test_chart));
    ScreenRegistry::add(with_tip(screen_entry(PAGE_OUTPUT, g_outputset), check_mark));
    ScreenRegistry::add(with_tip(screen_entry(PAGE_SMART_MAPPING, g_smartmapping), usb_tips));
    ScreenEntry advanced = screen_entry(PAGE_ADVANCED, g_advancedoption);
    advanced.ageing_tick = when_open(g_advancedoption, &AdvancedOption::update_agelog);
    ScreenRegistry::add(advanced);
    ScreenRegistry::add(with_tip(screen_entry(PAGE_USER_MODE, g_custommode), check_mark));
    ScreenRegistry::add(with_tip(screen_entry(PAGE_NETWORK, g_linkoption), usb_tips_or_check_mark));
    ScreenRegistry::add(screen_entry(PAGE_STATUS, g_machinestate));
}
