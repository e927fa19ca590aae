#include <QImage>
#include <QtTest>

// Every picture the screens name, found in the linked resources.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsThere()
    {
        QStringList names = {"DVI", "HDMI", "HDMI13", "HDMI13_hui", "HDMI13_lv", "HDMI20", "HDMI20_hui", "HDMI20_lv",
                             "add", "back", "button_off", "button_on", "checked", "dvihui", "dvilv", "exthui",
                             "extlv", "lock", "menu", "next", "offline", "online", "out_copy", "out_horizontal",
                             "out_vertical", "page_change", "previous", "state_off", "state_on", "tip_ok",
                             "unchecked", "unlock", "warning"};
        for (int n = 1; n <= 16; ++n)   // one per routing pattern
            names << QStringLiteral("line%1").arg(n);
        for (int n = 1; n <= 8; ++n)
            names << QStringLiteral("img_test%1").arg(n);
        for (int n = 1; n <= 4; ++n)
            names << QStringLiteral("mirror%1_on").arg(n) << QStringLiteral("mirror%1_off").arg(n);
        for (const char *lang : {"", "en_", "ru_", "tn_", "vn_"})
            for (const char *part : {"input", "output", "version"})
                names << QStringLiteral("%1%2_state").arg(QLatin1String(lang), QLatin1String(part));
        QStringList paths = {":/png/osd_no.bmp", ":/png/osd_yes.bmp"};
        for (const QString &name : names)
            paths << QStringLiteral(":/png/%1.png").arg(name);
        for (const QString &path : paths) {
            const QImage img(path);
            QVERIFY2(!img.isNull(), qPrintable(path));
            QVERIFY2(img.width() >= 14 && img.height() >= 14, qPrintable(path));
        }

        // the status page sections carry each language's own text
        const QImage zh(":/png/output_state.png"), ru(":/png/ru_output_state.png"), en(":/png/en_output_state.png");
        QCOMPARE(zh.size(), ru.size());
        QVERIFY(zh != ru && zh != en && ru != en);
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
