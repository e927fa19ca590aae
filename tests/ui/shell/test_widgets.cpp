#include <QDialog>
#include <QSignalSpy>

#include "tests/ui/shell/shell_fixture.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screen_helpers.h"

namespace {
const QString kBars = QStringLiteral(":/png/img_test6.png");   // colour bars: scaling shows
}

// The shell's own widgets: tip, progress ring, keypad and pictures.
class TestWidgets : public QObject
{
    Q_OBJECT

    // Whether the tip still shows after n more ticks.
    static bool shownAfter(TIP &tip, unsigned n)
    {
        TestEnv::advanceTicks(n);
        tip.tick();
        return tip.isVisible();
    }
    static void press(NumberKeyboard &kb, std::initializer_list<const char *> keys)
    {
        for (const char *k : keys)
            click(&kb, QString::fromLatin1(k));
    }

private slots:
    void cleanup() { g_qround_bar = nullptr; }

    // One content at a time, hidden after 300 ticks, each replacement
    // counting its own; code 2 only takes away what shows.
    void contentAndTime()
    {
        TestRoot root;
        TIP tip;
        TestEnv::advanceTicks(5000);
        tip.tip_create(1);
        QCOMPARE(QApplication::activeModalWidget(), &tip);
        QVERIFY(shownAfter(tip, 299) && !shownAfter(tip, 1));
        QCOMPARE(tip.code(), 0);

        tip.tip_create(3);
        TestEnv::advanceTicks(200);
        tip.tip_create(4);
        const auto labels = tip.findChildren<QLabel *>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first()->text(), QStringLiteral("USB stick removed"));
        QVERIFY(labels.first()->isVisible());   // made while the tip already showed
        QVERIFY(shownAfter(tip, 200) && !shownAfter(tip, 100));

        G_timeTicks = 0xFFFFFF00u;   // across the wrap of the tick counter
        tip.tip_create(1);
        QVERIFY(shownAfter(tip, 0x110) && !shownAfter(tip, 0x20));

        tip.tip_create(2);
        QVERIFY(tip.findChildren<QLabel *>().isEmpty() && tip.code() == 0);
        QVERIFY(!tip.isVisible() && !QApplication::activeModalWidget());
    }

    // One ring at a time; values clamped; closed by its 100, cut from the
    // job and deleted later, not under the caller.
    void ringLife()
    {
        TestRoot root;
        QDialog screen, other;
        QRoundProgressBar::create_qround_bar(&screen);
        QPointer<QRoundProgressBar> bar = g_qround_bar;
        QVERIFY(bar && bar->parentWidget() == &screen);
        QRoundProgressBar::create_qround_bar(&other);
        QVERIFY(g_qround_bar == bar.data() && other.findChildren<QRoundProgressBar *>().isEmpty());

        bar->para_sync(-5);
        QCOMPARE(bar->value(), 0);
        bar->para_sync(99);
        QCOMPARE(bar->value(), 99);

        QObject job;
        QObject::connect(&job, &QObject::objectNameChanged, bar.data(), [b = bar.data()] { b->para_sync(100); });
        job.setObjectName(QStringLiteral("done"));
        QVERIFY(!g_qround_bar && bar);
        bar->para_sync(50);   // ignored once closed
        QCOMPARE(bar->value(), 99);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!bar);
        job.setObjectName(QStringLiteral("again"));   // no receiver left
    }

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

        g_language = 4;   // zh-TW not offered: English stands in
        g_lcd_lang_valid = 0x0F;
        kb.label_show("Width", "1");
        QCOMPARE(child<QPushButton>(&kb, "Button_ok")->text(), QStringLiteral("OK"));
    }

    // Pictures from the resources: drawn as a label with scaled contents draws them.
    void pictureAsTheLabelWouldScaleIt_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QSize>("size");
        QTest::newRow("5 px border") << "border:5px solid rgb(255,171,84);" << QSize(100, 100);
        QTest::newRow("wide") << "background: transparent;" << QSize(63, 24);
    }
    void pictureAsTheLabelWouldScaleIt()
    {
        QFETCH(QString, style);
        QFETCH(QSize, size);
        QDialog d;
        d.setStyleSheet(QStringLiteral("background-color: rgb(16, 16, 28);"));
        QLabel *ours = new QLabel(&d), *plain = new QLabel(&d);
        for (QLabel *l : {ours, plain}) {
            l->setGeometry(QRect(QPoint(0, l == ours ? 0 : 200), size));
            l->setStyleSheet(style);
        }
        set_picture(ours, kBars);
        plain->setPixmap(QPixmap(kBars));
        plain->setScaledContents(true);
        d.show();
        QCOMPARE(ours->pixmap(Qt::ReturnByValue).size(), ours->contentsRect().size());
        QCOMPARE(ours->grab().toImage(), plain->grab().toImage());

        // the home screen's input pictures keep their aspect
        const QString hdmi = QStringLiteral(":/png/HDMI13.png");
        QCOMPARE(cached_picture(hdmi, QSize(110, 70), Qt::KeepAspectRatio).toImage(),
                 QPixmap(hdmi).scaled(QSize(110, 70), Qt::KeepAspectRatio, Qt::SmoothTransformation).toImage());
    }

    // Every picture the screens name is in the linked resources.
    void everyPictureIsThere()
    {
        QStringList paths = {":/png/osd_no.bmp", ":/png/osd_yes.bmp"};
        const QString names = "DVI HDMI HDMI13 HDMI13_hui HDMI13_lv HDMI20 HDMI20_hui HDMI20_lv add back button_off "
                              "button_on checked dvihui dvilv exthui extlv lock menu next offline online out_copy "
                              "out_horizontal out_vertical page_change previous state_off state_on tip_ok unchecked "
                              "unlock warning";
        for (const QString &name : names.split(' '))
            paths << QStringLiteral(":/png/%1.png").arg(name);
        for (int n = 1; n <= 16; ++n) {   // routing patterns, test pictures, mirror switches
            paths << QStringLiteral(":/png/line%1.png").arg(n);
            if (n <= 8)
                paths << QStringLiteral(":/png/img_test%1.png").arg(n);
            if (n <= 4)
                paths << QStringLiteral(":/png/mirror%1_on.png").arg(n) << QStringLiteral(":/png/mirror%1_off.png").arg(n);
        }
        for (const char *lang : {"", "en_", "ru_", "tn_", "vn_"})
            for (const char *part : {"input", "output", "version"})
                paths << QStringLiteral(":/png/%1%2_state.png").arg(QLatin1String(lang), QLatin1String(part));
        for (const QString &path : paths)
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }
};

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
