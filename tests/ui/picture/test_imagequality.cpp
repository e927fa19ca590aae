#include <QComboBox>
#include <QPointer>
#include <QSlider>
#include <QStackedWidget>
#include <QWheelEvent>

#include "core/global.h"
#include "tests/support/widget_helpers.h"
#include "ui/picture/imagequality.h"
#include "ui/shell/option.h"

namespace {

struct Control
{
    const char *name;   // slider, label and button stem
    int field;
    int maximum;
};
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
    ~Quality()
    {
        delete g_imagequality;
        delete g_option;
    }
    ImageQuality *open()
    {
        s = g_imagequality = new ImageQuality;
        g_page_focus = PAGE_PICTURE;
        s->show();
        return s;
    }
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
    void refresh()
    {
        s->syncUpdate();
        settle();
    }
    C331_STATE applied()
    {
        c331_manage::pInstance()->pass();
        return c331_manage::pInstance()->chip()->state();
    }
};

}

class TestImageQuality : public QObject
{
    Q_OBJECT

private slots:
    void opensFromImageWithoutWriting()
    {
        Quality q;
        const u16 values[7] = {33, 7, 81, 0, 128, 1, 90};
        for (int i = 0; i < 7; ++i)
            q.para->set_u16(kControls[i].field, values[i]);
        q.para->set_u16(Img::COLOR_TEMP, 3);
        q.settle();
        u8 before[Img::SIZE];
        std::memcpy(before, q.para->ram_para, Img::SIZE);

        q.open();
        QCOMPARE(q.rows(), QStringLiteral("33/33 7/7 81/81 0/0 128/128 1/1 90/90"));
        QCOMPARE(q.combo()->currentIndex(), 3);

        // the tabs switch pages and write nothing
        click(q.s, QStringLiteral("Button_temperature"));
        QCOMPARE(child<QStackedWidget>(q.s, QStringLiteral("stackedWidget"))->currentIndex(), 1);
        QCOMPARE(int(c331_manage::para_update), 0);
        QVERIFY(std::memcmp(before, q.para->ram_para, Img::SIZE) == 0);

        // a stray high byte on the type: the list shows no type and nothing is written
        delete g_imagequality;
        q.para->set_u16(Img::COLOR_TEMP, 0x0103);
        q.settle();
        q.open();
        QCOMPARE(q.combo()->currentIndex(), -1);
        // nor after a language change: the type is the whole word, as the scaler reads it
        q.para->ram_para[Img::LANGUAGE] = 0;
        q.refresh();
        QCOMPARE(q.combo()->currentIndex(), -1);
        QCOMPARE(q.para->get_u16(Img::COLOR_TEMP), u16(0x0103));
        QCOMPARE(int(c331_manage::para_update), 0);
        QCOMPARE(int(q.applied().color_temp), 0);
    }

    // Sliders write on release, steps at the ends still write; both keep to
    // the range and clear a stray high byte.
    void slidersAndStepsStayInRange()
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
            QCOMPARE(q.shown(c), QStringLiteral("37"));
            QCOMPARE(q.state(c), std::make_pair(stored, 0));
            sl->setSliderDown(false);
            QCOMPARE(q.state(c), std::make_pair(u16(37), 1));
            c331_manage::para_update = 0;
            q.para->ram_para[c.field + 1] = 0x5A;
            q.drag(c, c.maximum + 40);
            QCOMPARE(q.shown(c) + '/' + QString::number(q.stored(c)), QStringLiteral("%1/%1").arg(c.maximum));
            q.para->ram_para[c.field + 1] = 0x01;
            q.drag(c, -20);
            QCOMPARE(q.shown(c), QStringLiteral("0"));
            QCOMPARE(q.state(c), std::make_pair(u16(0), 1));

