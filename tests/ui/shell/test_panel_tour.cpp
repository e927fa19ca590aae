#include <QImage>
#include <QPainter>
#include <QtTest>
#include <memory>

#include "core/global.h"
#include "tests/support/testenv.h"
#include "tests/ui/shell/stub_screen.h"
#include "tools/screenshots/panel_tour.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/screens.h"

namespace {

// A view as the screenshot program composes it, and the texts its named
// widgets show.
struct View
{
    QString name;
    QImage picture;
    QHash<QString, QString> texts;
};

QList<View> walk(PanelTour &tour)
{
    QList<View> views;
    tour.visit(1, [&views](const QString &name, const QList<QWidget *> &windows) {
        QCoreApplication::processEvents();
        View v{name, QImage(800, 480, QImage::Format_RGB32), {}};
        v.picture.fill(Qt::black);
        QPainter p(&v.picture);
        for (QWidget *w : windows) {
            p.drawPixmap(w->pos(), w->grab());
            for (QWidget *c : w->findChildren<QWidget *>())
                if (!c->objectName().isEmpty() && c->isVisible() && c->property("text").isValid())
                    v.texts.insert(c->objectName(), c->property("text").toString());
        }
        views.append(v);
    });
    return views;
}

// The top-level windows that show besides the main menu and the home screen.
QStringList shownWindows()
{
    QStringList shown;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != g_mainwindow && w != g_lockwindow)
            shown << QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
    return shown;
}

}

// Two walks in English on one tour, a stand-in screen registered at page 200
// as a later screen would be.
class TestPanelTour : public QObject
{
    Q_OBJECT

    std::unique_ptr<PanelTour> tour;
    QList<View> first, second;

private slots:
    void initTestCase()
    {
        tour = std::make_unique<PanelTour>();
        addStubs<200>();
        first = walk(*tour);
        second = walk(*tour);
        ScreenRegistry::remove(200);
    }

    void everyPageReachedAndNothingLeftBehind()
    {
        QVERIFY2(tour->missed().isEmpty(), qPrintable(tour->missed().join('\n')));
        QVERIFY2(tour->left_open().isEmpty(), qPrintable(tour->left_open().join('\n')));
        QVERIFY2(shownWindows().isEmpty(), qPrintable(shownWindows().join('\n')));
        QVERIFY(!QApplication::activeModalWidget() && !g_qround_bar);
        QCOMPARE(int(g_send_para.job()), 0);
        // the later screen shown as it opens, named by its class, closed by its Back
        QCOMPARE(stubLog(), QStringList({"back 200", "back 200"}));
        QStringList names;
        for (const View &v : first)
            names << v.name;
        QVERIFY2(names.contains("qdialog") && names.size() >= 70 && names.removeDuplicates() == 0,
                 qPrintable(names.join(' ')));
    }

    // The same pictures again, the home clock aside: nothing a walk did stays.
    void sameViewsTwice()
    {
        QCOMPARE(second.size(), first.size());
        for (int i = 0; i < first.size(); ++i)
            QVERIFY2(second[i].name == first[i].name && (first[i].name.startsWith(QLatin1String("lockwindow"))
                                                         || second[i].picture == first[i].picture),
                     qPrintable(first[i].name + " / " + second[i].name));
    }

    void viewsShowTheirData_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("shows");
        const char *rows[][3] = {
            {"smartmapping_loadscan_files", "row_label_0", "cabinet_500x1000.qlfile"},   // the device's first
            {"smartmapping_loadscan_files", "row_label_3", "stage_left.qlfile"},         // then the stick's
            {"smartmapping_step3", "lineEdit_column", "4"},                              // typed on its keypad
            {"smartmapping_keypad_rows", "label_title", "rows"},
            {"linkoption_usb", "row_label_0", "fpga_out_1.7.QELZK"},
            {"advancedoption_check", "row_label_0", "LED03, Rcv"},
            {"advancedoption_ageing", "label_page", "1/3"},
            {"advancedoption_keypad_code", "label_title", "key"},
            {"custommode", "label_LED", "1920x1080"},
            {"inputcut_form_edit", "lineEdit_W", "960"},
            {"inputchoose_window2", "badge_1", "Using"},
            {"option_keypad_code", "label_title", "Password"},
            {"tip_usb_ready", "tip_content", "USB stick ready"},
        };
        for (const auto &r : rows)
            QTest::newRow(QByteArray(r[0]) + ' ' + r[1]) << r[0] << r[1] << r[2];
    }
    void viewsShowTheirData()
    {
        QFETCH(QString, view);
        QFETCH(QString, widget);
        QFETCH(QString, shows);
        const auto v = std::find_if(first.cbegin(), first.cend(), [&](const View &x) { return x.name == view; });
        QVERIFY2(v != first.cend(), qPrintable(view));
        QVERIFY2(v->texts.value(widget).contains(shows), qPrintable(v->texts.value(widget, "<not shown>")));
    }
};

int main(int argc, char **argv)
{
    TestRoot root;
    PanelApp app(argc, argv);
    TestPanelTour t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_panel_tour.moc"
