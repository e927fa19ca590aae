#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTextDocument>
#include <memory>
#include <sys/stat.h>

#include "core/config_engine.h"
#include "core/global.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "tests/support/widget_helpers.h"
#include "ui/output/linkoption.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/my_lineedit.h"
#include "ui/shell/screen_registry.h"

namespace {

const char *const kSettings = "/data/configs/tcpip.ini";

// The network screen over a stored address, with the settings store.
struct Link : ScreenEnv
{
    LinkOption *screen = nullptr;

    Link()
    {
        root.write(kSettings, "[config]\nIPAddress=192.168.0.199\nSubNetMask=255.255.255.0\nGateWay=192.168.0.1\n");
        ConfigEngine::pInstance();
    }
    ~Link()
    {
        delete screen;
        fpga_manage::destroyInstance();
        ConfigEngine::destroyInstance();
    }
    void open()
    {
        screen = new LinkOption;
        g_linkoption = screen;
        g_page_focus = PAGE_NETWORK;
        screen->show();
    }
    My_lineEdit *field(const QString &name) const { return child<My_lineEdit>(screen, name); }
    // "a.b.c.d" as the four fields of a row show it.
    QString row(const char *name) const
    {
        QStringList parts;
        for (int k = 1; k <= 4; ++k)
            parts << field(QStringLiteral("lineEdit%1%2").arg(QLatin1String(name)).arg(k))->text();
        return parts.join(QLatin1Char('.'));
    }
    // What the keypad can type goes through it; anything else reaches the
    // screen as the keypad's signal would carry it.
    void enter(const QString &name, const QString &text)
    {
        if (QRegularExpression(QStringLiteral("^[0-9]{0,9}$")).match(text).hasMatch()) {
            onModal([text](QWidget *pad) {
                QVERIFY(pad == g_numberkeyboard);
                typeOnKeypad(text);
            });
            QTest::mouseClick(field(name), Qt::LeftButton);
        } else {
            g_lineedit = field(name);
            screen->confirmString(text);
        }
    }
    bool highlighted(const QString &name) const { return field(name)->styleSheet().contains("229, 72, 77"); }
    void stick(const QStringList &names, const QString &folder = QStringLiteral("/mnt/usb1/"))
    {
        for (const QString &n : names)
            root.write(folder + n, n.toUtf8());
    }
    QString rowText(int k) const
    {
        QTextDocument doc;
        doc.setHtml(labelText(screen, QStringLiteral("row_%1").arg(k)));
        return doc.toPlainText();
    }
    QStringList rowsShown() const
    {
        QStringList rows;
        for (int k = 0; child<QLabel>(screen, QStringLiteral("row_%1").arg(k)); ++k)
            rows << rowText(k) + (screen->marked(k) ? "*" : "");
        return rows;
    }
    ino_t settingsInode() const
    {
        struct stat st {};
        return ::stat(QFile::encodeName(root.file(kSettings)).constData(), &st) == 0 ? st.st_ino : 0;
    }
};

}

