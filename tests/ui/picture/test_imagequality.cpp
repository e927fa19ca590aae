#include <QComboBox>
#include <QPointer>
#include <QSlider>
#include <QWheelEvent>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/picture/imagequality.h"
#include "ui/shell/option.h"

namespace {

struct Control { const char *name; int field, maximum; };   // name: slider, label and button stem
const Control kControls[7] = {
    {"bright", Img::BRIGHTNESS, 100}, {"sharpness", Img::SHARPNESS, 100}, {"contrast", Img::CONTRAST, 100},
    {"saturation", Img::SATURATION, 100}, {"red", Img::GAIN_R, 128}, {"green", Img::GAIN_G, 128},
    {"blue", Img::GAIN_B, 128},
};

// The picture quality screen over the parameter store.
struct Quality : ScreenEnv
{
    ImageQuality *s = nullptr;

    Quality() { settle(); }
    ~Quality() { delete g_imagequality; delete g_option; }
    ImageQuality *open() { s = g_imagequality = new ImageQuality; g_page_focus = PAGE_PICTURE; s->show(); return s; }
    u16 stored(const Control &c) const { return para->get_u16(c.field); }
    std::pair<u16, int> state(const Control &c) const { return {stored(c), int(c331_manage::para_update)}; }
    QSlider *slider(const Control &c) const { return child<QSlider>(s, QStringLiteral("horizontalSlider_") + c.name); }
    QString shown(const Control &c) const { return labelText(s, QStringLiteral("label_") + c.name); }
    // Every row as the sliders hold it and as the labels show it.
    QString rows() const
    {
        QStringList out;
        for (const Control &c : kControls)
            out << QStringLiteral("%1/%2").arg(slider(c)->value()).arg(shown(c));
        return out.join(QLatin1Char(' '));
    }
    QComboBox *combo() const { return child<QComboBox>(s, QStringLiteral("comboBox")); }
    void press(const Control &c, const char *what) { click(s, QStringLiteral("Button_%1_%2").arg(c.name, what)); }
    // A drag: the handle goes down, moves, and comes up.
    void drag(const Control &c, int value)
    {
        slider(c)->setSliderDown(true);
        slider(c)->setSliderPosition(value);
        slider(c)->setSliderDown(false);
    }
    // The refresh as para_sync runs it: screen first, then image over shadow.
    void refresh() { s->syncUpdate(); settle(); }
};

}

