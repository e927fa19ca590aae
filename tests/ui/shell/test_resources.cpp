#include <QImage>
#include <QtTest>

// Every picture the screens name, found in the linked resources.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsThere()
    {
        static const char *const names[] = {
            ":/png/DVI.png", ":/png/HDMI.png", ":/png/HDMI13.png", ":/png/HDMI13_hui.png", ":/png/HDMI13_lv.png",
            ":/png/HDMI20.png", ":/png/HDMI20_hui.png", ":/png/HDMI20_lv.png", ":/png/add.png", ":/png/back.png",
            ":/png/button_off.png", ":/png/button_on.png", ":/png/checked.png", ":/png/dvihui.png", ":/png/dvilv.png",
            ":/png/en_input_state.png", ":/png/en_output_state.png", ":/png/en_version_state.png", ":/png/exthui.png",
            ":/png/extlv.png", ":/png/img_test1.png", ":/png/img_test2.png", ":/png/img_test3.png",
            ":/png/img_test4.png", ":/png/img_test5.png", ":/png/img_test6.png", ":/png/img_test7.png",
            ":/png/img_test8.png", ":/png/input_state.png", ":/png/line1.png", ":/png/line16.png", ":/png/menu.png",
            ":/png/mirror1_off.png", ":/png/mirror1_on.png", ":/png/mirror2_off.png", ":/png/mirror2_on.png",
            ":/png/mirror3_off.png", ":/png/mirror3_on.png", ":/png/mirror4_off.png", ":/png/mirror4_on.png",
            ":/png/next.png", ":/png/offline.png", ":/png/online.png", ":/png/osd_no.bmp", ":/png/osd_yes.bmp",
            ":/png/out_copy.png", ":/png/out_horizontal.png", ":/png/out_vertical.png", ":/png/output_state.png",
            ":/png/page_change.png", ":/png/previous.png", ":/png/ru_input_state.png", ":/png/ru_output_state.png",
            ":/png/ru_version_state.png", ":/png/state_off.png", ":/png/state_on.png", ":/png/tn_input_state.png",
            ":/png/tn_output_state.png", ":/png/tn_version_state.png", ":/png/unchecked.png",
            ":/png/version_state.png", ":/png/vn_input_state.png", ":/png/vn_output_state.png",
            ":/png/vn_version_state.png", ":/png/warning.png",
        };
        QStringList paths;
        for (const char *name : names)
            paths << QString::fromLatin1(name);
        for (int n = 1; n <= 16; ++n)   // one per routing pattern
            paths << QStringLiteral(":/png/line%1.png").arg(n);
        for (const QString &path : paths) {
            const QImage img(path);
            QVERIFY2(!img.isNull(), qPrintable(path));
            QVERIFY2(img.width() >= 14 && img.height() >= 14, qPrintable(path));
        }
    }

    void shellPictures()
    {
        for (const char *name : {":/png/tip_ok.png", ":/png/lock.png", ":/png/unlock.png"})
            QVERIFY2(!QImage(QString::fromLatin1(name)).isNull(), name);
    }

    void languageBoundSectionsCarryDifferentText()
    {
        const QImage zh(QStringLiteral(":/png/output_state.png"));
        const QImage ru(QStringLiteral(":/png/ru_output_state.png"));
        const QImage en(QStringLiteral(":/png/en_output_state.png"));
        QCOMPARE(zh.size(), ru.size());
        QVERIFY(zh != ru);
        QVERIFY(zh != en);
        QVERIFY(ru != en);
    }
};

QTEST_GUILESS_MAIN(TestResources)
#include "test_resources.moc"
