// The floor for the idle figures: a Qt widgets program with nothing but the
// 10 ms timer the panel needs.
#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTimer tick;
    unsigned long ticks = 0;
    QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
    tick.setTimerType(Qt::PreciseTimer);
    tick.start(10);
    return app.exec();
}
