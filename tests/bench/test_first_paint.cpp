#include <QColor>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QtTest>

#include "bench/first_paint.h"

// The bench's clock for a screen's open stops when the operator has the
// window: exposed, and every widget of it painted into the backing store.
class TestFirstPaint : public QObject
{
    Q_OBJECT
private slots:
    void stopsWithTheWholeWindowInTheBackingStore();
    void nothingPaintedIsNoFigure();
};

namespace {
// A child that takes 20 ms to paint, and notes when its first paint ended.
class SlowLabel : public QLabel
{
public:
    SlowLabel(QWidget *parent, const QElapsedTimer &clock) : QLabel(QStringLiteral("text"), parent), clock(clock) {}
    qint64 painted = -1;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QLabel::paintEvent(e);
        QThread::msleep(20);
        if (painted < 0)
            painted = clock.nsecsElapsed();
    }

private:
    const QElapsedTimer &clock;
};
}

void TestFirstPaint::stopsWithTheWholeWindowInTheBackingStore()
{
    QElapsedTimer clock;
    QImage stored, drawn;
    qint64 painted = -1, closed = -1;
    int closes = 0;
    clock.start();
    const qint64 ns = time_to_first_paint(
        [&] {
            QDialog d;
            d.setGeometry(0, 0, 200, 120);
            // a child of its own colour, painted after the dialog's own paint event
            SlowLabel *label = new SlowLabel(&d, clock);
            label->setGeometry(20, 20, 160, 80);
            label->setStyleSheet(QStringLiteral("background: #1060C0; color: white;"));
            d.exec();
            painted = label->painted;
        },
        [&](QWidget *w) {
            ++closes;
            closed = clock.nsecsElapsed();
            stored = w->screen()->grabWindow(w->winId()).toImage().convertToFormat(QImage::Format_RGB32);
            drawn = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
            w->close();
        });
    QCOMPARE(closes, 1);
    // stopped after the child's paint (the clocks start a few microseconds
    // apart), before the window closes
    QVERIFY2(ns >= painted - 5000000, qPrintable(QStringLiteral("%1 ns, child painted at %2 ns").arg(ns).arg(painted)));
    QVERIFY(ns <= closed);
    // by then the window's pixels are in the backing store, the child's too
    QCOMPARE(stored.size(), QSize(200, 120));
    QCOMPARE(QColor(stored.pixel(30, 30)), QColor(0x10, 0x60, 0xC0));
    QVERIFY(stored == drawn);
}

// A window already on show, or an opener that shows nothing, gives no
// figure rather than a time that measured nothing.
void TestFirstPaint::nothingPaintedIsNoFigure()
{
    QDialog shown;
    shown.setGeometry(0, 0, 100, 100);
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    QCOMPARE(time_to_first_paint([&shown] { shown.update(); }, [](QWidget *w) { w->close(); }), qint64(-1));
    QCOMPARE(time_to_first_paint([] {}, [](QWidget *w) { w->close(); }), qint64(-1));
}

QTEST_MAIN(TestFirstPaint)
#include "test_first_paint.moc"
