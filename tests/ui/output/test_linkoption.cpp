#include <QDir>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/linkoption.h"
#include "ui/shell/device_requests.h"

namespace {

const char *const kSettings = "/data/configs/tcpip.ini";

// The network screen over a stored address, with the settings store.
struct Link : ScreenEnv
{
    QPointer<LinkOption> screen;

    Link()
    {
        root.write(kSettings, "[config]\nIPAddress=192.168.0.199\nSubNetMask=255.255.255.0\nGateWay=192.168.0.1\n");
        ConfigEngine::pInstance();
        fpga_manage::pInstance();
    }
    ~Link() { delete screen.data(); fpga_manage::destroyInstance(); ConfigEngine::destroyInstance(); }
    void open(const char *menu = "Button_wlan")
    {
        g_linkoption = screen = new LinkOption;
        g_page_focus = PAGE_NETWORK;
        screen->show();
        click(screen, menu);
    }
    My_lineEdit *field(const QString &name) const { return child<My_lineEdit>(screen, name); }
    // "a.b.c.d" as the four fields of a row show it; "!" after a highlighted one.
    QString row(const char *name) const
    {
        QStringList parts;
        for (int k = 1; k <= 4; ++k) {
            const My_lineEdit *f = field(QStringLiteral("lineEdit%1%2").arg(QLatin1String(name)).arg(k));
            parts << f->text() + (f->styleSheet().contains("229, 72, 77") ? "!" : "");
        }
        return parts.join(QLatin1Char('.'));
    }
    void stick(const QStringList &names, const QString &folder = QStringLiteral("/mnt/usb1/"))
    {
        for (const QString &n : names)
            root.write(folder + n, n.toUtf8());
    }
    // The rows drawn, as plain text, "*" when marked.
    QStringList rowsShown() const
    {
        QStringList rows;
        for (int k = 0; child<QLabel>(screen, QStringLiteral("row_label_%1").arg(k)); ++k) {
            QTextDocument doc;
            doc.setHtml(labelText(screen, QStringLiteral("row_label_%1").arg(k)));
            rows << doc.toPlainText() + (screen->marked(k) ? "*" : "");
        }
        return rows;
    }
};

}

class TestLinkOption : public QObject
{
    Q_OBJECT

private slots:
    // Octets 0..255 only, a refused one marks its field until a good one is
    // typed there; the first three of the address carry into the gateway.
    void octetEntry()
    {
        Link l;
        l.open();
        for (const char *refused : {"256", "", "0000000001", "1a", " 1", "+1", "300"})
            enterInField(l.field("lineEditIp2"), refused);
        const char *steps[][4] = {   // field, typed, address, gateway (the refused entries left .168.)
            {"lineEditIp4", "7", "192.168!.0.7", "192.168.0.1"},         {"lineEditGate4", "254", "192.168!.0.7", "192.168.0.254"},
            {"lineEditIp2", "010", "192.10.0.7", "192.10.0.254"},       {"lineEditIp3", "255", "192.10.255.7", "192.10.255.254"},
            {"lineEditIp1", "10", "10.10.255.7", "10.10.255.254"}};
        for (const auto &[name, typed, ip, gateway] : steps) {
            enterInField(l.field(name), typed);
            QCOMPARE(l.row("Ip") + ' ' + l.row("Gate") + ' ' + l.row("Mask"),
                     QStringLiteral("%1 %2 255.255.255.0").arg(ip, gateway));
        }
        My_lineEdit other;   // another screen's field is not ours
        other.setObjectName("lineEditIp1");
        g_lineedit = &other;
        emit g_numberkeyboard->sendKeyBoardUIDataToLineEdit("3");
        QCOMPARE(l.row("Ip"), QStringLiteral("10.10.255.7"));
    }

