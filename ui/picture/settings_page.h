#ifndef QEL_UI_PICTURE_SETTINGS_PAGE_H
#define QEL_UI_PICTURE_SETTINGS_PAGE_H

// back_to_settings lives with the other screen helpers.
#include "ui/shell/screen_helpers.h"

#endif
