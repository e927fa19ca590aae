#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "core/refresh_codes.h"
#include "tests/support/testenv.h"
#include "tests/ui/shell/stub_screen.h"
#include "ui/shell/screens.h"

namespace {
// A screen whose syncUpdate takes no code.
class PlainScreen : public QDialog
{
public:
    static PlainScreen *global;
    static int refreshes;
    void syncUpdate() { ++refreshes; }
    void on_Button_back_clicked() { global = nullptr; }
};
PlainScreen *PlainScreen::global = nullptr;
int PlainScreen::refreshes = 0;
}

class TestScreenRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TestEnv::resetGlobals();
        ScreenRegistry::clear();
        stubLog().clear();
    }
    void cleanup() { ScreenRegistry::clear(); }

    void entriesByPage()
    {
        for (bool added : {false, true}) {   // not registered, then not open: nothing opens, refreshes or closes
            QVERIFY(added || !ScreenRegistry::open(PAGE_STATUS));
            ScreenRegistry::refresh(PAGE_STATUS, 12);
            ScreenRegistry::back(PAGE_STATUS);
            StubScreen<PAGE_STATUS>::add();
        }
        QVERIFY(stubLog().isEmpty() && !ScreenRegistry::is_open(PAGE_STATUS));

        QDialog *made = ScreenRegistry::find(PAGE_STATUS)->create();
        QVERIFY(made == StubScreen<PAGE_STATUS>::global && ScreenRegistry::instance(PAGE_STATUS) == made);
        QCOMPARE(int(g_page_focus), int(PAGE_STATUS));
        ScreenRegistry::refresh(PAGE_STATUS, REFRESH_INPUTS);
        QPointer<QDialog> alive(made);
        ScreenRegistry::back(PAGE_STATUS);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive && !ScreenRegistry::is_open(PAGE_STATUS));
        QCOMPARE(stubLog(), QStringList({"refresh 2 12", "back 2"}));

        // a later entry for the page replaces the earlier one
        ScreenRegistry::add(screen_entry(PAGE_STATUS, PlainScreen::global));
        PlainScreen shown;
        PlainScreen::global = &shown;
        ScreenRegistry::refresh(PAGE_STATUS, 99);
        QVERIFY(PlainScreen::refreshes == 1 && stubLog().size() == 2);
        PlainScreen::global = nullptr;
    }

    void openRunsModallyOnItsPageOnce()
    {
        StubScreen<PAGE_NETWORK>::add();
        QTimer::singleShot(0, [&] {
            ScreenRegistry::open(PAGE_NETWORK);   // a second open while it shows makes no second screen
            StubScreen<PAGE_NETWORK>::global->on_Button_back_clicked();
        });
        QVERIFY(ScreenRegistry::open(PAGE_NETWORK));
        QCOMPARE(stubLog(), QStringList({"back 10"}));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestScreenRegistry)
#include "test_screen_registry.moc"
