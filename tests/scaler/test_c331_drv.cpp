#include <QtTest>

#include "core/qelrampara.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"

// The chip model's write log, and the order in which the manager programs a
// window: off first, on last, so no half-programmed window shows.
class TestC331Drv : public QObject
{
    Q_OBJECT

    static int bank(C331_REG r) { return int((r >> 16) & 0xFF); }
    static int addr(C331_REG r) { return int((r >> 8) & 0xFF); }

    // Indexes in the log of the writes to window w's bank; -1 when absent.
    static QVector<int> windowWrites(const std::vector<C331_REG> &log, int w, int address)
    {
        QVector<int> at;
        for (int i = 0; i < int(log.size()); ++i)
            if (bank(log[i]) == 0x10 + w && (address < 0 || addr(log[i]) == address))
                at << i;
        return at;
    }

private slots:
    void cleanup()
    {
        c331_manage::destroyInstance();
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
    }

    void logIsBounded()
    {
        TestRoot root;
        c331_drv chip;
        for (int i = 0; i < c331_drv::WRITE_LOG_MAX + 10; ++i)
            chip.c331_SetContrast(u8(i));
        QCOMPARE(int(chip.write_log().size()), c331_drv::WRITE_LOG_MAX);
    }

    void windowOffFirstOnLast()
    {
      for (bool switchOn : {true, false}) {
        TestRoot root;
        QelRamPara *ram = QelRamPara::pInstance();
        c331_manage *m = c331_manage::pInstance();
        const int w = 1;
        ram->edit([&](u8 *img) { WindowEdit(img, w).setOn(!switchOn); });
        m->pass();
        m->pass();
        m->chip()->clear_write_log();
        ram->edit([&](u8 *img) {
            WindowEdit win(img, w);
            win.setOn(switchOn);
            win.setInput(3);
            win.setX(100);
            win.setWidth(640);
            win.setMirror(1);
        });
        m->pass();
        const std::vector<C331_REG> log = m->chip()->write_log();
        const QVector<int> all = windowWrites(log, w, -1);
        const QVector<int> enable = windowWrites(log, w, 0x00);
        QVERIFY2(all.size() > 2, "the window's fields were programmed");
        QCOMPARE(enable.size(), 1);
        QCOMPARE(enable.first(), switchOn ? all.last() : all.first());
        QCOMPARE(int(m->chip()->state().window[w].on), switchOn ? 1 : 0);
        cleanup();
      }
    }
};

QTEST_GUILESS_MAIN(TestC331Drv)
#include "test_c331_drv.moc"
