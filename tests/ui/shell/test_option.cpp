#include <QLabel>

#include "tests/ui/shell/shell_fixture.h"

class TestOption : public QObject
{
    Q_OBJECT

    // Opens the settings menu from the main menu and runs fn inside its modal run.
    static void inSettingsMenu(Shell &s, std::function<void(Option *)> fn)
    {
        s.w->show_menu();
        onModal([fn](QWidget *m) {
            Option *o = qobject_cast<Option *>(m);
            QVERIFY(o);
            fn(o);
            if (g_option)
                QTest::mouseClick(child<QPushButton>(g_option, "Button_back"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(s.w, "Button_setting"), Qt::LeftButton);
        QVERIFY(!g_option);
    }

private slots:
    void accessCodeIsTypedOnTheKeypad()
    {
        Shell s;
        QStringList results;
        inSettingsMenu(s, [&](Option *o) {
            const struct { QString typed; bool close; } runs[] = {
                {"8888", false}, {"1234", false}, {"88888", false}, {"", false}, {"8888", true}};
            for (const auto &run : runs) {
                onModal([run](QWidget *k) {
                    if (k != g_numberkeyboard)
                        return;
                    if (run.close)
                        QTest::mouseClick(child<QPushButton>(k, "Button_close"), Qt::LeftButton);
                    else
                        typeOnKeypad(run.typed);
                });
                results << (o->ask_access_code() ? "open" : "refused");
                QVERIFY(!g_numberkeyboard->isVisible());
                QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            }
            QCOMPARE(child<QLabel>(g_numberkeyboard, "label_title")->text(), QStringLiteral("Password"));
        });
        QCOMPARE(results, QStringList({"open", "refused", "refused", "refused", "refused"}));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }

    void keypadEntriesForOtherScreensAreNotTaken()
    {
        Shell s;
        inSettingsMenu(s, [&](Option *o) {
            // a later entry (made for another screen) must not reach a finished code prompt
            onModal([](QWidget *k) { QTest::mouseClick(child<QPushButton>(k, "Button_close"), Qt::LeftButton); });
            QVERIFY(!o->ask_access_code());
            emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QStringLiteral("8888"));
            QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        });
    }

    void textsFollowTheLanguageAndUnbuiltScreensAreDisabled()
    {
        Shell s;
        g_language = 3;
        inSettingsMenu(s, [&](Option *o) {
            QCOMPARE(child<QLabel>(o, "label_title")->text(), QStringLiteral("Cài đặt"));
            QCOMPARE(child<QPushButton>(o, "test_chart")->text(), QStringLiteral("Biểu đồ\nkiểm tra"));
            QCOMPARE(child<QPushButton>(o, "Button_back")->property("res").toString(), QStringLiteral(":/png/back.png"));
            for (const char *name : {"input_cut", "link_set", "AdvanceButton", "smart_mapping"}) {
                QPushButton *b = child<QPushButton>(o, name);
                QVERIFY2(b && !b->isEnabled(), name);
            }
            g_language = 4;
            o->language_changed();
            QCOMPARE(child<QPushButton>(o, "image_layout")->text(), QStringLiteral("畫麵佈局"));
            QCOMPARE(o->geometry(), QRect(0, 0, 800, 480));
        });
    }
};

QTEST_MAIN(TestOption)
#include "test_option.moc"
