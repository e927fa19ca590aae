#include "ui/shell/screen_registry.h"

#include <map>

namespace {
std::map<u8, ScreenEntry> &entries()
{
    static std::map<u8, ScreenEntry> table;
    return table;
}
}

namespace ScreenRegistry {

void add(const ScreenEntry &entry) { entries()[entry.page] = entry; }

const ScreenEntry *find(u8 page)
{
    const auto it = entries().find(page);
    return it == entries().end() ? nullptr : &it->second;
}

bool registered(u8 page) { return find(page) != nullptr; }

QDialog *instance(u8 page)
{
    const ScreenEntry *e = find(page);
    return e && e->instance ? e->instance() : nullptr;
}

bool is_open(u8 page) { return instance(page) != nullptr; }

bool open(u8 page)
{
    const ScreenEntry *e = find(page);
    if (!e || !e->open)
        return false;
    // the entry is copied: a modal run may register or clear entries
    const std::function<void()> run = e->open;
    run();
    return true;
}

void refresh(u8 page, int code)
{
    const ScreenEntry *e = find(page);
    if (e && e->refresh)
        e->refresh(code);
}

void back(u8 page)
{
    const ScreenEntry *e = find(page);
    if (e && e->back) {
        const std::function<void()> run = e->back;
        run();
    }
}

bool run(u8 page)
{
    const ScreenEntry *e = find(page);
    if (!e || !e->create)
        return false;
    QDialog *screen = e->create();
    if (!screen)
        return false;
    g_page_focus = page;
    screen->exec();
    return true;
}

int tip(u8 page, int code)
{
    const ScreenEntry *e = find(page);
    return e && e->tip ? e->tip(code) : 0;
}

void ageing_tick()
{
    for (const auto &entry : entries()) {
        if (entry.second.ageing_tick)
            entry.second.ageing_tick();
    }
}

bool resume(u8 page)
{
    const ScreenEntry *e = find(page);
    if (!e || !e->resume || !is_open(page))
        return false;
    const std::function<void()> run = e->resume;
    run();
    return true;
}

void remove(u8 page) { entries().erase(page); }

void clear() { entries().clear(); }

}
