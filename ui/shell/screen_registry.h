#ifndef QEL_UI_SHELL_SCREEN_REGISTRY_H
#define QEL_UI_SHELL_SCREEN_REGISTRY_H

#include <QDialog>
#include <functional>
#include <type_traits>

#include "core/global.h"
#include "core/types.h"

// The setting screens as the shell sees them: by page id. The refresh
// dispatch and its tips, the idle return, the ageing redraw and the openers
// go through here, so the shell includes no screen header and names no page
// for them. ui/screen_list.cpp registers every screen.
struct ScreenEntry
{
    u8 page = 0;
    std::function<QDialog *()> instance;     // the open instance, or null
    std::function<QDialog *()> create;       // create into the global and set the page, no run
    std::function<void()> open;              // create, set the page, run modally
    std::function<void(int code)> refresh;   // syncUpdate of the open instance
    std::function<void()> back;              // Back of the open instance
    // Optional hooks, unset for most screens:
    std::function<int(int code)> tip;        // tip after a refresh while the page shows (0 none)
    std::function<void()> ageing_tick;       // once each ageing period
    std::function<void()> resume;            // a screen it ran went back to it
};

namespace ScreenRegistry {
void add(const ScreenEntry &entry);          // replaces an entry of the same page
void remove(u8 page);                        // tests
const ScreenEntry *find(u8 page);
bool registered(u8 page);
bool is_open(u8 page);
QDialog *instance(u8 page);
bool open(u8 page);                          // false when no screen has that page
// The open instance or a new one, on its page, run modally; false when no
// screen has that page.
bool run(u8 page);
void refresh(u8 page, int code);             // nothing when closed
void back(u8 page);                          // nothing when closed
int tip(u8 page, int code);                  // 0 without a tip rule
void ageing_tick();                          // every entry's hook
bool resume(u8 page);                        // false when closed or without a hook
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

// A hook calling `member` of the open instance; nothing while closed.
template <class Screen> std::function<void()> when_open(Screen *&global, void (Screen::*member)())
{
    Screen **g = &global;
    return [g, member] {
        if (*g)
            ((*g)->*member)();
    };
}

#endif
