#include <QImage>
#include <QScrollArea>
#include <QScrollBar>

#include "core/utils.h"
#include "tests/ui/shell/shell_fixture.h"
#include "ui/picture/custommode.h"

namespace {

const char *const kMenu = R"({"osdcount":1,"osdlist":[{"x":8,"y":16,"w":640,"h":64,"effect":4,"speed":3,
    "back_color":"0x80102030","startx":1,"starty":2,"fontw":32,"fonth":48,"wordspace":5,"verticalspace":6,
    "font_color":"0xFFEE00","texts":"one\ntwo\nthree\nfour\nfive"}]})";
// a tile's left border as drawn, its outer and inner pixel
const char *const kCurrent = "#00d65b #212435";   // the current mode's tile
const char *const kTouched = "#00d65b #00d65b";   // the tile touched last
const char *const kPlain = "#ffffff #212435";

// The shell with the user mode screen reached through the registry.
struct Modes : Shell
{
    QelRamPara *para = QelRamPara::p_qelrampara_config;
    CustomMode *s = nullptr;

    ~Modes() { delete g_custommode; c331_manage::destroyInstance(); }
    void set(int offset, int value) { para->set_u16(offset, u16(value)); }
    void window(int w, int on, int source, int x = 0, int y = 0, int width = 1920, int height = 1080)
    {
        for (const auto &f : {std::make_pair(Img::W_ON, on), {Img::W_SOURCE, source}, {Img::W_X, x}, {Img::W_Y, y},
                              {Img::W_W, width}, {Img::W_H, height}})
            set(Img::window(w, f.first), f.second);
    }
    // The scaler applies, then the shell's refresh runs on the page shown.
    void applyAndRefresh() { c331_manage::pInstance()->pass(); SyncUpdate::pInstance()->para_sync(1); }
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
    void open(bool paint = true)
    {
        (s = static_cast<CustomMode *>(ScreenRegistry::find(PAGE_USER_MODE)->create()))->show();
        if (paint)
            painted();
    }
    // the tiles' buttons and the tiles out of view follow the first paint
    void painted() { QVERIFY(QTest::qWaitFor([this] { return child(s, "15"); })); }
    // a label's text, or one the preview or a tile draws under that name
    QString text(const QString &name) const
    {
        for (QWidget *w : s->findChildren<QWidget *>())
            if (w->objectName() == name || w->property(qPrintable(name)).isValid())
                return w->objectName() == name ? labelText(s, name) : w->property(qPrintable(name)).toString();
        return QStringLiteral("<none>");
    }
    // the display text as drawn: its text, its block's corner, whether its text colour shows
    QString osd(QRgb fore) const
    {
        const QImage shot = child(s, "preview")->grab().toImage().copy(10, 150, 570, 56).convertToFormat(QImage::Format_RGB32);
        const QRgb *px = reinterpret_cast<const QRgb *>(shot.constBits());
        const bool found = std::count(px, px + shot.width() * shot.height(), fore | 0xFF000000u) > 0;
        return text("osd_text") + ' ' + QColor(px[0]).name() + (found ? " text" : " no text");
    }
    bool shows(const char *widget) const { return child(s, widget) && child(s, widget)->isVisibleTo(s); }
    QString style(const QString &widget) const { return child(s, widget)->styleSheet(); }
    QString border(int slot) const
    {
        const QImage tile = child(s, QStringLiteral("mode_frame_%1").arg(slot))->grab().toImage();
        return QColor(tile.pixel(0, 40)).name() + ' ' + QColor(tile.pixel(1, 40)).name();
    }
    void touch(int slot) { click(s, QString::number(slot)); }
};

}

