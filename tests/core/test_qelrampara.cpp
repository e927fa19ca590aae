#include <QtTest>

#include "core/qelrampara.h"
#include "tests/support/testenv.h"

class TestQelRamPara : public QObject
{
    Q_OBJECT
private slots:
    void factoryTableWhenNoFile()
    {
        TestRoot root;
        QelRamPara *p = QelRamPara::pInstance();
        QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 1920);
        QelRamPara::destroyInstance();
    }
};

QTEST_GUILESS_MAIN(TestQelRamPara)
#include "test_qelrampara.moc"
