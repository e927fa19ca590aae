#ifndef QEL_TESTS_UI_SHELL_STUB_SCREEN_H
#define QEL_TESTS_UI_SHELL_STUB_SCREEN_H

#include <QDialog>
#include <QStringList>

#include "core/global.h"
#include "ui/shell/screen_registry.h"

// What the stand-in screens saw: "refresh <page> <code>", "back <page>".
inline QStringList &stubLog()
{
    static QStringList log;
    return log;
}

// A stand-in setting screen on a page, joining the shell as a later screen
// does: one registry entry, syncUpdate(int) and Back.
template <u8 Page> class StubScreen : public QDialog
{
public:
    static StubScreen *global;
    static void add() { ScreenRegistry::add(screen_entry(Page, global)); }

    ~StubScreen() override
    {
        if (global == this)
            global = nullptr;
    }
    void syncUpdate(int code) { stubLog() << QStringLiteral("refresh %1 %2").arg(Page).arg(code); }
    void on_Button_back_clicked()
    {
        stubLog() << QStringLiteral("back %1").arg(Page);
        close();
        deleteLater();
        global = nullptr;
    }
};
template <u8 Page> StubScreen<Page> *StubScreen<Page>::global = nullptr;
template <u8... Pages> void addStubs() { (StubScreen<Pages>::add(), ...); }

#endif
