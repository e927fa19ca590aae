#ifndef QEL_UI_ADVANCED_ADVANCEDOPTION_COMMON_H
#define QEL_UI_ADVANCED_ADVANCEDOPTION_COMMON_H

#include <QAbstractButton>
#include <QString>

#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "ui/shell/screen_helpers.h"

// What the source files of the advanced settings screen share.
namespace advanced {

inline QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

constexpr const char *kChecked = ":/png/checked.png";
constexpr const char *kUnchecked = ":/png/unchecked.png";
constexpr const char *kToggleOn = ":/png/button_on.png";
constexpr const char *kToggleOff = ":/png/button_off.png";

// auto-lock times in ticks; the last one never locks
constexpr int kLock5min = 30000;
constexpr int kLock10min = 60000;
constexpr int kLockNever = 120000;

// An icon from the resources, its path in "res".
inline void set_res_icon(QAbstractButton *button, const char *path) { set_icon(button, QString::fromLatin1(path)); }

// The sixteen byte pairs of the fade effect.
inline void set_fade_pairs(u8 *img)
{
    for (int k = 0; k < 16; ++k) {
        img[Img::FADE_PAIRS + 4 * k] = 60;
        img[Img::FADE_PAIRS + 4 * k + 2] = 60;
    }
}

}

#endif
