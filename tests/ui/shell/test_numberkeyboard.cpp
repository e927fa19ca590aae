#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "core/global.h"
#include "tests/support/testenv.h"
#include "ui/shell/numberkeyboard.h"

class TestNumberKeyboard : public QObject
{
    Q_OBJECT

    static void press(NumberKeyboard &kb, const QString &name)
    {
        auto *b = kb.findChild<QPushButton *>(name);
        QVERIFY2(b, qPrintable(name));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static QString shown(NumberKeyboard &kb, const char *label)
    {
        auto *l = kb.findChild<QLabel *>(QString::fromLatin1(label));
        return l ? l->text() : QStringLiteral("<missing>");
    }

private slots:
    void typingDeletingAndOkReachEveryReceiver()
    {
        TestRoot root;
        NumberKeyboard kb;
        QCOMPARE(kb.size(), QSize(380, 480));
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1920"));
        kb.show();
        QCOMPARE(shown(kb, "label_value"), QStringLiteral("1920"));
        QCOMPARE(kb.typed(), QString());

        QSignalSpy first(&kb, &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        QSignalSpy second(&kb, &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        for (const char *k : {"Button_1", "Button_0", "Button_9", "Button_del", "Button_2", "Button_0"})
            press(kb, QString::fromLatin1(k));
        QCOMPARE(kb.typed(), QStringLiteral("1020"));
        QCOMPARE(shown(kb, "label_value"), QStringLiteral("1020"));

        press(kb, QStringLiteral("Button_ok"));
        QCOMPARE(first.count(), 1);
        QCOMPARE(second.count(), 1);
        QCOMPARE(first.at(0).at(0).toString(), QStringLiteral("1020"));
        QVERIFY(!kb.isVisible());

        // A new opening starts from an empty entry; everything deleted sends "".
        kb.label_show(QStringLiteral("Height"), QStringLiteral("1080"));
        kb.show();
        press(kb, QStringLiteral("Button_del"));   // nothing to delete
        press(kb, QStringLiteral("Button_5"));
        press(kb, QStringLiteral("Button_del"));
        press(kb, QStringLiteral("Button_del"));
        QCOMPARE(shown(kb, "label_value"), QString());
        press(kb, QStringLiteral("Button_ok"));
        QCOMPARE(first.count(), 2);
        QCOMPARE(first.at(1).at(0).toString(), QString());
    }

    void closeEmitsNothingAndEndsTheModalRun()
    {
        TestRoot root;
        NumberKeyboard kb;
        QSignalSpy spy(&kb, &NumberKeyboard::sendKeyBoardUIDataToLineEdit);
        kb.label_show(QStringLiteral("X"), QStringLiteral("0"));
        QTimer::singleShot(0, &kb, [&] {
            press(kb, QStringLiteral("Button_7"));
            press(kb, QStringLiteral("Button_close"));
        });
        kb.exec();   // returns only when the keypad hides
        QVERIFY(!kb.isVisible());
        QCOMPARE(spy.count(), 0);

        kb.label_show(QStringLiteral("X"), QStringLiteral("0"));
        QTimer::singleShot(0, &kb, [&] {
            press(kb, QStringLiteral("Button_3"));
            press(kb, QStringLiteral("Button_ok"));
        });
        kb.exec();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("3"));
    }

    void entryStaysWithinAnInt()
    {
        TestRoot root;
        NumberKeyboard kb;
        kb.label_show(QStringLiteral("W"), QString());
        for (int i = 0; i < 15; ++i)
            press(kb, QStringLiteral("Button_9"));
        bool ok = false;
        kb.typed().toInt(&ok);
        QVERIFY(ok);
        QCOMPARE(kb.typed(), QStringLiteral("999999999"));
    }

    void titleSizeAndKeyLanguage()
    {
        TestRoot root;
        NumberKeyboard kb;
        auto *title = kb.findChild<QLabel *>(QStringLiteral("label_title"));
        QVERIFY(title);
        kb.label_show(QString::fromUtf8("输入宽度"), QStringLiteral("1"));   // four characters
        QCOMPARE(title->font().pixelSize(), 18);
        QCOMPARE(title->text(), QString::fromUtf8("输入宽度"));
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1"));
        QCOMPARE(title->font().pixelSize(), 25);
        kb.label_show(QStringLiteral("abc"), QStringLiteral("1"));
        QCOMPARE(title->font().pixelSize(), 25);

        auto *ok = kb.findChild<QPushButton *>(QStringLiteral("Button_ok"));
        g_language = 0;
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1"));
        QCOMPARE(ok->text(), QString::fromUtf8("确定"));
        g_language = 4;
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1"));
        QCOMPARE(ok->text(), QString::fromUtf8("確定"));
        g_lcd_lang_valid = 0x0F;   // zh-TW not offered: English stands in
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        g_language = 2;
        kb.label_show(QStringLiteral("Width"), QStringLiteral("1"));
        QCOMPARE(kb.findChild<QPushButton *>(QStringLiteral("Button_close"))->text(), QString::fromUtf8("Закрыть"));
    }
};

QTEST_MAIN(TestNumberKeyboard)
#include "test_numberkeyboard.moc"
