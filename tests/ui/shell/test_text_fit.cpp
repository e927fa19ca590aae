#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include "tests/support/testenv.h"
#include "tools/screenshots/panel_tour.h"
#include "tools/screenshots/text_check.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/screen_registry.h"

namespace {
// The fit PanelStyle drew for `w` when it was painted.
TextFit painted_fit(QWidget *w, QImage *image = nullptr)
{
    TextFit fit;
    PanelStyle::set_watcher([&](QWidget *painted, const QString &, const TextFit &f) {
        if (painted == w)
            fit = f;
    });
    const QImage img = w->grab().toImage();
    PanelStyle::set_watcher(nullptr);
    if (image)
        *image = img;
    return fit;
}

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

    // Every view of the panel, every registered screen, in every language.
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
