// Compares a VNC snapshot of the panel with the home screen grabbed
// offscreen on the device that "$QEL_ROOT/sim.json" describes:
//   vnc_panel_check <snapshot.jpg> <folder>
// writes <folder>/reference.png and <folder>/diff.png. Exit 0: the same
// picture at 800 x 480, the clock and the date aside (they move on between
// the two grabs) and a JPEG rounding of at most 2 per colour allowed;
// 1: they differ; 2: no snapshot.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRect>
#include <algorithm>
#include <cstdio>

#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "video_io/tavixsource.h"

namespace {
constexpr int kW = 800;
constexpr int kH = 480;
constexpr int kRounding = 2;

int difference(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s <snapshot.jpg> <folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PanelApp app(argc, argv);
    const QImage snapshot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (snapshot.isNull()) {
        fprintf(stderr, "no snapshot in %s\n", argv[1]);
        return 2;
    }

    MainWindow w;
    lcd_touch::pInstance();
    tavixsource::pInstance()->pass();   // the input signals of sim.json
    LockWindow *home = new LockWindow();
    w.show();
    home->show();
    home->ensurePolished();
    const QImage reference = home->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 0, kW, kH);

    QVector<QRect> moving;
    for (const char *name : {"label_time", "label_date"})
        if (QLabel *l = home->findChild<QLabel *>(QLatin1String(name)))
            moving << QRect(l->mapTo(home, QPoint(0, 0)), l->size());

    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    reference.save(folder + QStringLiteral("/reference.png"));
    if (snapshot.size() != reference.size()) {
        printf("the snapshot is %dx%d, the panel %dx%d\n", snapshot.width(), snapshot.height(), kW, kH);
        return 1;
    }
    QImage diff(kW, kH, QImage::Format_RGB32);
    diff.fill(Qt::black);
    int differing = 0;
    int largest = 0;
    QRect where;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const QPoint p(x, y);
            if (std::any_of(moving.begin(), moving.end(), [&p](const QRect &r) { return r.contains(p); })) {
                diff.setPixel(p, qRgb(0, 0, 96));
                continue;
            }
            const int d = difference(snapshot.pixel(p), reference.pixel(p));
            largest = qMax(largest, d);
            if (d > kRounding) {
                ++differing;
                where |= QRect(p, QSize(1, 1));
                diff.setPixel(p, qRgb(255, 0, 0));
            }
        }
    }
    diff.save(folder + QStringLiteral("/diff.png"));
    if (differing) {
        printf("%d pixels differ (largest difference %d) within %dx%d+%d+%d\n", differing, largest, where.width(),
               where.height(), where.x(), where.y());
        return 1;
    }
    printf("same picture (largest difference %d), clock and date aside\n", largest);
    return 0;
}
