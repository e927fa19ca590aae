#ifndef QEL_TESTS_WIDGET_HELPERS_H
#define QEL_TESTS_WIDGET_HELPERS_H

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>
#include <utility>

#include "core/global.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/shell/my_lineedit.h"
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

// A step for the next modal widget that opens (a modal exec, or a modal
// shown with show()), run once that widget's run has started, and owned by
// the scope that made it (onModal). When the scope ends before that modal
// opened, the test fails with "modal never opened" and the step is dropped:
// it never runs later, inside another test, on another dialog. After a
// failed check every modal run is ended, so the test returns instead of
// hanging; a modal widget that the step left open is failed and hidden after
// a few seconds.
class [[nodiscard]] ModalStep : public QObject
{
public:
    // required false: the scope may end without a modal (opensModal).
    explicit ModalStep(std::function<void(QWidget *)> fn, bool required = true)
        : m_fn(std::move(fn)), m_required(required)
    {
        qApp->installEventFilter(this);
    }
    ~ModalStep() override
    {
        qApp->removeEventFilter(this);
        if (m_required && !m_ran && !QTest::currentTestFailed())
            QTest::qVerify(false, "modal step ran",
                           m_opened ? "modal opened, but its step never ran" : "modal never opened", __FILE__,
                           __LINE__);
    }
    bool opened() const { return m_opened; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QWidget *w = watched->isWidgetType() ? static_cast<QWidget *>(watched) : nullptr;
        if (!m_opened && event->type() == QEvent::Show && w && w->isWindow() && w->isModal()) {
            m_opened = true;
            m_modal = w;
            qApp->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { run(); });   // inside its run
        }
        return false;
    }

private:
    void run()
    {
        m_ran = true;
        m_fn(m_modal);
        if (!QTest::currentTestFailed())
            return QTimer::singleShot(5000, this, [this] {
                if (m_modal && m_modal->isVisible() && QApplication::activeModalWidget() == m_modal) {
                    QTest::qFail("modal run never ended", __FILE__, __LINE__);
                    m_modal->hide();
                }
            });
        while (QWidget *m = QApplication::activeModalWidget())
            m->hide();
    }

    std::function<void(QWidget *)> m_fn;
    bool m_required, m_opened = false, m_ran = false;
    QPointer<QWidget> m_modal;
};

// Runs fn on the next modal widget that opens while the returned step lives:
//   const auto pad = onModal([](QWidget *pad) { ... });
//   QTest::mouseClick(field, Qt::LeftButton);   // opens it
// Runs fn on the next modal widget that opens while the returned step lives:
//   const auto pad = onModal([](QWidget *pad) { ... });
//   QTest::mouseClick(field, Qt::LeftButton);   // opens it
inline ModalStep onModal(std::function<void(QWidget *)> fn) { return ModalStep(std::move(fn)); }

// Whether action opens a modal widget; one that opens is closed at once.
inline bool opensModal(const std::function<void()> &action)
{
    ModalStep step([](QWidget *m) { m ? m->hide() : void(); }, false);
    action();
    QCoreApplication::processEvents();   // a modal shown without a run of its own
    return step.opened();
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

// Enters text into a screen's field: digits (at most nine) are typed on the
// keypad the field opens; anything else reaches the screen as the keypad's
// OK would carry it.
inline void enterInField(My_lineEdit *field, const QString &text)
{
    QVERIFY(field);
    if (QRegularExpression(QStringLiteral("^[0-9]{0,9}$")).match(text).hasMatch()) {
        const auto pad = onModal([text](QWidget *pad) {
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
