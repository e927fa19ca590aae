#include "tests/ui/shell/shell_fixture.h"

class TestOption : public QObject
{
    Q_OBJECT

private slots:
    // The window layout's access code, typed on the keypad: only "8888"
    // confirmed with OK opens.
    void accessCodeIsTypedOnTheKeypad()
    {
        Shell s;
        QStringList results;
        s.inSettings([&](QWidget *m) {
            Option *o = qobject_cast<Option *>(m);
            QVERIFY(o);
            QCOMPARE(res(o, "Button_back"), QStringLiteral(":/png/back.png"));
            const struct { QString typed; bool close; } runs[] = {
                {"8888", false}, {"1234", false}, {"88888", false}, {"", false}, {"8888", true}};
            for (const auto &run : runs) {
                onModal([run](QWidget *k) {
                    if (!run.close)
                        return typeOnKeypad(run.typed);
                    for (QChar d : run.typed)
                        QTest::mouseClick(child<QPushButton>(k, QStringLiteral("Button_") + d), Qt::LeftButton);
                    QTest::mouseClick(child<QPushButton>(k, "Button_close"), Qt::LeftButton);
                });
                results << (o->ask_access_code() ? "open" : "refused");
                QVERIFY(!g_numberkeyboard->isVisible());
                QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
            }
            // a later entry, made for another screen, reaches no finished prompt
            emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(QStringLiteral("8888"));
        });
        QCOMPARE(results, QStringList({"open", "refused", "refused", "refused", "refused"}));
        QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
    }
};

QTEST_MAIN(TestOption)
#include "test_option.moc"
