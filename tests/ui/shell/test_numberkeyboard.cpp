#include <QSignalSpy>

#include "tests/ui/shell/shell_fixture.h"

class TestNumberKeyboard : public QObject
{
    Q_OBJECT

    static void press(NumberKeyboard &kb, std::initializer_list<const char *> keys)
    {
        for (const char *k : keys)
            click(&kb, QString::fromLatin1(k));
    }

private slots:
    void typingDeletingAndOk()
    {
        TestRoot root;
        NumberKeyboard kb;
        kb.label_show("Width", "1920");
        kb.show();
        QCOMPARE(labelText(&kb, "label_value"), QStringLiteral("1920"));

        QSignalSpy first(&kb, &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        press(kb, {"Button_1", "Button_0", "Button_9", "Button_del", "Button_2", "Button_0"});
        QCOMPARE(labelText(&kb, "label_value"), QStringLiteral("1020"));
        press(kb, {"Button_ok"});
        QVERIFY(first.count() == 1 && !kb.isVisible());
        QCOMPARE(first.at(0).at(0).toString(), QStringLiteral("1020"));

        // a new opening starts from an empty entry; everything deleted sends ""
        kb.label_show("Height", "1080");
        press(kb, {"Button_del", "Button_5", "Button_del", "Button_del", "Button_ok"});
        QCOMPARE(first.last().at(0).toString() + QString::number(first.count()), QStringLiteral("2"));

        // the entry stays within an int
        kb.label_show("W", QString());
        for (int i = 0; i < 15; ++i)
            press(kb, {"Button_9"});
        QCOMPARE(kb.typed(), QStringLiteral("999999999"));

        g_language = 4;   // the keys in the language; zh-TW not offered: English stands in
        kb.label_show("Width", "1");
        QCOMPARE(child<QPushButton>(&kb, "Button_ok")->text(), QString::fromUtf8("確定"));
        g_lcd_lang_valid = 0x0F;
        kb.label_show("Width", "1");
        QCOMPARE(child<QPushButton>(&kb, "Button_ok")->text(), QStringLiteral("OK"));
    }
};

QTEST_MAIN(TestNumberKeyboard)
#include "test_numberkeyboard.moc"
