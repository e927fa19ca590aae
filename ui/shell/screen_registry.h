#ifndef QEL_UI_SHELL_SCREEN_REGISTRY_H
#define QEL_UI_SHELL_SCREEN_REGISTRY_H

#include <QDialog>
#include <functional>
#include <type_traits>

#include "core/global.h"
#include "core/types.h"

// The setting screens as the shell sees them: by page id. The refresh
// dispatch, the idle return and the openers go through here, so the shell
// includes no screen header. ui/screen_list.cpp registers every screen.
struct ScreenEntry
{
    u8 page = 0;
    std::function<QDialog *()> instance;     // the open instance, or null
    std::function<QDialog *()> create;       // create into the global and set the page, no run
    std::function<void()> open;              // create, set the page, run modally
    std::function<void(int code)> refresh;   // syncUpdate of the open instance
    std::function<void()> back;              // Back of the open instance
};

namespace ScreenRegistry {
void add(const ScreenEntry &entry);          // replaces an entry of the same page
void remove(u8 page);                        // tests
const ScreenEntry *find(u8 page);
bool registered(u8 page);
bool is_open(u8 page);
QDialog *instance(u8 page);
bool open(u8 page);                          // false when no screen has that page
void refresh(u8 page, int code);             // nothing when closed
void back(u8 page);                          // nothing when closed
void clear();                                // tests
}

// Registers every screen (ui/screen_list.cpp); safe to call again.
void register_screens();

namespace screen_registry_detail {
template <class S, class = void> struct takes_code : std::false_type {};
template <class S>
struct takes_code<S, std::void_t<decltype(std::declval<S &>().syncUpdate(0))>> : std::true_type {};
}

// The entry of a screen class kept in `global`: opened with no parent on
// `page` and run modally; syncUpdate with or without the code, as the
// screen declares it; on_Button_back_clicked as its Back.
template <class Screen> ScreenEntry screen_entry(u8 page, Screen *&global)
{
    ScreenEntry e;
    e.page = page;
    Screen **g = &global;
    e.instance = [g]() -> QDialog * { return *g; };
    e.create = [g, page]() -> QDialog * {
        if (!*g) {
            *g = new Screen();
            g_page_focus = page;
        }
        return *g;
    };
    e.open = [g, page] {
        if (*g)
            return;
        *g = new Screen();
        g_page_focus = page;
        (*g)->exec();
    };
    e.refresh = [g](int code) {
        if (!*g)
            return;
        if constexpr (screen_registry_detail::takes_code<Screen>::value)
            (*g)->syncUpdate(code);
        else
            (*g)->syncUpdate();
    };
    e.back = [g] {
        if (*g)
            (*g)->on_Button_back_clicked();
    };
    return e;
}

#endif