    // Apply writes nothing until all twelve fields hold 0..255, then the
    // settings file and the address of eth0 (the atomic save is Utils' own test).
    void applyTakesOnlyWholeAddresses()
    {
        Link l;
        // settings from outside: too few parts, a leading zero, a word
        g_str_ip = QStringLiteral("10.1.2");
        g_srt_mask = QStringLiteral("255.255.255.000");
        g_str_gateway = QStringLiteral("gate");
        l.open();
        l.field("lineEditMask1")->setText(QStringLiteral("0000000000255"));
        QSignalSpy codes(l.para, &QelRamPara::sig_update_para);
        const QByteArray stored = l.root.read(kSettings);
        click(l.screen, "Button_net_apply");
        QVERIFY(l.root.read(kSettings) == stored && Utils::recordedCommands().isEmpty());
        QCOMPARE(l.row("Ip") + " " + l.row("Mask") + " " + l.row("Gate"),
                 QStringLiteral("10.1.2.! 0000000000255!.255.255.000 gate!.!.!.!"));
        // corrected on the keypad: the highlight goes, Apply writes numbers
        using Typed = std::pair<const char *, const char *>;
        for (const auto &[name, typed] : {Typed{"lineEditIp4", "9"}, {"lineEditIp1", "10"}, {"lineEditIp2", "1"},
                                          {"lineEditIp3", "2"}, {"lineEditGate4", "1"}, {"lineEditMask1", "255"}})
            enterInField(l.field(name), typed);
        QCOMPARE(l.row("Gate") + " " + l.row("Mask"), QStringLiteral("10.1.2.1 255.255.255.000"));
        click(l.screen, "Button_net_apply");
        const QString file = QString::fromUtf8(l.root.read(kSettings));
        for (const char *line : {"IPAddress=10.1.2.9\n", "SubNetMask=255.255.255.0\n", "GateWay=10.1.2.1\n"})
            QVERIFY2(file.contains(QLatin1String(line)), qPrintable(file));
        QCOMPARE(Utils::recordedCommands(),
                 QStringList({"ifconfig eth0 >/dev/null 2>&1", "ifconfig eth0 10.1.2.9 netmask 255.255.255.0",
                              "ip route replace default via 10.1.2.1 dev eth0"}));
        QVERIFY(g_str_ip.get() == QStringLiteral("10.1.2.9") && codes.count() == 1 && codes.at(0).at(0).toInt() == 1);
        Utils::clearRecordedCommands();   // the same again applies nothing
        click(l.screen, "Button_net_apply");
        QVERIFY(Utils::recordedCommands().isEmpty() && codes.count() == 1);
    }

    // The three values go to the file in one replace: a save cut short
    // leaves the address, mask and gateway as they were, and applies nothing.
    void applyIsOneSave()
    {
        Link l;
        l.open();
        const QByteArray stored = l.root.read(kSettings);
        int saves = 0;
        Utils::setSaveHook([&](Utils::SaveStep step, const QString &path) {
            if (step == Utils::SaveStep::Rename && path.endsWith(QLatin1String("tcpip.ini")))
                ++saves;
            return false;
        });
        enterInField(l.field("lineEditIp4"), "20");
        enterInField(l.field("lineEditMask3"), "0");
        click(l.screen, "Button_net_apply");
        Utils::setSaveHook(nullptr);
        QCOMPARE(saves, 1);
        QCOMPARE(l.root.read(kSettings), stored);
        QVERIFY(Utils::recordedCommands().isEmpty() && g_str_ip.get() == QStringLiteral("192.168.0.199"));
        click(l.screen, "Button_net_apply");
        const QString file = QString::fromUtf8(l.root.read(kSettings));
        QVERIFY2(file.contains("IPAddress=192.168.0.20\n") && file.contains("SubNetMask=255.255.0.0\n"), qPrintable(file));
    }

    // Names shown as plain text, marked as the manager installs them (the
    // listing rules, the 100-file limit and the install are the upgrade's own tests).
    void usbPageShowsOddNamesAsText()
    {
        Link l;
        l.stick({"-rf x.QELZK", "it's \"q\".QELZK", "<b>x<b> &amp;.QELZK", "a;reboot.QEL", "$(id).QELZK"});
        l.open("Button_usb");
        QCOMPARE(l.rowsShown(),
                 QStringList({"$(id).QELZK*", "-rf x.QELZK*", "<b>x<b> &amp;.QELZK*", "a;reboot.QEL*", "it's \"q\".QELZK*"}));
        QCOMPARE(l.screen->files(), DeviceRequests::upgrade_packages());
        QCOMPARE(labelText(l.screen, "empty_label_0"), QStringLiteral("<none>"));
    }