class TestLinkOption : public QObject
{
    Q_OBJECT

private slots:
    void octetEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("gateway");
        const QString ip = "192.168.0.199", gw = "192.168.0.1";
        QTest::newRow("first octet follows") << "lineEditIp1" << "10" << "10.168.0.199" << "10.168.0.1";
        QTest::newRow("255 third follows") << "lineEditIp3" << "255" << "192.168.255.199" << "192.168.255.1";
        QTest::newRow("fourth stays") << "lineEditIp4" << "7" << "192.168.0.7" << gw;
        QTest::newRow("leading zeros") << "lineEditIp2" << "010" << "192.10.0.199" << "192.10.0.1";
        QTest::newRow("gateway alone") << "lineEditGate4" << "254" << ip << "192.168.0.254";
        QTest::newRow("256") << "lineEditIp2" << "256" << ip << gw;
        QTest::newRow("empty") << "lineEditIp2" << "" << ip << gw;
        QTest::newRow("overlong") << "lineEditIp2" << "0000000001" << ip << gw;
        QTest::newRow("letters") << "lineEditIp2" << "1a" << ip << gw;
        QTest::newRow("blank") << "lineEditIp2" << " 1" << ip << gw;
        QTest::newRow("sign") << "lineEditIp2" << "+1" << ip << gw;
    }
    void octetEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        Link l;
        l.open();
        click(l.screen, "Button_wlan");
        l.enter(name, typed);
        QTEST(l.row("Ip"), "ip");
        QTEST(l.row("Gate"), "gateway");
        QCOMPARE(l.row("Mask"), QStringLiteral("255.255.255.0"));

        // another screen's field is not ours
        My_lineEdit other;
        other.setObjectName(name);
        g_lineedit = &other;
        l.screen->confirmString(QStringLiteral("3"));
        QTEST(l.row("Ip"), "ip");
        QCOMPARE(other.text(), QString());
    }

    void applyWritesTheSettingsAndConfiguresEth0()
    {
        Link l;
        l.open();
        QSignalSpy codes(l.para, &QelRamPara::sig_update_para);
        const ino_t before = l.settingsInode();
        l.enter("lineEditIp1", "10");
        l.enter("lineEditIp2", "0");
        l.enter("lineEditIp4", "5");
        l.enter("lineEditMask2", "0");
        l.enter("lineEditMask3", "0");
        click(l.screen, "Button_net_apply");
        QCOMPARE(child<QPushButton>(l.screen, "Button_net_apply")->styleSheet(),
                 QStringLiteral("background-color:#4777FF;color:#FFFFFF"));

        const QString file = QString::fromUtf8(l.root.read(kSettings));
        for (const char *line : {"IPAddress=10.0.0.5", "SubNetMask=255.0.0.0", "GateWay=10.0.0.1"})
            QVERIFY2(file.contains(QLatin1String(line)), qPrintable(file));
        // replaced by a rename, nothing left beside it
        QVERIFY(l.settingsInode() != before);
        QCOMPARE(QDir(l.root.file("/data/configs")).entryList(QDir::Files), QStringList{"tcpip.ini"});
        QCOMPARE(Utils::recordedCommands(),
                 QStringList({"ifconfig eth0 >/dev/null 2>&1", "ifconfig eth0 10.0.0.5 netmask 255.0.0.0",
                              "route add default gw 10.0.0.1"}));
        QCOMPARE(g_str_ip.get(), QStringLiteral("10.0.0.5"));
        QCOMPARE(codes.count(), 1);
        QCOMPARE(codes.at(0).at(0).toInt(), 1);

        // the same again writes and applies nothing
        Utils::clearRecordedCommands();
        click(l.screen, "Button_net_apply");
        QVERIFY(Utils::recordedCommands().isEmpty());
        QCOMPARE(codes.count(), 1);

        // the gateway alone writes all three; Cancel keeps what was typed
        l.enter("lineEditGate4", "254");
        click(l.screen, "Button_net_cancel");
        QCOMPARE(child<QPushButton>(l.screen, "Button_net_cancel")->styleSheet(),
                 QStringLiteral("background-color:#4777FF;color:#FFFFFF"));
        QCOMPARE(l.row("Gate"), QStringLiteral("10.0.0.254"));
        click(l.screen, "Button_net_apply");
        QCOMPARE(Utils::recordedCommands().last(), QStringLiteral("route add default gw 10.0.0.254"));
        QVERIFY(QString::fromUtf8(l.root.read(kSettings)).contains("IPAddress=10.0.0.5"));
    }

    void badFieldsBlockApply()
    {
        Link l;
        // settings from outside: too few parts, a leading zero, a word
        g_str_ip = QStringLiteral("10.1.2");
        g_srt_mask = QStringLiteral("255.255.255.000");
        g_str_gateway = QStringLiteral("gate");
        l.open();
        QCOMPARE(l.row("Ip"), QStringLiteral("10.1.2."));
        QCOMPARE(l.row("Gate"), QStringLiteral("gate..."));
        l.field("lineEditMask1")->setText(QStringLiteral("0000000000255"));
        const QByteArray stored = l.root.read(kSettings);
        click(l.screen, "Button_net_apply");
        QCOMPARE(l.root.read(kSettings), stored);
        QVERIFY(Utils::recordedCommands().isEmpty());
        QStringList bad;
        for (const char *row : {"Ip", "Mask", "Gate"})
            for (int k = 1; k <= 4; ++k)
                if (l.highlighted(QStringLiteral("lineEdit%1%2").arg(QLatin1String(row)).arg(k)))
                    bad << QStringLiteral("%1%2").arg(QLatin1String(row)).arg(k);
        QCOMPARE(bad, QStringList({"Ip4", "Mask1", "Gate1", "Gate2", "Gate3", "Gate4"}));

        // corrected on the keypad, the highlight goes and Apply writes numbers
        l.enter("lineEditIp4", "9");
        l.enter("lineEditMask1", "255");
        for (const char *name : {"lineEditIp1", "lineEditIp2", "lineEditIp3"})
            l.enter(name, l.field(name)->text());
        l.enter("lineEditGate4", "1");
        QVERIFY(!l.highlighted("lineEditGate2") && !l.highlighted("lineEditIp4"));
        click(l.screen, "Button_net_apply");
        const QString file = QString::fromUtf8(l.root.read(kSettings));
        QVERIFY2(file.contains("SubNetMask=255.255.255.0\n") && file.contains("GateWay=10.1.2.1"), qPrintable(file));
    }

    void usbPageListsAndMarksThePackages_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QStringList>("rows");   // drawn, "*" when marked
        QTest::newRow("none") << QStringList{"readme.txt", "d.qel"} << "" << 0 << QStringList{};
        QTest::newRow("one") << QStringList{"a.QEL"} << "" << 1 << QStringList{"a.QEL*"};
        QTest::newRow("mixed") << QStringList{"b.QEL", "Z.QEL", "a.QEL", "c.QELZK", "d.qel", "e.QELzk", "f.QELZK.txt"}
                               << "" << 4 << QStringList{"a.QEL*", "b.QEL", "c.QELZK*", "Z.QEL"};
        QTest::newRow("odd names")
            << QStringList{"-rf x.QELZK", "it's \"q\".QELZK", "<b>x<b> &amp;.QELZK", "a;reboot.QEL", "$(id).QELZK"}
            << "" << 5
            << QStringList{"$(id).QELZK*", "-rf x.QELZK*", "<b>x<b> &amp;.QELZK*", "a;reboot.QEL*", "it's \"q\".QELZK*"};
        QStringList many;
        for (int i = 0; i < 120; ++i)
            many << QString::asprintf("p%03d.QELZK", i);
        QTest::newRow("120 on the stick") << many << "" << 100
                                          << QStringList{"p000.QELZK*", "p001.QELZK*", "p002.QELZK*", "p003.QELZK*",
                                                         "p004.QELZK*"};
        QTest::newRow("subfolder") << QStringList{"a.QEL"} << "up" << 1 << QStringList{"a.QEL*"};
        QTest::newRow("leaves the stick") << QStringList{"a.QEL"} << "../../data/configs" << 0 << QStringList{};
    }
    void usbPageListsAndMarksThePackages()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, folder);
        Link l;
        fpga_manage::pInstance();
        QDir().mkpath(l.root.file("/mnt/usb1"));
        if (folder.isEmpty()) {
            l.stick(files);
        } else {
            g_usb_grade_path = folder;
            l.stick(files, QStringLiteral("/mnt/usb1/") + folder + "/");
        }
        l.open();
        click(l.screen, "Button_usb");
        QCOMPARE(child<QStackedWidget>(l.screen, "stackedWidget")->currentIndex(), 2);
        QTEST(int(l.screen->files().size()), "listed");
        QTEST(l.rowsShown(), "rows");
        // every marked row is what the manager installs, in its order
        QStringList marked;
        for (int i = 0; i < l.screen->files().size(); ++i)
            if (l.screen->marked(i))
                marked << l.screen->files().at(i);
        QCOMPARE(marked, DeviceRequests::upgrade_packages());
        QCOMPARE(labelText(l.screen, "empty_0"),
                 QString::fromLatin1(l.screen->files().isEmpty() ? "No loaded file!" : "<none>"));

        // nothing marked: OK starts nothing
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), marked.isEmpty() ? 0 : 1);
    }

    void okRunsTheUpgradeOnceThroughToTheFiles()
    {
        Link l;
        l.stick({"a.QEL", "b.QEL", "c.QELZK", "d.qel"});
        fpga_manage *f = fpga_manage::pInstance();
        NumberKeyboard *pad = g_numberkeyboard;
        std::unique_ptr<MainWindow> main(new MainWindow);   // shows the overlay
        g_numberkeyboard = pad;
        l.open();
        click(l.screen, "Button_usb");
        QSignalSpy codes(l.para, &QelRamPara::sig_update_para);
        const auto run = [f, w = main.get()] {
            f->pass();
            QCoreApplication::processEvents();
            QVERIFY(w->update_overlay() && w->update_overlay()->isVisible());
            for (int i = 0; i < 20 && g_usb_grade.load(); ++i)
                f->pass();
            QCOMPARE(g_usb_grade.load(), 0);
            QCoreApplication::processEvents();
            QVERIFY(!w->update_overlay());
        };

        // refused while a card job or another upgrade runs
        g_send_para.post(JOB_SAVE_PARA);
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 0);
        g_send_para.clear();
        g_usb_grade = 2;
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 2);
        g_usb_grade = 0;

        // the stick pulled during the upgrade: nothing installed, no "done"
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 1);
        QDir(l.root.file("/mnt/usb1")).removeRecursively();
        l.screen->syncUpdate(REFRESH_USB_OUT);
        QCOMPARE(l.rowsShown(), QStringList());
        run();
        QCOMPARE(codes.count(), 1);
        QCOMPARE(codes.at(0).at(0).toInt(), int(REFRESH_UPGRADE_DONE));
        l.screen->syncUpdate(REFRESH_UPGRADE_DONE);
        QCOMPARE(labelText(l.screen, "label_log"), QString());
        QVERIFY(!l.root.exists("/data/app"));

        l.stick({"a.QEL", "b.QEL", "c.QELZK", "d.qel"});
        l.screen->syncUpdate(REFRESH_USB_READY);
        QCOMPARE(l.rowsShown(), QStringList({"a.QEL*", "b.QEL", "c.QELZK*"}));
        click(l.screen, "Button_ok");
        run();
        QStringList installed = QDir(l.root.file("/data/app")).entryList(QDir::Files);
        installed.sort();
        QCOMPARE(installed, QStringList({"a.QEL", "c.QELZK"}));
        QCOMPARE(l.root.read("/data/app/c.QELZK"), QByteArray("c.QELZK"));
        QCOMPARE(Utils::recordedCommands(), QStringList{"reboot"});

        // 104 on another page changes nothing, on the USB page shows the times
        click(l.screen, "Button_com");
        l.screen->syncUpdate(REFRESH_UPGRADE_DONE);
        QCOMPARE(labelText(l.screen, "label_log"), QString());
        click(l.screen, "Button_usb");
        l.screen->syncUpdate(REFRESH_UPGRADE_DONE);
        QCOMPARE(labelText(l.screen, "label_log"),
                 QStringLiteral("<font style = 'font-size:20px' color = #51BB28 >downing over<br>%1</font>")
                     .arg(f->upgrade_times()));

        // a second tap starts nothing; 100 only traces
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 0);
        l.stick({"x.QELZK"});
        l.screen->syncUpdate(REFRESH_USB_IN);
        QCOMPARE(l.rowsShown().size(), 3);

        // pulled and back: the stick emptied before OK without a refresh
        l.screen->syncUpdate(REFRESH_USB_OUT);
        QDir(l.root.file("/mnt/usb1")).removeRecursively();
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 0);
        l.stick({"x.QELZK"});
        click(l.screen, "Button_ok");
        QCOMPARE(g_usb_grade.load(), 1);
        main.reset();
        g_numberkeyboard = pad;
    }

    void textsInFiveLanguagesAndBack()
    {
        Link l;
        register_screens();
        QPointer<LinkOption> alive;
        onModal([&l, &alive](QWidget *m) {
            l.screen = qobject_cast<LinkOption *>(m);
            alive = l.screen;
            QVERIFY(l.screen && l.screen == g_linkoption);
            QCOMPARE(int(g_page_focus), int(PAGE_NETWORK));
            QCOMPARE(res(l.screen, "Button_direct"), QStringLiteral(":/png/checked.png"));
            click(l.screen, "Button_IP");
            QCOMPARE(res(l.screen, "Button_direct"), QStringLiteral(":/png/unchecked.png"));
            QCOMPARE(res(l.screen, "Button_IP"), QStringLiteral(":/png/checked.png"));
            click(l.screen, "Button_usb");

            const char *const titles[5] = {"通讯设置", "Communication", "Подключение", "Cài đặt giao tiếp", "通訊設置"};
            const char *const masks[5] = {"掩码", "mask", "mask", "mask", "掩碼"};
            const char *const none[5] = {"无加载文件!", "No loaded file!", "Нет файлов для загрузки!",
                                         "Không có tập tin để tải!", "無加載文件!"};
            for (int lang = 0; lang < 5; ++lang) {
                l.para->ram_para[Img::LANGUAGE] = u8(lang);
                l.screen->syncUpdate(REFRESH_SAVE);
                l.settle();
                QCOMPARE(labelText(l.screen, "label_title"), QString::fromUtf8(titles[lang]));
                QCOMPARE(labelText(l.screen, "empty_0"), QString::fromUtf8(none[lang]));
                onModal([&](QWidget *pad) {
                    QCOMPARE(labelText(pad, "label_title"), QString::fromUtf8(masks[lang]));
                    QTest::mouseClick(child<QPushButton>(pad, "Button_close"), Qt::LeftButton);
                });
                QTest::mouseClick(l.field("lineEditMask3"), Qt::LeftButton);
            }
            QCOMPARE(child<QPushButton>(l.screen, "Button_wlan")->text(), QString::fromUtf8("網口設置"));
            g_lcd_lang_valid = 0x0F;   // traditional Chinese not allowed
            l.screen->language_changed();
            QCOMPARE(child<QPushButton>(l.screen, "Button_net_cancel")->text(), QStringLiteral("Cancle"));
            click(l.screen, "Button_back");
        });
        QVERIFY(ScreenRegistry::open(PAGE_NETWORK));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!g_linkoption);
        QCOMPARE(int(g_page_focus), int(PAGE_SETTINGS));
        QVERIFY(!alive);
        l.screen = nullptr;
        ScreenRegistry::clear();
    }
};

QTEST_MAIN(TestLinkOption)
#include "test_linkoption.moc"
