#include <QFrame>
#include <QPointer>

#include "core/utils.h"
#include "tests/ui/shell/shell_fixture.h"
#include "ui/picture/custommode.h"
#include "ui/shell/screen_registry.h"

namespace {

const char *const kMenu = R"({"osdcount":1,"osdlist":[{"x":8,"y":16,"w":640,"h":64,"effect":4,"speed":3,
    "back_color":"0x102030","startx":1,"starty":2,"fontw":32,"fonth":48,"wordspace":5,"verticalspace":6,
    "font_color":"0xFFEE00","texts":"one\ntwo\nthree\nfour\nfive"}]})";

// The shell with the user mode screen reached through the registry.
struct Modes : Shell
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    CustomMode *s = nullptr;

    Modes() { register_screens(); }
    ~Modes()
    {
        delete g_custommode;
        c331_manage::destroyInstance();
    }

    void set(int offset, int value) { para->set_u16(offset, u16(value)); }
    void window(int w, int on, int source, int x = 0, int y = 0, int width = 1920, int height = 1080)
    {
        const int v[] = {on, source, x, y, width, height};
        const int f[] = {Img::W_ON, Img::W_SOURCE, Img::W_X, Img::W_Y, Img::W_W, Img::W_H};
        for (int i = 0; i < 6; ++i)
            set(Img::window(w, f[i]), v[i]);
    }
    // The scaler applies, then the shell's refresh runs on the page shown.
    void applyAndRefresh()
    {
        c331_manage::pInstance()->pass();
        ScreenRegistry::refresh(g_page_focus, 1);
        SyncUpdate::pInstance()->para_sync(1);
    }
    // The operator keeps the live settings in a slot with the main menu's pop-up.
    void save(int slot)
    {
        w->show_menu();
        click(w, "Button_mode");
        click(w, QStringLiteral("mode_slot_%1").arg(slot));
        click(w, "Button_mode_save");
        applyAndRefresh();
        w->mode_window_close();
    }
    CustomMode *open()
    {
        s = static_cast<CustomMode *>(ScreenRegistry::find(PAGE_USER_MODE)->create());
        s->show();
        return s;
    }
    QString text(const QString &label) const { return labelText(s, label); }
    bool shows(const char *widget) const { return child(s, widget) && child(s, widget)->isVisibleTo(s); }
    QString style(const QString &widget) const { return child(s, widget)->styleSheet(); }
    void touch(int slot) { click(s, QString::number(slot)); }
};

}

