#ifndef QEL_TESTS_UI_INPUT_INPUT_SCREEN_ENV_H
#define QEL_TESTS_UI_INPUT_INPUT_SCREEN_ENV_H

#include <QFrame>

#include "tests/support/widget_helpers.h"

// The crop or EDID screen open on its page, as its opener leaves it: the
// input row above, the tile area "frame_source", fields typed on the keypad.
template <class Screen> struct InputScreenEnv : ScreenEnv
{
    Screen *screen = nullptr;

    ~InputScreenEnv()
    {
        delete screen;
        g_lineedit = nullptr;
    }
    void open(Screen *&global, u8 page)
    {
        settle();
        global = screen = new Screen;
        g_page_focus = page;
        screen->show();
    }
    QFrame *area() const { return child<QFrame>(screen, "frame_source"); }
    // What tile i paints: "name size", a space when it is empty.
    QString tile(int i) const
    {
        QWidget *t = child(area(), QString::number(i));
        return t->property("tile_name").toString() + ' ' + t->property("tile_size").toString();
    }
    void tap(int tile) { click(area(), QString::number(tile)); }
    bool formOpen() const { return child(screen, "frame_add")->isVisible(); }
    // Input column 0..5: HDMI1, HDMI2, HDMI3, HDMI4, DVI, EXT.
    void chooseInput(int column)
    {
        screen->template findChild<QPushButton *>(QString::number(column), Qt::FindDirectChildrenOnly)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void type(const char *field, const QString &text) { enterInField(child<My_lineEdit>(screen, field), text); }
    QString field(const char *name) const { return child<QLineEdit>(screen, name)->text(); }
    // Back pressed; the screen is gone after it.
    void back()
    {
        QPointer<Screen> s = screen;
        screen = nullptr;
        click(s.data(), "Button_back");
        QVERIFY(!s);
    }
    // The text a widget shows; for "keypad" the titles the fields' keypads get.
    QString shows(const QString &widget, std::initializer_list<const char *> fields)
    {
        return widget == "keypad" ? keypadTitles(fields) : child(screen, widget)->property("text").toString();
    }
    // The keypad titles the fields get, pressed in turn and closed.
    QString keypadTitles(std::initializer_list<const char *> fields)
    {
        QStringList titles;
        for (const char *f : fields) {
            const auto keypad = onModal([&titles](QWidget *pad) {
                titles << labelText(pad, "label_title");
                click(pad, "Button_close");
            });
            QTest::mouseClick(child<QLineEdit>(screen, f), Qt::LeftButton);
        }
        return titles.join(' ');
    }
};

#endif
