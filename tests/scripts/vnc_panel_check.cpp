// vnc_panel_check <snapshot.jpg> <folder>: compares a VNC snapshot of the
// panel with the home screen grabbed offscreen on the device "$QEL_ROOT/sim.json"
// describes; writes <folder>/reference.png and diff.png. Exit 0: the same
// picture, clock and date aside, JPEG rounding of at most 2 per colour
// allowed; 1: they differ; 2: no snapshot.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <cstdio>

#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "video_io/tavixsource.h"

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
    QRegion moving;   // the clock and the date move on between the two grabs
    for (const char *name : {"label_time", "label_date"})
        if (QLabel *l = home->findChild<QLabel *>(QLatin1String(name)))
            moving += QRect(l->mapTo(home, QPoint(0, 0)), l->size());

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
            const int d = qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
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
    if (differing)
        printf("%d pixels differ (largest difference %d) within %dx%d+%d+%d\n", differing, largest, where.width(),
               where.height(), where.x(), where.y());
    else
        printf("same picture (largest difference %d), clock and date aside\n", largest);
    return differing ? 1 : 0;
}
