#include <QDialog>

#include "tests/support/widget_helpers.h"

namespace {
int stepsRun = 0;
}

// The modal steps the screen tests drive their dialogs with.
class TestWidgetHelpers : public QObject
{
    Q_OBJECT

private slots:
    // A modal that never opens fails the test that waited for it...
    void modalThatNeverOpensFailsItsOwnTest()
    {
        {
            const auto step = onModal([](QWidget *) { ++stepsRun; });
            QEXPECT_FAIL("", "nothing opens a modal while the step lives", Continue);
        }
        QVERIFY(stepsRun == 0);   // would pass unexpectedly were the failure not the step's
    }

    // ...and its step runs on no dialog of a later test.
    void laterTestRunsNoStaleStep()
    {
        QDialog later;
        QTimer::singleShot(0, &later, &QDialog::accept);
        later.exec();
        QCOMPARE(stepsRun, 0);
    }
};

QTEST_MAIN(TestWidgetHelpers)
#include "test_widget_helpers.moc"
