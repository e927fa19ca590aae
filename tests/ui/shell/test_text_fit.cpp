#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include "tests/support/testenv.h"
#include "tools/screenshots/panel_tour.h"
#include "tools/screenshots/text_check.h"
#include "ui/shell/digit_clock.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/screen_registry.h"

namespace {
// The fit PanelStyle drew for `w` when it was painted.
TextFit painted_fit(QWidget *w, QImage *image)
{
    TextFit fit;
    PanelStyle::set_watcher([&](const PanelStyle::DrawnText &t) {
        if (t.widget == w)
            fit = t.fit;
    });
    *image = w->grab().toImage();
    PanelStyle::set_watcher(nullptr);
    return fit;
}

// The panel's dark window with a text in white (48 pt, as the home
// screen's clock), as a label or as the clock.
struct ClockWindow
{
    QWidget window;
    QWidget *text = nullptr;

    ClockWindow(bool clock, const QString &shown, const QString &color = QStringLiteral("rgb(255, 255, 255)"))
    {
        window.setObjectName(QStringLiteral("dark"));
        window.setStyleSheet(QStringLiteral("QWidget#dark{background-color: rgb(16, 16, 28);} "
                                            "QLabel, DigitClock{color: %1;}").arg(color));
        window.setGeometry(0, 0, 400, 200);
        if (clock) {
            auto *c = new DigitClock(&window);
            c->setText(shown);
            text = c;
        } else {
            text = new QLabel(shown, &window);
            static_cast<QLabel *>(text)->setAlignment(Qt::AlignCenter);
        }
        text->setObjectName(QStringLiteral("label_time"));
        QFont f = text->font();
        f.setPointSize(48);
        text->setFont(f);
        text->setGeometry(0, 40, 400, 90);
        window.show();
    }
};

QRect ink_box(const QImage &img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Records the region each paint of a widget covers.
struct PaintSpy : QObject
{
    QRegion painted;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};

bool ink_in_column(const QImage &img, int x)
{
    for (int y = 0; y < img.height(); ++y)
        if (qGray(img.pixel(x, y)) > 100)
            return true;
    return false;
}
}

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    // Texts too wide for their widget are wrapped or made smaller as they
    // are drawn; the widget keeps its text and geometry.
    void fitting_data()
    {
        QTest::addColumn<bool>("button");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");   // as drawn; empty: the text
        QTest::addColumn<int>("pxLow");
        QTest::addColumn<int>("pxHigh");
        const QString ru = QString::fromUtf8("Использовать");
        QTest::newRow("fits") << false << QSize(200, 30) << "Short" << QString() << 18 << 18;
        QTest::newRow("one line, smaller") << false << QSize(120, 30) << QString::fromUtf8("Độ tương phản dài")
                                           << QString() << 10 << 17;
        QTest::newRow("button: two lines") << true << QSize(178, 60)
                                           << QString::fromUtf8("Đặt lại chất lượng hình ảnh")
                                           << QString::fromUtf8("Đặt lại chất\nlượng hình ảnh") << 18 << 18;
        QTest::newRow("one word, two lines") << false << QSize(56, 30) << ru
                                             << QString::fromUtf8("Исполь-\nзовать") << 10 << 13;
        QTest::newRow("own lines too tall") << false << QSize(300, 40) << QString::fromUtf8("Тестовый\nобразец")
                                            << QString() << 10 << 17;
        QTest::newRow("nothing fits: 10 px") << false << QSize(30, 20) << ru << QString() << 10 << -10;
    }
    void fitting()
    {
        QFETCH(bool, button);
        QFETCH(QSize, size);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(int, pxLow);
        QFETCH(int, pxHigh);
        const bool fits = pxHigh > 0;   // a negative high mark: nothing fits
        QWidget window;
        window.resize(400, 200);
        QWidget *w = button ? static_cast<QWidget *>(new QPushButton(text, &window))
                            : static_cast<QWidget *>(new QLabel(text, &window));
        w->setStyleSheet(QStringLiteral("color: white; background: black; font: 18px")
                         + (button ? QStringLiteral("; border: 1px solid white") : QString()));
        w->setGeometry(QRect(QPoint(10, 10), size));
        window.show();

        QImage img;
        const TextFit fit = painted_fit(w, &img);
        QCOMPARE(fit.text, shown.isEmpty() ? text : shown);
        QCOMPARE(fit.fits, fits);
        const int px = QFontInfo(fit.font).pixelSize();
        QVERIFY2(px >= pxLow && px <= qAbs(pxHigh), qPrintable(QString::number(px)));
        QCOMPARE(std::make_pair(w->geometry(), w->property("text").toString()),
                 std::make_pair(QRect(QPoint(10, 10), size), text));
        if (!fits)
            return;
        QVERIFY(fit.needed > 0);
        QVERIFY(button || !ink_in_column(img, img.width() - 1));
    }