class TestCustomMode : public QObject
{
    Q_OBJECT

private slots:
    void savedInThePopupShows_data()
    {
        QTest::addColumn<QByteArray>("copy");   // the slot's display-menu copy replaced; "-" none
        QTest::addColumn<QString>("osd");
        // first entry, three lines, its colours; in Russian the title
        QTest::newRow("ru") << QByteArray() << "Слот one\ntwo\nthree #101826 text";
        const QByteArray badColours = R"({"osdcount":1,"osdlist":[{"back_color":"0xGG0000","font_color":"0x12345"}]})";
        QTest::newRow("bad colours") << badColours << "User mode  #10101c no text";
        QTest::newRow("missing") << QByteArray("-") << "User mode  #10101c no text";
        QTest::newRow("not json") << QByteArray("{\"osdcount\":") << "User mode  #10101c no text";
    }
    void savedInThePopupShows()
    {
        QFETCH(QByteArray, copy);
        Modes m;
        m.root.write("/data/configs/omenu.json", kMenu);
        m.window(5, 0, 5, 5, 10, 50, 100);
        for (const auto &f : {std::make_pair(Img::CANVAS_W, 3840), {Img::AUDIO_WINDOW, 5}, {Img::OSD_ON, 1}})
            m.set(f.first, f.second);
        m.para->ram_para[Img::window(5, Img::W_AUDIO)] = 0x80;
        m.save(4);
        if (!copy.isEmpty() && QFile::remove(m.root.file("/data/modes/MO05.json")) && copy != "-")
            m.root.write("/data/modes/MO05.json", copy);
        g_language = copy.isEmpty() ? 2 : 1;
        m.open();
        QCOMPARE(m.text("label_ID") + ' ' + m.text("window_rect_5"), QStringLiteral("ID:5 [5,10]50x100"));
        QVERIFY(m.shows("label_using") && m.shows("mode_badge") && m.text("label_LED").endsWith(QLatin1String(":3840x1080")));
        QTEST(m.text("label_title") + ' ' + m.osd(copy.isEmpty() ? 0xFFEE00 : 0xFFFFFF), "osd");
        if (!copy.isEmpty())
            QCOMPARE(m.text("osd_para"), QStringLiteral("osd [x:0,y:0,w:0,h:0] font size:0*0\n"
                                                        "space [h:0,v:0] char[x:0,y:0] speed:0,effect:static"));
    }

    void slotRows_data()
    {
        QTest::addColumn<QList<int>>("in");   // window 4's source, crop record 5, the audio window and its byte
        QTest::addColumn<QString>("line");    // window 4's source name, then the volume
        QTest::newRow("input") << QList<int>{3, 0, 5, 0xFF} << "HDMI2 ON ON";
        QTest::newRow("crop") << QList<int>{0x8005, Img::cropWord(1, 7), 5, 0x7F} << "DVI_Crop6 ON OFF";
        QTest::newRow("free crop record") << QList<int>{0x8005, 0, 6, 0x80} << "ON OFF";
        QTest::newRow("crop on input 7") << QList<int>{0x8005, 0x8007, 0, 0} << "ON OFF";
        QTest::newRow("crop index 40") << QList<int>{0x8028, Img::cropWord(1, 1), 0, 0} << "ON OFF";
        QTest::newRow("input 6") << QList<int>{6, 0, 0, 0} << "ON OFF";
    }
    void slotRows()
    {
        QFETCH(QList<int>, in);
        Modes m;
        m.window(4, 1, in[0]);
        m.set(Img::crop(5), in[1]);
        m.set(Img::AUDIO_WINDOW, in[2]);
        m.para->ram_para[Img::window(in[2], Img::W_AUDIO)] = u8(in[3]);
        m.save(0);
        m.open();
        QTEST(m.text("window_source_4") + ' ' + m.text("label_brightness").section(':', -1), "line");
    }

