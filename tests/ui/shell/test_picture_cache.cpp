#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "ui/shell/screen_helpers.h"

namespace {
const QString kBars = QStringLiteral(":/png/img_test6.png");   // colour bars: scaling shows
}

// Pictures from the resources: drawn as a label with scaled contents draws
// them, made once per picture and size; icons decoded once.
class TestPictureCache : public QObject
{
    Q_OBJECT

private slots:
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
        QCOMPARE(ours->property("res").toString(), kBars);
    }

    void decodedOnce()
    {
        const QString back = QStringLiteral(":/png/back.png");
        QPushButton a, b;
        set_icon(&a, back, 32);
        set_back_icon(&b);
        QVERIFY(a.icon().cacheKey() == b.icon().cacheKey() && b.iconSize() == QSize(32, 32));

        QCOMPARE(cached_picture(kBars, QSize(98, 98)).cacheKey(), cached_picture(kBars, QSize(98, 98)).cacheKey());
        QCOMPARE(cached_picture(kBars, QSize(90, 90)).size(), QSize(90, 90));
        // the home screen's input pictures keep their aspect
        const QString hdmi = QStringLiteral(":/png/HDMI13.png");
        QCOMPARE(cached_picture(hdmi, QSize(110, 70), Qt::KeepAspectRatio).toImage(),
                 QPixmap(hdmi).scaled(QSize(110, 70), Qt::KeepAspectRatio, Qt::SmoothTransformation).toImage());
    }
};

QTEST_MAIN(TestPictureCache)
#include "test_picture_cache.moc"
