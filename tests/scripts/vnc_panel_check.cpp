// vnc_panel_check <snapshot.jpg> <folder>: compares a VNC snapshot of the
// panel with the home screen grabbed offscreen on the device "$QEL_ROOT/sim.json"
// describes; writes <folder>/reference.png and diff.png. Exit 0: the same
// picture, JPEG rounding of at most 2 per colour allowed, and the clock and
// the date (which move on between the two) drawn in both; 1: they differ;
// 2: no snapshot.
#include <QDir>
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <cstdio>

#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "video_io/tavixsource.h"

namespace {
int distance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

// Pixels of `area` at most half as far from the text's colour as the
// background (the area's corner) is.
int ink(const QImage &img, const QRect &area, QRgb color)
{
    const int far = distance(img.pixel(area.topLeft()), color);
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += 2 * distance(img.pixel(x, y), color) <= far ? 1 : 0;
    return n;
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PanelApp app(argc, argv);
    const QImage snapshot =
        argc < 3 ? QImage() : QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (snapshot.isNull()) {
        fprintf(stderr, "usage: %s <snapshot.jpg> <folder>: no snapshot\n", argv[0]);
        return 2;
    }
    MainWindow w;
    lcd_touch::pInstance();
    tavixsource::pInstance()->pass();   // the input signals of sim.json
    LockWindow *home = new LockWindow();
    w.show();
    home->show();
    home->ensurePolished();
    const QImage reference = home->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, 800, 480);
    struct Moving { const char *name; QRect area; QRgb color; };   // the clock and the date move on
    QList<Moving> movingTexts;
    QRegion moving;
    for (const char *name : {"label_time", "label_date"})
        if (QWidget *l = home->findChild<QWidget *>(QLatin1String(name))) {
            movingTexts.append({name, QRect(l->mapTo(home, QPoint(0, 0)), l->size()),
                                l->palette().color(l->foregroundRole()).rgb()});
            moving += movingTexts.last().area;
        }

    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    reference.save(folder + QStringLiteral("/reference.png"));
    if (snapshot.size() != reference.size()) {
        printf("the snapshot is %dx%d, the panel 800x480\n", snapshot.width(), snapshot.height());
        return 1;
    }
    QImage diff(reference.size(), QImage::Format_RGB32);
    diff.fill(Qt::black);
    int differing = 0, largest = 0;
    QRect where;
    for (int y = 0; y < diff.height(); ++y)
        for (int x = 0; x < diff.width(); ++x) {
            const QRgb a = snapshot.pixel(x, y), b = reference.pixel(x, y);
            const int d = distance(a, b);
            if (moving.contains(QPoint(x, y))) {
                diff.setPixel(x, y, qRgb(0, 0, 96));
                continue;
            }
            largest = qMax(largest, d);
            if (d > 2) {
                ++differing;
                where |= QRect(x, y, 1, 1);
                diff.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    diff.save(folder + QStringLiteral("/diff.png"));
    // their texts differ, but each must leave about as much ink in both
    QStringList inks;
    bool inkless = movingTexts.size() < 2;
    for (const Moving &m : movingTexts) {
        const int seen = ink(snapshot, m.area, m.color), drawn = ink(reference, m.area, m.color);
        const int least = m.area.width() * m.area.height() / 100;
        if (seen < least || drawn < least || seen > 2 * drawn || drawn > 2 * seen)
            inkless = true;
        inks << QStringLiteral("%1: %2 and %3 pixels of ink").arg(QLatin1String(m.name)).arg(seen).arg(drawn);
    }
    if (differing)
        printf("%d pixels differ (largest difference %d) within %dx%d+%d+%d; ", differing, largest, where.width(),
               where.height(), where.x(), where.y());
    else
        printf("same picture (largest difference %d), clock and date aside; ", largest);
    printf("%s%s\n", inkless ? "too little ink in the clock or date: " : "",
           qPrintable(inks.join(QStringLiteral(", "))));
    return differing || inkless ? 1 : 0;
}