    // Alias names and delete; empty slots and recall; the current tile far down
    // before the late tiles exist, and a recall there keeps the scrolling.
    void tilesRecallDeleteAndLateTiles()
    {
        Modes m;
        m.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[
            {"id":2,"valid":"on","name":"<i>; reboot"}, {"id":3,"valid":"off","name":"Hidden"}]}})");
        m.root.write("/data/configs/omenu.json", kMenu);
        m.set(Img::OSD_ON, 1);
        m.save(2);
        Utils::clearRecordedCommands();
        m.open();
        QCOMPARE(m.text("label_name") + ' ' + m.text("mode_name_3"), QStringLiteral("Name:<i>; reboot MODE 4"));
        QCOMPARE(child<QLabel>(m.s, "label_name")->textFormat(), Qt::PlainText);
        click(m.s, "Button_delete");
        QVERIFY(!m.root.exists("/data/modes/custom_mode3") && !m.root.exists("/data/modes/MO03.json") &&
                Utils::recordedCommands().isEmpty());
        QVERIFY(m.shows("label_blank") && !child(m.s, "preview") && m.shows("mode_badge") && m.shows("label_using"));
        QCOMPARE(m.para->get_u16(Img::CURRENT_MODE) * 10 + c331_manage::para_update, 30);   // current mode kept
        delete m.s;
        m.set(Img::BRIGHTNESS, 20);
        m.save(3);
        m.set(Img::BRIGHTNESS, 90);
        m.set(Img::CURRENT_MODE, 17);   // no mode current
        m.applyAndRefresh();
        QByteArray before(reinterpret_cast<const char *>(m.para->ram_para), Img::USER_PAYLOAD);
        m.open();
        QVERIFY(m.text("label_ID") == "ID:1" && !m.shows("mode_badge") && !m.shows("label_using") && m.shows("label_blank") && !m.shows("label_LED"));
        m.touch(3);   // saved -> empty -> saved: the preview is rebuilt each time
        QPointer<QWidget> preview = child(m.s, "preview");
        QVERIFY(preview && m.shows("label_LED") && !m.shows("label_blank"));
        // an empty slot: no audio whatever its payload holds, and Invoke recalls nothing
        m.para->user_mode[11].para[Img::payload(Img::window(0, Img::W_AUDIO))] = 0x80;
        m.touch(11);
        QVERIFY(!preview && !child(m.s, "preview") && m.text("label_brightness").endsWith(QLatin1String(":OFF")));
        QCOMPARE(m.text("label_ID") + ' ' + m.text("label_name"), QStringLiteral("ID:12 Name:Mode12"));
        click(m.s, "Button_use");
        QCOMPARE(m.para->get_u16(Img::CURRENT_MODE) + int(c331_manage::para_update), 17);
        // a saved one: its payload and the current mode, nothing else; the chip after a scaler pass
        m.touch(3);
        click(m.s, "Button_use");
        QCOMPARE(m.para->get_u16(Img::CURRENT_MODE) * 10 + c331_manage::para_update, 41);
        QByteArray now(reinterpret_cast<const char *>(m.para->ram_para), Img::USER_PAYLOAD);
        QCOMPARE(now.remove(Img::CURRENT_MODE, 2), before.remove(Img::CURRENT_MODE, 2));
        SyncUpdate::pInstance()->para_sync(1);
        QVERIFY(m.shows("mode_badge") && m.shows("label_using") && g_tip->isVisible() && g_tip->code() == 1);
        delete m.s;
        m.save(12);
        m.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[{"id":14,"valid":"on","name":"Late"}]}})");
        m.open(false);
        QVERIFY(m.border(12) == kCurrent && !child(m.s, "mode_frame_14"));
        m.painted();
        QCOMPARE(m.text("mode_name_14") + ' ' + m.text("mode_name_15"), QStringLiteral("Late MODE 16"));
        QVERIFY(m.shows("15") && m.border(14) == kPlain);
        m.set(Img::CURRENT_MODE, 4);
        m.applyAndRefresh();
        QScrollBar *bar = child<QScrollArea>(m.s, "mode_area")->verticalScrollBar();
        bar->setValue(bar->maximum());
        m.touch(12);
        QPointer<QWidget> tile = child(m.s, "mode_frame_12");
        QCOMPARE(m.border(12), kTouched);
        m.root.write("/data/configs/alias.json", R"({"namelist":{"usermode":[{"id":12,"valid":"on","name":"Finale"}]}})");
        click(m.s, "Button_use");
        m.applyAndRefresh();
        QVERIFY(child(m.s, "mode_frame_12") == tile.data() && bar->value() == bar->maximum());
        QCOMPARE(m.border(12) + ' ' + m.border(3), QStringLiteral("%1 %2").arg(kCurrent, kPlain));
        QCOMPARE(m.text("mode_name_12") + ' ' + QString::number(child(m.s, "mode_badge")->geometry().y()),
                 QStringLiteral("Finale 1082"));
    }

    // Two quick taps: the screen opens again before the closed one is
    // deleted, which then leaves the new one's tiles and buttons alone.
    void reopenedBeforeTheClosedOneGoes()
    {
        Modes m;
        m.save(1);
        m.set(Img::CURRENT_MODE, 0);
        m.applyAndRefresh();
        m.open();
        QPointer<CustomMode> closed = m.s;
        QTest::mouseClick(child<QPushButton>(closed, "Button_back"), Qt::LeftButton);   // deleted later
        QVERIFY(closed && !g_custommode);
        m.open(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!closed);
        m.painted();
        for (int i = 0; i < 16; ++i)
            QVERIFY2(g_frame[i] && m.s->isAncestorOf(g_frame[i]), qPrintable(QString::number(i)));
        QVERIFY(g_button_focus == child(m.s, "Button_use"));
        m.touch(1);
        click(m.s, "Button_use");
        m.applyAndRefresh();
        QCOMPARE(m.border(1), kCurrent);
        click(m.s, "Button_delete");   // the highlight moves off Recall
        QVERIFY(m.style("Button_use").contains("#212435") && m.style("Button_delete").contains("#4777FF"));
    }
};

QTEST_MAIN(TestCustomMode)
#include "test_custommode.moc"