class TestImageQuality : public QObject
{
    Q_OBJECT

private slots:
    // Opens from the image writing nothing; each type is written whole; a relabel is no choice.
    void opensAndColourTemperatureTypes()
    {
        Quality q;
        const u16 values[7] = {33, 7, 81, 0, 128, 1, 90};
        for (int i = 0; i < 7; ++i)
            q.para->set_u16(kControls[i].field, values[i]);
        q.para->set_u16(Img::COLOR_TEMP, 3);
        q.settle();
        const QByteArray before = TestEnv::image();
        q.open();
        QCOMPARE(q.rows(), QStringLiteral("33/33 7/7 81/81 0/0 128/128 1/1 90/90"));
        QComboBox *box = q.combo();
        box->setCurrentIndex(3);   // the stored type again: nothing
        click(q.s, QStringLiteral("Button_temperature"));
        QVERIFY(c331_manage::para_update == 0 && TestEnv::image() == before);
        // a language through the refresh relabels the list but chooses nothing
        q.para->ram_para[Img::LANGUAGE] = 2;
        q.refresh();
        QCOMPARE(labelText(q.s, "label_title") + '/' + box->currentText(), QStringLiteral("Изображение/Холодный"));
        QCOMPARE(std::make_tuple(box->count(), q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)),
                 std::make_tuple(4, u16(3), 0));
        for (int t : {0, 2}) {
            q.para->ram_para[Img::COLOR_TEMP + 1] = 0x77;   // a stray high byte goes
            box->setCurrentIndex(t);
            QCOMPARE(std::make_pair(q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)),
                     std::make_pair(u16(t), 1));
            c331_manage::para_update = 0;
        }
        // an emptied list is no choice
        box->clear();
        QCOMPARE(std::make_pair(q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)), std::make_pair(u16(2), 0));
        // a stray high byte on the type: no type shown, nor after a language
        // change (the type is the whole word, as the scaler reads it)
        delete g_imagequality;
        q.para->set_u16(Img::COLOR_TEMP, 0x0103);
        q.settle();
        q.open();
        QCOMPARE(q.combo()->currentIndex(), -1);
        q.para->ram_para[Img::LANGUAGE] = 0;
        q.refresh();
        QCOMPARE(std::make_tuple(q.combo()->currentIndex(), q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)),
                 std::make_tuple(-1, u16(0x0103), 0));
        c331_manage::para_update = 1;
        c331_manage::pInstance()->pass();
        QCOMPARE(int(c331_manage::pInstance()->chip()->state().color_temp), 0);
    }

    // Sliders write on release, steps at the ends still write; both keep to
    // the range and clear a stray high byte; reset and Back.
    void slidersStepsResetAndBack()
    {
        Quality q;
        q.open();
        click(q.s, QStringLiteral("Button_temperature"));   // page 1 rows too, whatever shows
        for (const Control &c : kControls) {
            QSlider *sl = q.slider(c);
            const u16 stored = q.stored(c);
            c331_manage::para_update = 0;
            sl->setSliderDown(true);
            sl->setSliderPosition(37);
            QCOMPARE(std::make_pair(q.shown(c), q.state(c)), std::make_pair(QStringLiteral("37"), std::make_pair(stored, 0)));
            sl->setSliderDown(false);
            QCOMPARE(q.state(c), std::make_pair(u16(37), 1));
            // each end, by drag and by step, over a stray high byte: written, in range
            auto step = [&](int start, const char *button, int expect) {
                if (button)
                    q.drag(c, start);
                q.para->ram_para[c.field + 1] = 0x5A;
                c331_manage::para_update = 0;
                button ? q.press(c, button) : q.drag(c, start);
                QCOMPARE(QStringLiteral("%1/%2/%3/%4").arg(q.shown(c)).arg(sl->value()).arg(q.stored(c)).arg(int(c331_manage::para_update)),
                         QStringLiteral("%1/%1/%1/1").arg(expect));
            };
            step(c.maximum + 40, nullptr, c.maximum);
            step(-20, nullptr, 0);
            step(c.maximum - 1, "add", c.maximum);
            step(c.maximum, "add", c.maximum);
            step(1, "reduce", 0);
            step(0, "reduce", 0);
        }
        q.drag(kControls[0], 64);
        c331_manage::para_update = 0;
        // taps on the groove and the wheel change nothing
        click(q.s, QStringLiteral("Button_quality"));
        QVERIFY(QTest::qWaitForWindowExposed(q.s));
        QSlider *sl = q.slider(kControls[0]);
        QTest::mouseClick(sl, Qt::LeftButton, Qt::NoModifier, QPoint(220, 16));
        QTest::mouseClick(sl, Qt::LeftButton, Qt::NoModifier, QPoint(4, 16));
        QWheelEvent wheel(QPointF(120, 16), QPointF(sl->mapToGlobal(QPoint(120, 16))), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(sl, &wheel);
        QCOMPARE(q.rows().left(5), QStringLiteral("64/64"));
        QCOMPARE(q.state(kControls[0]), std::make_pair(u16(64), 0));
        // written from outside: beyond the range, and no number on the label
        q.para->set_u16(Img::BRIGHTNESS, 300);
        q.para->set_u16(Img::GAIN_R, 0x8000);
        q.refresh();
        QCOMPARE(q.shown(kControls[0]) + ' ' + q.shown(kControls[4]), QStringLiteral("100 128"));
        q.press(kControls[0], "reduce");
        child<QLabel>(q.s, QStringLiteral("label_sharpness"))->setText(QStringLiteral("XXX"));
        q.press(kControls[1], "add");
        child<QLabel>(q.s, QStringLiteral("label_contrast"))->setText(QStringLiteral("-7"));
        q.press(kControls[2], "reduce");
        QCOMPARE(std::make_tuple(q.shown(kControls[0]), q.stored(kControls[0]), q.stored(kControls[1]), q.stored(kControls[2])),
                 std::make_tuple(QStringLiteral("99"), u16(99), u16(1), u16(0)));
        // reset over stray high bytes: the factory values
        for (const Control &c : kControls)
            q.para->set_u16(c.field, u16(0x0103));
        q.para->set_u16(Img::COLOR_TEMP, 1);
        c331_manage::para_update = 0;
        click(q.s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
        const QList<int> factory{100, 50, 10, 50, 2, 64, 64, 64};   // whole 16 bits, in image order
        QList<int> image;
        for (int i = 0; i < 8; ++i)
            image << q.para->get_u16(Img::PICTURE + 2 * i);
        QCOMPARE(image, factory);
        // already at the factory values: still raised
        c331_manage::para_update = 0;
        click(q.s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
        // Back relabels the settings menu; without one the page still goes back
        g_option = new Option;
        g_language = 0;
        for (int k = 0; k < 2; ++k) {
            QPointer<ImageQuality> guard(q.s);
            click(q.s, QStringLiteral("Button_back"));
            QVERIFY(!g_imagequality && !guard && g_page_focus == PAGE_SETTINGS);
            if (g_option)
                QCOMPARE(labelText(g_option, "label_title"), QStringLiteral("设置"));
            delete g_option;
            q.open();
        }
    }
};

QTEST_MAIN(TestImageQuality)
#include "test_imagequality.moc"