class TestCustomMode : public QObject
{
    Q_OBJECT

private slots:
    void savedInThePopupShowsInTilesAndPreview()
    {
        Modes m;
        m.root.write("/data/configs/omenu.json", kMenu);
        m.window(0, 1, 2);
        m.window(1, 0, 0x8002, 100, 50, 640, 360);
        m.set(Img::crop(2), Img::cropWord(4, 1));
        for (int w = 2; w < 6; ++w)
            m.window(w, w % 2, w, w, 2 * w, 10 * w, 20 * w);
        const std::pair<int, int> fields[] = {{Img::CANVAS_W, 3840}, {Img::CANVAS_H, 1080}, {Img::BRIGHTNESS, 77},
                                              {Img::CONTRAST, 33},   {Img::AUDIO_WINDOW, 5},  {Img::OSD_ON, 1}};
        for (const auto &[offset, value] : fields)
            m.set(offset, value);
        m.para->ram_para[Img::window(5, Img::W_AUDIO)] = 0x80;
        m.save(4);
        QVERIFY(m.root.exists("/data/modes/custom_mode5"));
        QVERIFY(m.root.exists("/data/modes/MO05.json"));

        m.open();
        QCOMPARE(int(g_page_focus), int(PAGE_USER_MODE));
        QCOMPARE(m.text("label_ID"), QStringLiteral("ID:5"));
        QVERIFY(m.shows("label_using") && m.shows("mode_badge"));
        QCOMPARE(child(m.s, "mode_badge")->geometry(), QRect(96, 362, 56, 30));   // on tile 5, at its right edge
        QVERIFY(m.style("mode_frame_4").contains("1px solid #00D65B"));
        QCOMPARE(m.text("mode_name_4"), QStringLiteral("MODE 5"));
        QCOMPARE(m.text("label_name"), QStringLiteral("Name:Mode5"));
        QCOMPARE(m.text("label_LED"), QStringLiteral("LED size:3840x1080"));
        QCOMPARE(m.text("label_brightness"), QStringLiteral("Bri:77 CTRST:33 Volume:ON"));
        QVERIFY(!m.shows("label_blank"));
        const char *rows[6][2] = {{"HDMI1 ON", "[0,0]1920x1080"}, {"HDMI3_Crop3 OFF", "[100,50]640x360"},
                                  {"HDMI1 OFF", "[2,4]20x40"},    {"HDMI2 ON", "[3,6]30x60"},
                                  {"HDMI3 OFF", "[4,8]40x80"},    {"HDMI4 ON", "[5,10]50x100"}};
        const char *colours[6] = {"#D5E5FF", "#D4FC79", "#FC9D79", "#7E9AC9", "#32CC4C", "#4777FF"};
        for (int w = 0; w < 6; ++w) {
            QCOMPARE(m.text(QStringLiteral("window_source_%1").arg(w)), QString::fromUtf8(rows[w][0]));
            QCOMPARE(m.text(QStringLiteral("window_rect_%1").arg(w)), QString::fromUtf8(rows[w][1]));
            QCOMPARE(m.style(QStringLiteral("window_number_%1").arg(w)),
                     QStringLiteral("background-color: %1;").arg(colours[w]));
        }
        QCOMPARE(m.text("osd_text"), QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(m.style("osd_text"), QStringLiteral("background-color:#102030;color:#FFEE00;"));
        QCOMPARE(m.text("osd_para"), QStringLiteral("osd [x:8,y:16,w:640,h:64] font size:32*48\n"
                                                    "space [h:5,v:6] char[x:1,y:2] speed:3,effect:move left"));
    }

    void windowSources_data()
    {
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("cropWord");   // crop record 5
        QTest::addColumn<QString>("line");
        QTest::newRow("input") << 1 << 3 << 0 << "HDMI2 ON";
        QTest::newRow("on word 0x0101") << 0x0101 << 0 << 0 << "EXT ON";
        QTest::newRow("high byte only") << 0x0100 << 1 << 0 << "DVI OFF";
        QTest::newRow("on word 2") << 2 << 1 << 0 << "DVI OFF";
        QTest::newRow("crop") << 1 << 0x8005 << int(Img::cropWord(1, 7)) << "DVI_Crop6 ON";
        QTest::newRow("free crop record") << 1 << 0x8005 << 0 << "ON";
        QTest::newRow("crop on input 7") << 1 << 0x8005 << 0x8007 << "ON";
        QTest::newRow("crop index 40") << 1 << 0x8028 << int(Img::cropWord(1, 1)) << "ON";
        QTest::newRow("crop index 255") << 0 << 0x80FF << 0 << "OFF";
        QTest::newRow("input 6") << 1 << 6 << 0 << "ON";
        QTest::newRow("input 255") << 1 << 0xFF << 0 << "ON";
    }
    void windowSources()
    {
        QFETCH(int, on);
        QFETCH(int, source);
        QFETCH(int, cropWord);
        Modes m;
        m.window(4, on, source);
        m.set(Img::crop(5), cropWord);
        m.save(0);
        m.open();
        QTEST(m.text("window_source_4"), "line");
    }

    void audioLine_data()
    {
        QTest::addColumn<int>("audioWindow");
        QTest::addColumn<int>("audioByte");   // of window audioWindow & 0xFF
        QTest::addColumn<QString>("line");
        QTest::newRow("window 0 on") << 0 << 0x80 << "Bri:100 CTRST:50 Volume:ON";
        QTest::newRow("window 5 on") << 5 << 0xFF << "Bri:100 CTRST:50 Volume:ON";
        QTest::newRow("window 5 off") << 5 << 0x7F << "Bri:100 CTRST:50 Volume:OFF";
        QTest::newRow("low byte read") << 0x0102 << 0x80 << "Bri:100 CTRST:50 Volume:ON";
        QTest::newRow("window 6") << 6 << 0x80 << "Bri:100 CTRST:50 Volume:OFF";
        QTest::newRow("window 255") << 255 << 0x80 << "Bri:100 CTRST:50 Volume:OFF";
    }
    void audioLine()
    {
        QFETCH(int, audioWindow);
        QFETCH(int, audioByte);
        Modes m;
        m.set(Img::AUDIO_WINDOW, audioWindow);
        if ((audioWindow & 0xFF) < 16)
            m.para->ram_para[Img::window(audioWindow & 0xFF, Img::W_AUDIO)] = u8(audioByte);
        m.save(1);
        m.open();
        QTEST(m.text("label_brightness"), "line");
    }

    void displayMenuCopy_data()
    {
        QTest::addColumn<QByteArray>("file");   // "-" no file
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("tail");      // of the parameter line
        const QString zeros = "speed:0,effect:static";
        // one entry, written with ' for "
        auto entry = [](const char *fields) {
            QByteArray json = "{'osdcount':1,'osdlist':[{" + QByteArray(fields) + "}]}";
            return json.replace('\'', '"');
        };
        QTest::newRow("three lines") << entry("'texts':'a\\n\\nc','back_color':'0x80FF0000','font_color':'0x000000'")
                                     << "a\n\nc" << "background-color:#80FF0000;color:#000000;" << zeros;
        QTest::newRow("bad colours") << entry("'back_color':'0xGG0000','font_color':'0x12345','effect':2")
                                     << "" << "" << "speed:0,effect:move up";
        QTest::newRow("rich text") << entry("'texts':'<b>x</b>','font_color':'#FF0000','effect':5,'speed':9")
                                   << "<b>x</b>" << "" << "speed:9,effect:move right";
        QTest::newRow("effect 1") << entry("'effect':1") << "" << "" << zeros;
        QTest::newRow("effect 3") << entry("'effect':3") << "" << "" << "speed:0,effect:move down";
        QTest::newRow("wrong types") << entry("'x':'left','texts':{'a':1},'back_color':7") << "" << "" << zeros;
        QTest::newRow("no entries") << QByteArray(R"({"osdcount":0})") << "" << "" << zeros;
        QTest::newRow("missing") << QByteArray("-") << "" << "" << zeros;
        QTest::newRow("empty") << QByteArray() << "" << "" << zeros;
        QTest::newRow("not json") << QByteArray("{\"osdcount\":") << "" << "" << zeros;
    }
    void displayMenuCopy()
    {
        QFETCH(QByteArray, file);
        Modes m;
        m.set(Img::OSD_ON, 1);
        m.save(0);
        QFile::remove(m.root.file("/data/modes/MO01.json"));
        if (file != "-")
            m.root.write("/data/modes/MO01.json", file);
        m.open();
        QTEST(m.text("osd_text"), "text");
        QCOMPARE(child<QLabel>(m.s, "osd_text")->textFormat(), Qt::PlainText);
        QTEST(m.style("osd_text"), "style");
        QFETCH(QString, tail);
        QVERIFY2(m.text("osd_para").endsWith(tail), qPrintable(m.text("osd_para")));
    }

    void eachSlotReadsItsOwnMenuCopy()
    {
        Modes m;
        m.set(Img::OSD_ON, 1);
        m.save(9);
        m.save(15);
        m.set(Img::OSD_ON, 0);
        m.save(2);
        m.root.write("/data/modes/MO0a.json", R"({"osdcount":1,"osdlist":[{"texts":"ten"}]})");
        m.root.write("/data/modes/MO10.json", R"({"osdcount":1,"osdlist":[{"texts":"sixteen"}]})");
        m.root.write("/data/modes/MO03.json", "broken");
        m.open();
        m.touch(9);
        QCOMPARE(m.text("osd_text"), QStringLiteral("ten"));
        m.touch(15);
        QCOMPARE(m.text("osd_text"), QStringLiteral("sixteen"));
        // display off in the mode: only the window rows, and the copy is not read
        m.touch(2);
        QVERIFY(!child(m.s, "osd_text") && child(m.s, "window_rect_5"));
        QVERIFY(m.root.exists("/data/modes/MO03.json"));
    }

    void tilesSelectAndEmptySlots()
    {
        Modes m;
        m.save(3);
        m.set(Img::CURRENT_MODE, 17);   // no mode current
        m.applyAndRefresh();
        m.open();
        QCOMPARE(m.text("label_ID"), QStringLiteral("ID:1"));
        QVERIFY(!m.shows("mode_badge") && !m.shows("label_using"));
        QVERIFY(m.shows("label_blank") && !m.shows("label_LED") && !m.shows("label_brightness"));
        QVERIFY(!child(m.s, "preview"));

        // saved -> empty -> saved: the preview is rebuilt each time
        m.touch(3);
        QPointer<QWidget> preview = child(m.s, "preview");
        QVERIFY(preview && m.shows("label_LED") && !m.shows("label_blank"));
        m.touch(11);
        QVERIFY(!preview && !child(m.s, "preview"));
        QCOMPARE(m.text("label_ID"), QStringLiteral("ID:12"));
        QCOMPARE(m.text("label_name"), QStringLiteral("Name:Mode12"));
        QVERIFY(m.style("mode_frame_11").contains("2px solid"));
        QVERIFY(m.style("mode_frame_3").contains("1px solid #FFFFFF"));
        m.touch(3);
        QVERIFY(child(m.s, "preview"));
    }

    void aliasNamesArePlainTextAndElided()
    {
        Modes m;
        m.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[
            {"id":0,"valid":"on","name":"A very long name for the stage left wall"},
            {"id":1,"valid":"on","name":"<i>&"}, {"id":2,"valid":"off","name":"Hidden"}]}})");
        m.open();
        const QString tile = m.text("mode_name_0");
        QVERIFY(tile.endsWith(QChar(0x2026)));
        QVERIFY(child<QLabel>(m.s, "mode_name_0")->fontMetrics().horizontalAdvance(tile) <= 100);
        QVERIFY(m.text("label_name").startsWith("Name:A very") && m.text("label_name").endsWith(QChar(0x2026)));
        QCOMPARE(m.text("mode_name_1"), QStringLiteral("<i>&"));
        QCOMPARE(child<QLabel>(m.s, "mode_name_1")->textFormat(), Qt::PlainText);
        QCOMPARE(m.text("mode_name_2"), QStringLiteral("MODE 3"));
        m.touch(1);
        QCOMPARE(m.text("label_name"), QStringLiteral("Name:<i>&"));
        QCOMPARE(child<QLabel>(m.s, "label_name")->textFormat(), Qt::PlainText);
    }

    void recallReachesTheChipThenTheScreenRefreshes()
    {
        Modes m;
        m.window(0, 1, 3, 100, 50, 640, 360);
        m.set(Img::BRIGHTNESS, 20);
        m.save(3);
        m.window(0, 1, 2);
        m.set(Img::BRIGHTNESS, 90);
        m.set(Img::CURRENT_MODE, 0);
        m.applyAndRefresh();
        u8 before[Img::SIZE];
        std::memcpy(before, m.para->ram_para, Img::SIZE);

        m.open();
        m.touch(3);
        click(m.s, "Button_use");
        QCOMPARE(m.para->get_u16(Img::CURRENT_MODE), u16(4));
        QVERIFY(std::memcmp(m.para->ram_para + Img::USER_PAYLOAD, m.para->user_mode[3].para, Img::USER_PAYLOAD_SIZE) == 0);
        QVERIFY(std::memcmp(m.para->ram_para, before, Img::CURRENT_MODE) == 0);
        QCOMPARE(int(c331_manage::para_update), 1);
        QVERIFY(!m.shows("mode_badge"));   // nothing repaints before the refresh

        c331_manage::pInstance()->pass();
        const C331_STATE chip = c331_manage::pInstance()->chip()->state();
        QCOMPARE(int(chip.brightness), 20);
        QCOMPARE(int(chip.window[0].source), 3);
        QCOMPARE(chip.window[0].x, u16(100));
        QCOMPARE(chip.window[0].w, u16(640));
        ScreenRegistry::refresh(PAGE_USER_MODE, 1);
        SyncUpdate::pInstance()->para_sync(1);
        QVERIFY(m.shows("mode_badge") && m.shows("label_using"));
        QCOMPARE(child(m.s, "mode_badge")->geometry().y(), 272);
        QCOMPARE(m.text("label_ID"), QStringLiteral("ID:4"));
        QCOMPARE(g_tip->code(), 1);
        QVERIFY(g_tip->isVisible());
        QCOMPARE(m.para->shadow_u16(Img::CURRENT_MODE), u16(4));
    }

    void emptyOrCorruptSlotOnlyMovesTheHighlight()
    {
        Modes m;
        QByteArray corrupt(4098, char(0xFF));
        corrupt[0] = corrupt[1] = char(0xAA);
        m.root.write("/data/modes/custom_mode2", corrupt);
        m.root.write("/data/modes/custom_mode1", QByteArray(100, char(0xAA)));   // truncated
        QCOMPARE(m.para->load_user_mode(0) + m.para->load_user_mode(1), 1);
        m.applyAndRefresh();
        u8 before[Img::SIZE];
        std::memcpy(before, m.para->ram_para, Img::SIZE);

        m.open();
        click(m.s, "Button_delete");
        QVERIFY(m.style("Button_delete").startsWith("background-color: #4777FF"));
        QVERIFY(m.style("Button_use").startsWith("background-color: #212435"));
        click(m.s, "Button_use");
        QVERIFY(m.style("Button_use").startsWith("background-color: #4777FF"));
        QVERIFY(std::memcmp(before, m.para->ram_para, Img::SIZE) == 0);
        QCOMPARE(int(c331_manage::para_update), 0);

        // a saved slot of 0xFF bytes: nothing names an input, no audio, an empty menu
        m.touch(1);
        QCOMPARE(m.text("label_LED"), QStringLiteral("LED size:65535x65535"));
        QCOMPARE(m.text("label_brightness"), QStringLiteral("Bri:65535 CTRST:65535 Volume:OFF"));
        QCOMPARE(m.text("window_source_0"), QStringLiteral("OFF"));
        QCOMPARE(m.text("window_rect_5"), QStringLiteral("[65535,65535]65535x65535"));
        QCOMPARE(m.text("osd_text"), QString());
    }

    void deleteRemovesTheFilesWithoutAShell()
    {
        Modes m;
        m.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[{"id":2,"valid":"on","name":"a; reboot"}]}})");
        m.root.write("/data/configs/omenu.json", kMenu);
        m.set(Img::OSD_ON, 1);
        m.save(2);
        QVERIFY(m.root.exists("/data/modes/MO03.json"));
        Utils::clearRecordedCommands();

        m.open();
        QCOMPARE(m.text("label_ID"), QStringLiteral("ID:3"));
        click(m.s, "Button_delete");
        QVERIFY(!m.root.exists("/data/modes/custom_mode3") && !m.root.exists("/data/modes/MO03.json"));
        QVERIFY(Utils::recordedCommands().isEmpty());
        QCOMPARE(m.para->QelUserModeSaved(2), 0);
        QVERIFY(m.shows("label_blank") && !child(m.s, "preview"));
        // the current mode and the tiles stay
        QCOMPARE(m.para->get_u16(Img::CURRENT_MODE), u16(3));
        QCOMPARE(int(c331_manage::para_update), 0);
        QVERIFY(m.shows("mode_badge") && m.shows("label_using"));
        QCOMPARE(m.text("mode_name_2"), QStringLiteral("a; reboot"));
    }

    void languages_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("valid");
        QTest::addColumn<QString>("texts");
        QTest::newRow("zh") << 0 << 0x1F
                            << "用户模式|删除|调用|使用中\u00AD|未保存用户模式数据|用户模式1|名称:用户模式1|LED参数:1920x1080|"
                               "亮度:100 对比度:50 音量:关闭|EXT 开启|字体大小:";
        QTest::newRow("en") << 1 << 0x1F
                            << "User mode|Delete|Invoke|Using|Usermode does not exist|MODE 1|Name:Mode1|"
                               "LED size:1920x1080|Bri:100 CTRST:50 Volume:OFF|EXT ON|font size:";
        QTest::newRow("ru") << 2 << 0x1F
                            << "Слот|Удалить|Вызвать|Использовать|Данные не сохранены|Слот 1|Название:Слот1|"
                               "Размер LED:1920x1080|Яркость:100 Контраст:50 Громкость:Откл|EXT Вкл|font size:";
        QTest::newRow("vn") << 3 << 0x1F
                            << "Chế độ người dùng|Xoá bỏ|Dùng|sử dụng|Chế độ không được lưu|Chế độ 1|Tên:Chế độ1|"
                               "Kích thước LED:1920x1080|Độ sáng:100 Tương phản:50 Âm:đóng|EXT Mở|font size:";
        QTest::newRow("tw") << 4 << 0x1F
                            << "用戶模式|删除|調用|使用中\u00AD|未保存用戶模式數據|用戶模式1|名稱:用戶模式1|LED參數:1920x1080|"
                               "亮度:100 對比度:50 音量:關閉|EXT 開啟|字體大小:";
        QTest::newRow("ru not allowed") << 2 << 0x1B
                                        << "User mode|Delete|Invoke|Using|Usermode does not exist|MODE 1|Name:Mode1|"
                                           "LED size:1920x1080|Bri:100 CTRST:50 Volume:OFF|EXT ON|font size:";
    }
    void languages()
    {
        QFETCH(int, language);
        QFETCH(int, valid);
        Modes m;
        m.window(0, 1, 0);
        m.set(Img::OSD_ON, 1);
        m.save(0);
        g_language = u8(language);
        g_lcd_lang_valid = valid;
        m.open();
        const QStringList shown = {m.text("label_title"), child<QPushButton>(m.s, "Button_delete")->text(),
                                   child<QPushButton>(m.s, "Button_use")->text(), m.text("label_using"),
                                   m.text("label_blank"), m.text("mode_name_0"), m.text("label_name"),
                                   m.text("label_LED"), m.text("label_brightness"), m.text("window_source_0"),
                                   m.text("osd_para").section("] ", 1).section(':', 0, 0) + ':'};
        QTEST(shown.join('|'), "texts");
    }

    void languageChangeRelabelsOnRefresh()
    {
        Modes m;
        m.open();
        m.para->ram_para[Img::LANGUAGE] = 2;
        m.applyAndRefresh();
        QCOMPARE(m.text("label_title"), QStringLiteral("Слот"));
        QCOMPARE(m.text("mode_name_0"), QStringLiteral("MODE 1"));   // until the next rebuild
    }

    void backAndIdleReturnGoToTheMainMenu()
    {
        Modes m;
        QVERIFY(ScreenRegistry::registered(PAGE_USER_MODE));
        for (bool idle : {false, true}) {
            QPointer<QDialog> shown;
            onModal([&](QWidget *modal) {
                shown = g_custommode;
                QVERIFY(modal == g_custommode && g_page_focus == PAGE_USER_MODE);
                if (idle)
                    ScreenRegistry::back(g_page_focus);
                else
                    click(modal, "Button_back");
            });
            QVERIFY(ScreenRegistry::open(PAGE_USER_MODE));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!shown && !g_custommode);
            QCOMPARE(int(g_page_focus), int(PAGE_MAIN));
            QVERIFY(!g_button_focus);
            for (QFrame *f : g_frame)
                QVERIFY(!f);
        }
    }
};

QTEST_MAIN(TestCustomMode)
#include "test_custommode.moc"
