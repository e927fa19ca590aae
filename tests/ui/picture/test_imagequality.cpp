#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QWheelEvent>
#include <QtTest>
#include <cstring>

#include "core/global.h"
#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"
#include "ui/picture/imagequality.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/screens.h"

namespace {

QelRamPara *img() { return QelRamPara::p_qelrampara_config; }
void imageOverShadow() { std::memcpy(img()->ram_para_shadow, img()->ram_para, Img::SIZE); }

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

template <class T> T *child(QObject *parent, const QString &name)
{
    T *w = parent->findChild<T *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}
QSlider *slider(QObject *s, const Control &c) { return child<QSlider>(s, QStringLiteral("horizontalSlider_%1").arg(c.name)); }
QLabel *valueLabel(QObject *s, const Control &c) { return child<QLabel>(s, QStringLiteral("label_%1").arg(c.name)); }
QString text(QObject *s, const char *name) { return child<QWidget>(s, QString::fromLatin1(name))->property("text").toString(); }
QComboBox *combo(QObject *s) { return child<QComboBox>(s, QStringLiteral("comboBox")); }
void click(QObject *s, const QString &name) { QTest::mouseClick(child<QWidget>(s, name), Qt::LeftButton); }
void press(QObject *s, const Control &c, const char *what)
{
    click(s, QStringLiteral("Button_%1_%2").arg(c.name, what));
}

// What a drag does: the handle goes down, moves, and comes up.
void drag(QSlider *s, int value)
{
    s->setSliderDown(true);
    s->setSliderPosition(value);
}
void release(QSlider *s) { s->setSliderDown(false); }

C331_STATE applied()
{
    c331_manage::pInstance()->pass();
    return c331_manage::pInstance()->chip()->state();
}

// The refresh as para_sync runs it: screen first, then image over shadow.
void refresh(ImageQuality *s)
{
    s->syncUpdate();
    imageOverShadow();
}

void setLanguage(ImageQuality *s, int lang)
{
    img()->ram_para[Img::LANGUAGE] = u8(lang);
    refresh(s);
}

}

class TestImageQuality : public QObject
{
    Q_OBJECT

    ImageQuality *open()
    {
        g_imagequality = new ImageQuality;
        g_page_focus = PAGE_PICTURE;
        g_imagequality->show();
        return g_imagequality;
    }

    void setUp()
    {
        QelRamPara::pInstance();
        imageOverShadow();
        g_numberkeyboard = new NumberKeyboard;
        c331_manage::para_update = 0;
    }

private slots:
    void cleanup()
    {
        delete g_imagequality;
        delete g_option;
        delete g_numberkeyboard;
        g_numberkeyboard = nullptr;
        c331_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
        g_language = 1;
    }

    void opensFromImageWithoutWriting()
    {
        TestRoot root;
        setUp();
        const u16 values[7] = {33, 7, 81, 0, 128, 1, 90};
        for (int i = 0; i < 7; ++i)
            img()->set_u16(kControls[i].field, values[i]);
        img()->set_u16(Img::COLOR_TEMP, 3);
        imageOverShadow();
        u8 before[Img::SIZE];
        std::memcpy(before, img()->ram_para, Img::SIZE);

        ImageQuality *s = open();
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(slider(s, kControls[i])->value(), int(values[i]));
            QCOMPARE(slider(s, kControls[i])->maximum(), kControls[i].maximum);
            QCOMPARE(valueLabel(s, kControls[i])->text(), QString::number(values[i]));
        }
        QCOMPARE(combo(s)->currentIndex(), 3);
        QCOMPARE(combo(s)->currentText(), QStringLiteral("cool"));
        QVERIFY(qobject_cast<QListView *>(combo(s)->view()));
        QCOMPARE(int(c331_manage::para_update), 0);
        QVERIFY(std::memcmp(before, img()->ram_para, Img::SIZE) == 0);

        // a stray high byte on the type: the list shows no type and nothing is written
        delete g_imagequality;
        img()->set_u16(Img::COLOR_TEMP, 0x0103);
        imageOverShadow();
        s = open();
        QCOMPARE(combo(s)->currentIndex(), -1);
        QCOMPARE(img()->get_u16(Img::COLOR_TEMP), u16(0x0103));
        QCOMPARE(int(c331_manage::para_update), 0);
        img()->set_u16(Img::COLOR_TEMP, 3);
        imageOverShadow();
        delete g_imagequality;
        s = open();

