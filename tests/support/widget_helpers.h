#ifndef QEL_TESTS_WIDGET_HELPERS_H
#define QEL_TESTS_WIDGET_HELPERS_H

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/screens.h"

// Shared by the screen tests: find widgets by object name, press them, type
// on the keypad, and drive modal runs.

template <class T = QWidget>
inline T *child(QObject *parent, const QString &name)
{
    return parent ? parent->findChild<T *>(name) : nullptr;
}

// Text of a label, "<none>" when there is no such label.
inline QString labelText(QObject *parent, const QString &name)
{
    QLabel *l = child<QLabel>(parent, name);
    return l ? l->text() : QStringLiteral("<none>");
}

// The resource path a widget shows (its "res" property).
inline QString res(QObject *parent, const QString &name)
{
    QWidget *w = child(parent, name);
    return w ? w->property("res").toString() : QStringLiteral("<none>");
}

// Presses a named button and lets deferred deletes run.
inline void click(QObject *parent, const QString &name)
{
    QPushButton *b = child<QPushButton>(parent, name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs fn on the modal widget that will be active once the event loop runs
// (a modal exec started right after this call). After a failed check every
// modal run is ended, so the test returns instead of hanging; a modal widget
// that fn left open is failed and hidden after a few seconds.
inline void onModal(std::function<void(QWidget *)> fn)
{
    QTimer::singleShot(0, [fn] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        fn(modal);
        if (QTest::currentTestFailed()) {
            while (QWidget *m = QApplication::activeModalWidget())
                m->hide();
            return;
        }
        QTimer::singleShot(5000, [modal] {
            if (modal && modal->isVisible() && QApplication::activeModalWidget() == modal) {
                QTest::qFail("modal run never ended", __FILE__, __LINE__);
                modal->hide();
            }
        });
    });
}

// Types digits on the shared keypad, then OK.
inline void typeOnKeypad(const QString &digits)
{
    for (QChar d : digits)
        QTest::mouseClick(child<QPushButton>(g_numberkeyboard, QStringLiteral("Button_") + d), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(g_numberkeyboard, QStringLiteral("Button_ok")), Qt::LeftButton);
}

// A device root, the parameter store and the shared keypad, as a screen
// finds them when the shell opens it.
struct ScreenEnv
{
    TestRoot root;
    QelRamPara *para = nullptr;

    ScreenEnv()
    {
        para = QelRamPara::pInstance();
        g_numberkeyboard = new NumberKeyboard();
        c331_manage::para_update = 0;
    }
    ~ScreenEnv()
    {
        delete g_numberkeyboard;
        g_numberkeyboard = nullptr;
        c331_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
        g_page_focus = 0;
    }
    // What para_sync does after a change: the shadow follows the image.
    void settle() { std::memcpy(para->ram_para_shadow, para->ram_para, Img::SIZE); }
};

#include "ui/shell/my_lineedit.h"

// Enters text into a screen's field: digits (at most nine) are typed on the
// keypad the field opens; anything else reaches the screen as the keypad's
// OK would carry it.
inline void enterInField(My_lineEdit *field, const QString &text)
{
    QVERIFY(field);
    if (QRegularExpression(QStringLiteral("^[0-9]{0,9}$")).match(text).hasMatch()) {
        onModal([text](QWidget *pad) {
            QVERIFY(pad == g_numberkeyboard);
            typeOnKeypad(text);
        });
        QTest::mouseClick(field, Qt::LeftButton);
    } else {
        g_lineedit = field;
        emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit(text);
    }
}

#endif