    // OK, the stick's refresh codes and the language.
    void okRunsTheUpgradeThroughToTheFiles()
    {
        Link l;
        l.stick({"a.QEL", "b.QEL", "c.QELZK", "d.qel"});
        l.open("Button_usb");
        QSignalSpy codes(l.para, &QelRamPara::sig_update_para);
        const auto run = [f = fpga_manage::p_fpga_manage] {
            for (int i = 0; i < 20 && g_usb_grade.load(); ++i)
                f->pass();
            QCOMPARE(g_usb_grade.load(), 0);
            QCoreApplication::processEvents();
        };
        // refused while a card job or another upgrade runs
        for (const bool job : {true, false}) {
            if (job)
                g_send_para.post(JOB_SAVE_PARA);
            g_usb_grade = job ? 0 : 2;
            click(l.screen, "Button_ok");
            QCOMPARE(g_usb_grade.load(), job ? 0 : 2);
        }
        g_send_para.clear();
        g_usb_grade = 0;
        // OK installs the marked files; 104 shows the times
        QCOMPARE(l.rowsShown(), QStringList({"a.QEL*", "b.QEL", "c.QELZK*"}));
        click(l.screen, "Button_ok");
        run();
        QVERIFY(codes.count() == 1 && codes.at(0).at(0).toInt() == int(REFRESH_UPGRADE_DONE));
        QCOMPARE(QDir(l.root.file("/data/app")).entryList(QDir::Files), QStringList({"a.QEL", "c.QELZK"}));
        QCOMPARE(Utils::recordedCommands(), QStringList{"reboot"});
        l.screen->syncUpdate(REFRESH_UPGRADE_DONE);
        QVERIFY(labelText(l.screen, "label_log")
                    .contains(QStringLiteral("downing over<br>%1<").arg(fpga_manage::p_fpga_manage->upgrade_times())));
        // once per stick: a second tap starts nothing; 100 only traces
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 0);
        l.stick({"x.QELZK"});
        l.screen->syncUpdate(REFRESH_USB_IN);
        QCOMPARE(l.rowsShown().size(), 3);
        l.para->ram_para[Img::LANGUAGE] = 2;
        l.screen->syncUpdate(REFRESH_SAVE);
        QCOMPARE(labelText(l.screen, "label_title"), QStringLiteral("Подключение"));
    }

    void incompleteUpgradeIsAFailure_data()
    {
        QTest::addColumn<int>("passes");   // manager passes before the stick is pulled; -1: it stays in
        QTest::addColumn<QString>("failed");
        QTest::addColumn<QStringList>("installed");
        QTest::newRow("a package cannot be written") << -1 << "b<i>&amp;.QELZK" << QStringList{"a.QEL"};
        QTest::newRow("stick pulled after the first") << 3 << "b<i>&amp;.QELZK" << QStringList{"a.QEL"};
        QTest::newRow("stick pulled before the list") << 1 << "a.QEL" << QStringList{};
    }
    // A marked package left out: no reboot, a red line naming it as text,
    // nothing left that keeps OK from trying again.
    void incompleteUpgradeIsAFailure()
    {
        QFETCH(int, passes);
        QFETCH(QString, failed);
        QFETCH(QStringList, installed);
        Link l;
        fpga_manage *f = fpga_manage::p_fpga_manage;
        const QStringList packages{"a.QEL", "b<i>&amp;.QELZK", "c.QELZK"};
        const QString blocked = l.root.file("/data/app/" + packages[1]);
        if (passes < 0)
            QVERIFY(QDir().mkpath(blocked));   // a folder where the package would land
        l.stick(packages);
        l.open("Button_usb");
        QSignalSpy over(f, &fpga_manage::sig_update_over);
        const auto upgrade = [&](int pull) {
            click(l.screen, "Button_ok");
            QCOMPARE(g_usb_grade.load(), 1);
            for (int i = 0; i < 20 && g_usb_grade.load(); ++i) {
                if (i == pull) {
                    QDir(l.root.file("/mnt/usb1")).removeRecursively();
                    l.screen->syncUpdate(REFRESH_USB_OUT);
                    QCOMPARE(labelText(l.screen, "empty_label_0"), QStringLiteral("No loaded file!"));
                }
                f->pass();
            }
            l.screen->syncUpdate(REFRESH_UPGRADE_DONE);
        };
        upgrade(passes);
        QCOMPARE(QDir(l.root.file("/data/app")).entryList(QDir::Files), installed);
        QVERIFY(Utils::recordedCommands().isEmpty());
        QVERIFY(g_usb_grade == 0 && g_send_para.word == 0 && g_update_flag == 0 && over.count() == 1);
        QTextDocument doc;
        doc.setHtml(labelText(l.screen, "label_log"));
        QCOMPARE(doc.toPlainText(), "Upgrade failed: " + failed);
        const QColor colour = doc.begin().begin().fragment().charFormat().foreground().color();
        QVERIFY2(colour.red() > 200 && colour.green() < 100, qPrintable(colour.name()));
        // the folder gone and the stick in: OK again installs all three and reboots
        QDir(blocked).removeRecursively();
        l.stick(packages);
        l.screen->syncUpdate(REFRESH_USB_READY);
        upgrade(-1);
        QCOMPARE(QDir(l.root.file("/data/app")).entryList(QDir::Files), packages);
        QCOMPARE(Utils::recordedCommands(), QStringList{"reboot"});
        QVERIFY(labelText(l.screen, "label_log").contains("downing over"));
    }
};

QTEST_MAIN(TestLinkOption)
#include "test_linkoption.moc"