        QCOMPARE(text(s, "label_title"), QStringLiteral("Image quality"));
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_back"))->property("res").toString(),
                 QStringLiteral(":/png/back.png"));
        QCOMPARE(child<QWidget>(s, QStringLiteral("stackedWidget"))->geometry(), QRect(170, 68, 610, 400));
        QCOMPARE(slider(s, kControls[3])->geometry(), QRect(170, 250, 240, 32));
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_blue_reduce"))->geometry(), QRect(546, 244, 44, 44));
        QCOMPARE(child<QWidget>(s, QStringLiteral("label_name_saturation"))->geometry(), QRect(10, 252, 150, 28));
        QCOMPARE(child<QWidget>(s, QStringLiteral("label_name_red"))->geometry(), QRect(20, 112, 120, 28));

        // tabs
        auto *stack = child<QStackedWidget>(s, QStringLiteral("stackedWidget"));
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_quality"))->styleSheet(),
                 QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
        click(s, QStringLiteral("Button_temperature"));
        QCOMPARE(stack->currentIndex(), 1);
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_quality"))->styleSheet(),
                 QStringLiteral("background-color:#10101C;color:#FFFFFF"));
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_temperature"))->styleSheet(),
                 QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
        click(s, QStringLiteral("Button_quality"));
        QCOMPARE(stack->currentIndex(), 0);
        QCOMPARE(child<QWidget>(s, QStringLiteral("Button_temperature"))->styleSheet(),
                 QStringLiteral("background-color:#10101C;color:#FFFFFF"));
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void slidersWriteOnlyOnRelease()
    {
        TestRoot root;
        setUp();
        ImageQuality *s = open();
        click(s, QStringLiteral("Button_temperature"));   // page 1 rows too, whatever shows

        for (const Control &c : kControls) {
            QSlider *sl = slider(s, c);
            const u16 stored = img()->get_u16(c.field);
            c331_manage::para_update = 0;

            drag(sl, 37);
            QCOMPARE(valueLabel(s, c)->text(), QStringLiteral("37"));
            QCOMPARE(img()->get_u16(c.field), stored);
            QCOMPARE(int(c331_manage::para_update), 0);
            release(sl);
            QCOMPARE(img()->get_u16(c.field), u16(37));
            QCOMPARE(int(c331_manage::para_update), 1);
            c331_manage::para_update = 0;

            // beyond the top and the bottom: the slider keeps to its range;
            // a stray high byte is cleared with the write
            img()->ram_para[c.field + 1] = 0x5A;
            drag(sl, c.maximum + 40);
            release(sl);
            QCOMPARE(valueLabel(s, c)->text(), QString::number(c.maximum));
            QCOMPARE(img()->get_u16(c.field), u16(c.maximum));
            img()->ram_para[c.field + 1] = 0x01;
            drag(sl, -20);
            release(sl);
            QCOMPARE(valueLabel(s, c)->text(), QStringLiteral("0"));
            QCOMPARE(img()->get_u16(c.field), u16(0));
            QCOMPARE(int(c331_manage::para_update), 1);
        }

        drag(slider(s, kControls[0]), 64);
        release(slider(s, kControls[0]));
        drag(slider(s, kControls[6]), 128);
        release(slider(s, kControls[6]));
        const C331_STATE chip = applied();
        QCOMPARE(int(chip.brightness), 64);
        QCOMPARE(int(chip.contrast), 0);
        QCOMPARE(int(chip.gain_b), 128);
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void grooveAndWheelChangeNothing()
    {
        TestRoot root;
        setUp();
        img()->set_u16(Img::BRIGHTNESS, 10);
        imageOverShadow();
        ImageQuality *s = open();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QSlider *sl = slider(s, kControls[0]);
        QCOMPARE(sl->pageStep(), 0);

        QTest::mouseClick(sl, Qt::LeftButton, Qt::NoModifier, QPoint(220, 16));
        QTest::mouseClick(sl, Qt::LeftButton, Qt::NoModifier, QPoint(4, 16));
        QCOMPARE(sl->value(), 10);
        QCOMPARE(valueLabel(s, kControls[0])->text(), QStringLiteral("10"));

        QWheelEvent wheel(QPointF(120, 16), QPointF(sl->mapToGlobal(QPoint(120, 16))), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(sl, &wheel);
        QCOMPARE(sl->value(), 10);
        QCOMPARE(valueLabel(s, kControls[0])->text(), QStringLiteral("10"));
        QCOMPARE(int(c331_manage::para_update), 0);
        QCOMPARE(img()->get_u16(Img::BRIGHTNESS), u16(10));
    }

    void stepsStayInRange()
    {
        TestRoot root;
        setUp();
        ImageQuality *s = open();
        for (const Control &c : kControls) {
            drag(slider(s, c), c.maximum - 1);
            release(slider(s, c));
            img()->ram_para[c.field + 1] = 0x33;
            c331_manage::para_update = 0;
            press(s, c, "add");
            QCOMPARE(img()->get_u16(c.field), u16(c.maximum));
            // at the top it stays and still writes
            c331_manage::para_update = 0;
            press(s, c, "add");
            QCOMPARE(valueLabel(s, c)->text(), QString::number(c.maximum));
            QCOMPARE(slider(s, c)->value(), c.maximum);
            QCOMPARE(img()->get_u16(c.field), u16(c.maximum));
            QCOMPARE(int(c331_manage::para_update), 1);

            drag(slider(s, c), 1);
            release(slider(s, c));
            press(s, c, "reduce");
            c331_manage::para_update = 0;
            press(s, c, "reduce");
            QCOMPARE(valueLabel(s, c)->text(), QStringLiteral("0"));
            QCOMPARE(img()->get_u16(c.field), u16(0));
            QCOMPARE(int(c331_manage::para_update), 1);
        }
        const C331_STATE chip = applied();
        QCOMPARE(int(chip.saturation), 0);
        QCOMPARE(int(chip.gain_r), 0);

        // a gain goes up to 128, shown on the chip
        for (int i = 0; i < 128; ++i)
            press(s, kControls[5], "add");
        QCOMPARE(img()->get_u16(Img::GAIN_G), u16(128));
        QCOMPARE(int(applied().gain_g), 128);
    }

    void storedValuesOutOfRangeShowWhatIsWritten()
    {
        TestRoot root;
        setUp();
        ImageQuality *s = open();
        // written from outside: beyond the range, and no number on the label
        img()->set_u16(Img::BRIGHTNESS, 300);
        img()->set_u16(Img::GAIN_R, 0x8000);
        refresh(s);
        QCOMPARE(valueLabel(s, kControls[0])->text(), QStringLiteral("100"));
        QCOMPARE(valueLabel(s, kControls[4])->text(), QStringLiteral("128"));
        press(s, kControls[0], "reduce");
        QCOMPARE(valueLabel(s, kControls[0])->text(), QStringLiteral("99"));
        QCOMPARE(img()->get_u16(Img::BRIGHTNESS), u16(99));

        valueLabel(s, kControls[1])->setText(QStringLiteral("XXX"));
        press(s, kControls[1], "add");
        QCOMPARE(img()->get_u16(Img::SHARPNESS), u16(1));
        valueLabel(s, kControls[2])->setText(QStringLiteral("-7"));
        press(s, kControls[2], "reduce");
        QCOMPARE(valueLabel(s, kControls[2])->text(), QStringLiteral("0"));
        QCOMPARE(img()->get_u16(Img::CONTRAST), u16(0));
    }

    void colourTemperatureTypes()
    {
        TestRoot root;
        setUp();
        img()->set_u16(Img::GAIN_R, 10);
        img()->set_u16(Img::GAIN_G, 20);
        img()->set_u16(Img::GAIN_B, 30);
        imageOverShadow();
        ImageQuality *s = open();
        click(s, QStringLiteral("Button_temperature"));
        QComboBox *box = combo(s);
        QCOMPARE(box->currentIndex(), 2);

        // the stored type again: nothing
        box->setCurrentIndex(2);
        QCOMPARE(int(c331_manage::para_update), 0);

        const char *const names[4] = {"custom", "warm", "nature", "cool"};
        for (int t : {0, 3, 1, 2}) {
            img()->ram_para[Img::COLOR_TEMP + 1] = 0x77;   // a stray high byte goes
            box->setCurrentIndex(t);
            QCOMPARE(box->currentText(), QString::fromLatin1(names[t]));
            QCOMPARE(img()->get_u16(Img::COLOR_TEMP), u16(t));
            QCOMPARE(int(c331_manage::para_update), 1);
            const C331_STATE chip = applied();
            QCOMPARE(int(chip.color_temp), t);
            QCOMPARE(int(chip.gain_r), 10);
            QCOMPARE(int(chip.gain_g), 20);
            QCOMPARE(int(chip.gain_b), 30);
        }
        QCOMPARE(img()->get_u16(Img::GAIN_R), u16(10));

        // an emptied list is no choice
        box->clear();
        QCOMPARE(img()->get_u16(Img::COLOR_TEMP), u16(2));
        QCOMPARE(int(c331_manage::para_update), 0);
    }

    void resetToFactoryValues()
    {
        TestRoot root;
        setUp();
        for (const Control &c : kControls)
            img()->set_u16(c.field, u16(0x0103));
        img()->set_u16(Img::COLOR_TEMP, 1);
        imageOverShadow();
        ImageQuality *s = open();

        click(s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
        const u16 factory[8] = {100, 50, 10, 50, 2, 64, 64, 64};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(img()->get_u16(Img::PICTURE + 2 * i), factory[i]);
        QVERIFY(std::memcmp(img()->ram_para + Img::PICTURE,
                            QelRamPara::default_para_ramlist() + 2 + Img::PICTURE - Img::SETTINGS_START, 16) == 0);
        // the controls follow with the refresh
        QCOMPARE(valueLabel(s, kControls[4])->text(), QStringLiteral("128"));

        const C331_STATE chip = applied();
        QCOMPARE(int(chip.brightness), 100);
        QCOMPARE(int(chip.contrast), 50);
        QCOMPARE(int(chip.sharpness), 10);
        QCOMPARE(int(chip.saturation), 50);
        QCOMPARE(int(chip.color_temp), 2);
        QCOMPARE(int(chip.gain_r), 64);
        QCOMPARE(int(chip.gain_g), 64);
        QCOMPARE(int(chip.gain_b), 64);

        refresh(s);
        const char *const shown[7] = {"100", "10", "50", "50", "64", "64", "64"};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(valueLabel(s, kControls[i])->text(), QString::fromLatin1(shown[i]));
            QCOMPARE(slider(s, kControls[i])->value(), QString::fromLatin1(shown[i]).toInt());
        }
        QCOMPARE(combo(s)->currentText(), QStringLiteral("nature"));
        QCOMPARE(int(c331_manage::para_update), 0);

        // already at the factory values: still raised
        click(s, QStringLiteral("Button_reset"));
        QCOMPARE(int(c331_manage::para_update), 1);
    }

    void fiveLanguagesKeepTheType()
    {
        TestRoot root;
        setUp();
        img()->set_u16(Img::COLOR_TEMP, 3);
        imageOverShadow();
        ImageQuality *s = open();

        struct Expect
        {
            int lang;
            const char *title, *quality, *temperature, *bright, *reset, *type, *cool;
        };
        const Expect expect[5] = {
            {0, "图像效果", "画质", "色温", "亮度", "画质复位", "色温类型", "偏冷"},
            {2, "Изображение", "Качество", "Оттенок", "Яркость", "Сбросить", "Выбор цвета", "Холодный"},
            {3, "Chất lượng hình ảnh", "Chất lượng", "Độ màu", "Độ cao", "Đặt lại chất lượng hình ảnh",
             "Lựa chọn độ màu", "Lạnh hơn"},
            {4, "圖像效果", "畫質", "色溫", "亮度", "畫質複位", "色溫類型", "偏冷"},
            {1, "Image quality", "Quality", "Temperature", "Brightness", "Reset", "temperature type", "cool"},
        };
        for (const Expect &e : expect) {
            setLanguage(s, e.lang);
            QCOMPARE(int(g_language), e.lang);
            QCOMPARE(text(s, "label_title"), QString::fromUtf8(e.title));
            QCOMPARE(text(s, "Button_quality"), QString::fromUtf8(e.quality));
            QCOMPARE(text(s, "Button_temperature"), QString::fromUtf8(e.temperature));
            QCOMPARE(text(s, "label_name_bright"), QString::fromUtf8(e.bright));
            QCOMPARE(text(s, "Button_reset"), QString::fromUtf8(e.reset));
            QCOMPARE(text(s, "label_type"), QString::fromUtf8(e.type));
            QCOMPARE(combo(s)->count(), 4);
            QCOMPARE(combo(s)->currentIndex(), 3);
            QCOMPARE(combo(s)->currentText(), QString::fromUtf8(e.cool));
            QCOMPARE(text(s, "Button_bright_add"), QStringLiteral("+"));
            // relabelling is no choice
            QCOMPARE(img()->get_u16(Img::COLOR_TEMP), u16(3));
            QCOMPARE(int(c331_manage::para_update), 0);
        }

        // a language not allowed falls back to English
        g_lcd_lang_valid = 0x1F & ~(1 << 2);
        s->language_changed();
        QCOMPARE(text(s, "label_name_red"), QStringLiteral("Red"));
        g_lcd_lang_valid = 0x1F;
    }

    void backReturnsToSettings()
    {
        TestRoot root;
        setUp();
        g_option = new Option;
        ImageQuality *s = open();
        QPointer<ImageQuality> guard(s);
        g_language = 0;
        s->on_Button_back_clicked();
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QVERIFY(!g_imagequality);
        QCOMPARE(child<QWidget>(g_option, QStringLiteral("label_title"))->property("text").toString(),
                 QStringLiteral("设置"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());

        // without a settings menu
        delete g_option;
        open()->on_Button_back_clicked();
        QVERIFY(!g_imagequality);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(TestImageQuality)
#include "test_imagequality.moc"