    // The clock draws its text where and as a label draws it, and a new
    // second repaints only the digits that changed.
    void clockLooksLikeALabel()
    {
        const QString time = QStringLiteral("12:34:56");
        ClockWindow label(false, time), clock(true, time);
        const QImage b = clock.window.grab().toImage();
        const QRect box = ink_box(label.window.grab().toImage());
        QVERIFY(box.width() > 200 && box.height() > 40);
        const QRect clockBox = ink_box(b);   // each edge within a pixel of the label's
        auto str = [](QRect r) {
            return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        };
        QVERIFY2(box.adjusted(-1, -1, 1, 1).contains(clockBox) && clockBox.adjusted(-1, -1, 1, 1).contains(box),
                 qPrintable(QStringLiteral("label %1, clock %2").arg(str(box), str(clockBox))));
        QCOMPARE(clock.text->property("text").toString(), time);

        PaintSpy spy;
        clock.text->installEventFilter(&spy);
        QTRY_VERIFY(!spy.painted.isEmpty());   // shown
        QTest::qWait(50);                       // and settled
        spy.painted = QRegion();
        clock.text->setProperty("text", QStringLiteral("12:34:57"));
        QTRY_VERIFY(!spy.painted.isEmpty());
        const QRect last = spy.painted.boundingRect();
        QVERIFY2(last.left() > box.left() + box.width() * 3 / 4 && last.width() < box.width() / 4,
                 qPrintable(QStringLiteral("repainted %1..%2").arg(last.left()).arg(last.right())));
    }

    // The ink check finds a text that is set but leaves no ink, and lets
    // pass one drawn, painted by its own widget, or hidden by what lies
    // above it.
    void inkCheck_data()
    {
        QTest::addColumn<bool>("clock");
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("cover");   // "", "window", "sibling"
        QTest::addColumn<bool>("found");
        const QString white = QStringLiteral("rgb(255, 255, 255)"), dark = QStringLiteral("rgb(16, 16, 28)");
        for (bool clock : {false, true}) {
            const char *what = clock ? "clock" : "label";
            QTest::addRow("%s drawn", what) << clock << white << QString() << false;
            QTest::addRow("%s in its background's colour", what) << clock << dark << QString() << true;
        }
        QTest::newRow("under a higher window") << false << dark << "window" << false;
        QTest::newRow("under a raised pop-up") << true << dark << "sibling" << false;
    }
    void inkCheck()
    {
        QFETCH(bool, clock);
        QFETCH(QString, color);
        QFETCH(QString, cover);
        QFETCH(bool, found);
        ClockWindow view(clock, QStringLiteral("12:34:56"), color);
        QList<QWidget *> windows{&view.window};
        QWidget above(nullptr, Qt::Window | Qt::FramelessWindowHint);
        if (cover == QLatin1String("window")) {
            above.setGeometry(150, 0, 250, 200);
            above.show();
            windows << &above;
        } else if (cover == QLatin1String("sibling")) {
            auto *popup = new QFrame(&view.window);
            popup->setStyleSheet(QStringLiteral("background: rgb(40, 44, 64)"));
            popup->setGeometry(20, 20, 200, 150);
            popup->show();
        }
        int checked = 0;
        const QList<TextWithoutInk> missing = TextCheck::without_ink(windows, nullptr, &checked);
        QCOMPARE(checked, cover.isEmpty() ? 1 : 0);
        QCOMPARE(missing.size(), found ? 1 : 0);
        if (found)
            QCOMPARE(std::make_pair(missing.first().object, missing.first().text),
                     std::make_pair(QStringLiteral("label_time"), QStringLiteral("12:34:56")));
    }

    // Every view of the panel, every registered screen, in every language:
    // each text fits its widget and leaves ink in the view.
    void everyScreenFitsInEveryLanguage()
    {
        PanelTour tour;
        int pages = 0;
        for (int p = 0; p <= 255; ++p)
            pages += ScreenRegistry::registered(u8(p)) ? 1 : 0;
        QStringList problems;
        for (int lang = 0; lang < PanelTour::kLanguages; ++lang) {
            const QString code = PanelTour::language_code(lang);
            QSet<QString> views;
            tour.visit(lang, [&](const QString &view, const QList<QWidget *> &windows) {
                views.insert(view);
                int checked = 0;
                for (const TextOverflow &o : TextCheck::overflows(windows, &checked))
                    problems << QStringLiteral("%1 %2 %3: needs %4 px of %5%6: \"%7\"")
                                    .arg(view, code, o.object)
                                    .arg(o.needed)
                                    .arg(o.available)
                                    .arg(o.height ? QStringLiteral(" in height") : QString(), o.text);
                if (checked == 0)
                    problems << QStringLiteral("%1 %2: no text seen").arg(view, code);
                for (const TextWithoutInk &m : TextCheck::without_ink(windows))
                    problems << QStringLiteral("%1 %2 %3: no ink: \"%4\"").arg(view, code, m.object, m.text);
            });
            QVERIFY(views.size() >= pages);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QVERIFY2(tour.left_open().isEmpty(), qPrintable(tour.left_open().join(QLatin1Char('\n'))));
    }
};

int main(int argc, char **argv)
{
    TestRoot root;
    PanelApp app(argc, argv);
    TestTextFit t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_text_fit.moc"