            q.drag(c, c.maximum - 1);
            q.para->ram_para[c.field + 1] = 0x33;
            q.press(c, "add");
            QCOMPARE(q.stored(c), u16(c.maximum));
            c331_manage::para_update = 0;
            q.press(c, "add");
            QCOMPARE(q.shown(c) + '/' + QString::number(sl->value()), QStringLiteral("%1/%1").arg(c.maximum));
            QCOMPARE(q.state(c), std::make_pair(u16(c.maximum), 1));
            q.drag(c, 1);
            q.press(c, "reduce");
            c331_manage::para_update = 0;
            q.press(c, "reduce");
            QCOMPARE(q.shown(c), QStringLiteral("0"));
            QCOMPARE(q.state(c), std::make_pair(u16(0), 1));
        }
        q.drag(kControls[0], 64);
        q.drag(kControls[6], 128);
        const C331_STATE chip = q.applied();
        QCOMPARE((QList<int>{chip.brightness, chip.contrast, chip.gain_b}), (QList<int>{64, 0, 128}));

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
        QCOMPARE(q.shown(kControls[0]), QStringLiteral("99"));
        QCOMPARE(q.para->get_u16(Img::BRIGHTNESS), u16(99));
        child<QLabel>(q.s, QStringLiteral("label_sharpness"))->setText(QStringLiteral("XXX"));
        q.press(kControls[1], "add");
        QCOMPARE(q.stored(kControls[1]), u16(1));
        child<QLabel>(q.s, QStringLiteral("label_contrast"))->setText(QStringLiteral("-7"));
        q.press(kControls[2], "reduce");
        QCOMPARE(q.stored(kControls[2]), u16(0));
    }

    void colourTemperatureTypes()
    {
        Quality q;
        q.para->set_u16(Img::GAIN_R, 10);
        q.para->set_u16(Img::GAIN_G, 20);
        q.para->set_u16(Img::GAIN_B, 30);
        q.settle();
        q.open();
        QComboBox *box = q.combo();
        QCOMPARE(box->currentIndex(), 2);

        // the stored type again: nothing
        box->setCurrentIndex(2);
        QCOMPARE(int(c331_manage::para_update), 0);

        for (int t : {0, 3, 1, 2}) {
            q.para->ram_para[Img::COLOR_TEMP + 1] = 0x77;   // a stray high byte goes
            box->setCurrentIndex(t);
            QCOMPARE(std::make_pair(q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)),
                     std::make_pair(u16(t), 1));
            const C331_STATE chip = q.applied();
            QCOMPARE((QList<int>{chip.color_temp, chip.gain_r, chip.gain_g, chip.gain_b}), (QList<int>{t, 10, 20, 30}));
        }

        // an emptied list is no choice
        box->clear();
        QCOMPARE(q.para->get_u16(Img::COLOR_TEMP), u16(2));
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void resetToFactoryValues()
    {
        Quality q;
        for (const Control &c : kControls)
            q.para->set_u16(c.field, u16(0x0103));
        q.para->set_u16(Img::COLOR_TEMP, 1);
        q.settle();
        q.open();

        click(q.s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
        const QList<int> factory{100, 50, 10, 50, 2, 64, 64, 64};   // whole 16 bits, in image order
        QList<int> image;
        for (int i = 0; i < 8; ++i)
            image << q.para->get_u16(Img::PICTURE + 2 * i);
        QCOMPARE(image, factory);
        const C331_STATE chip = q.applied();
        QCOMPARE((QList<int>{chip.brightness, chip.contrast, chip.sharpness, chip.saturation, chip.color_temp,
                             chip.gain_r, chip.gain_g, chip.gain_b}),
                 factory);

        q.refresh();
        QCOMPARE(q.rows(), QStringLiteral("100/100 10/10 50/50 50/50 64/64 64/64 64/64"));
        QCOMPARE(q.combo()->currentText(), QStringLiteral("nature"));
        QCOMPARE(int(c331_manage::para_update), 0);

        // already at the factory values: still raised
        click(q.s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
    }

    void fiveLanguagesKeepTheTypeAndBack()
    {
        Quality q;
        q.para->set_u16(Img::COLOR_TEMP, 3);
        q.settle();
        q.open();

        const struct {
            int lang;
            const char *title, *cool;
        } expect[5] = {
            {0, "图像效果", "偏冷"},
            {2, "Изображение", "Холодный"},
            {3, "Chất lượng hình ảnh", "Lạnh hơn"},
            {4, "圖像效果", "偏冷"},
            {1, "Image quality", "cool"},
        };
        for (const auto &e : expect) {
            q.para->ram_para[Img::LANGUAGE] = u8(e.lang);
            q.refresh();
            QCOMPARE(labelText(q.s, "label_title") + '/' + q.combo()->currentText(),
                     QString::fromUtf8(e.title) + '/' + QString::fromUtf8(e.cool));
            // relabelling is no choice
            QCOMPARE(std::make_tuple(q.combo()->count(), q.para->get_u16(Img::COLOR_TEMP), int(c331_manage::para_update)),
                     std::make_tuple(4, u16(3), 0));
        }

        // Back: the settings menu is relabelled; without one the page still goes back
        g_option = new Option;
        QPointer<ImageQuality> guard(q.s);
        g_language = 0;
        click(q.s, QStringLiteral("Button_back"));
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QVERIFY(!g_imagequality);
        QVERIFY(guard.isNull());
        QCOMPARE(labelText(g_option, "label_title"), QStringLiteral("设置"));
        delete g_option;
        click(q.open(), QStringLiteral("Button_back"));
        QVERIFY(!g_imagequality);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
    }
};

QTEST_MAIN(TestImageQuality)
#include "test_imagequality.moc"
