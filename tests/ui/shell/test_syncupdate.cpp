#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "tests/ui/shell/shell_fixture.h"

namespace {
QelRamPara *para() { return QelRamPara::p_qelrampara_config; }
void sync(int code) { SyncUpdate::p_syncupdate->para_sync(code); }
}

class TestSyncUpdate : public QObject
{
    Q_OBJECT

private slots:
    void tipsByPageAndCode_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("tip");
        // settings screens: the check mark; network (10) and smart mapping (24): the USB tips too
        const struct { int page, code, tip; } rows[] = {{4, 1, 1},   {6, 104, 1},   {10, 100, 3}, {10, 101, 4}, {10, 102, 5},
                                                        {10, 104, 0}, {24, 102, 5}, {24, 1, 0},   {0, 100, 0}};
        for (const auto &r : rows)
            QTest::addRow("page %d code %d", r.page, r.code) << r.page << r.code << r.tip;
    }
    void tipsByPageAndCode()
    {
        QFETCH(int, page);
        QFETCH(int, code);
        Shell s;
        g_tip->tip_create(2);   // nothing shows
        g_page_focus = u8(page);
        sync(code);
        QTEST(g_tip->isVisible() ? g_tip->code() : 0, "tip");
    }

    void savesTheSettingsOnlyWhenTheyChanged()
    {
        Shell s;
        g_page_focus = PAGE_MAIN;
        const QString file = s.root.file("/data/ram_device_info");
        // live status alone: nothing to save, the shadow follows
        para()->ram_para[Img::INPUT_TIMING] = 0x80;
        sync(12);
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(para()->ram_para_shadow[Img::INPUT_TIMING], u8(0x80));

        para()->set_u16(Img::BRIGHTNESS, 42);
        sync(1);
        QByteArray saved = s.root.read("/data/ram_device_info");
        QCOMPARE(std::make_pair(saved.size(), saved.left(2)), std::make_pair(4096, QByteArray("\xAA\xAA")));
        QCOMPARE(std::memcmp(para()->ram_para_shadow, para()->ram_para, 4096), 0);
        QCOMPARE(QDir(s.root.file("/data")).entryList(QDir::Files), QStringList({"ram_device_info"}));
        QFile::remove(file);
        sync(1);   // unchanged: not written again
        QVERIFY(!QFileInfo::exists(file));

        // a save that fails keeps the settings part of the shadow, so the next refresh retries
        QDir().mkpath(file);
        para()->set_u16(Img::CONTRAST, 7);
        para()->ram_para[Img::INPUT_TIMING] = 0x81;
        sync(1);
        QCOMPARE(para()->shadow_u16(Img::CONTRAST), u16(50));
        QCOMPARE(para()->ram_para_shadow[Img::INPUT_TIMING], u8(0x81));
        QDir().rmdir(file);
        sync(1);
        QCOMPARE(s.root.read("/data/ram_device_info").mid(2 + Img::CONTRAST - 768, 2), QByteArray("\x07\x00", 2));
    }

    // The pop-up's save request is carried out by the refresh; a request
    // naming no slot or a slot whose file cannot be written is dropped.
    void userModeSaveRequest()
    {
        Shell s;
        s.w->show_menu();
        click(s.w, "Button_mode");
        click(s.w, "mode_slot_11");
        click(s.w, "Button_mode_save");
        QCOMPARE(para()->get_u16(Img::SAVE_MODE_REQUEST), u16(12));
        QCOMPARE(int(c331_manage::para_update), 1);
        sync(1);
        QVERIFY(s.root.exists("/data/modes/custom_mode12"));
        QCOMPARE(para()->get_u16(Img::SAVE_MODE_REQUEST), u16(0));
        QCOMPARE(para()->shadow_u16(Img::CURRENT_MODE), u16(12));
        QVERIFY(child(s.w, "mode_slot_11")->property("saved").toBool());

        QDir().mkpath(s.root.file("/data/modes/custom_mode3"));
        for (int request : {17, 3}) {
            para()->set_u16(Img::SAVE_MODE_REQUEST, u16(request));
            sync(1);
            QCOMPARE(para()->get_u16(Img::SAVE_MODE_REQUEST), u16(0));
            QCOMPARE(para()->get_u16(Img::CURRENT_MODE), u16(12));
        }
        QVERIFY(!para()->QelUserModeSaved(2));
    }

    void code2ReloadsTheSlotsFromTheirFiles()
    {
        Shell s;
        g_page_focus = PAGE_MAIN;
        QByteArray mode(4098, '\0');
        mode[0] = mode[1] = char(0xAA);
        mode[2 + 5] = 0x5A;
        s.root.write("/data/modes/custom_mode4", mode);
        para()->user_mode[0].flag[0] = para()->user_mode[0].flag[1] = 0xAA;   // no file behind it
        sync(1);
        QVERIFY(!para()->QelUserModeSaved(3));
        sync(2);
        QVERIFY(para()->QelUserModeSaved(3) && !para()->QelUserModeSaved(0));
        QCOMPARE(para()->user_mode[3].para[5], u8(0x5A));
    }

    void menusRepaintWhenTheLanguageChanged()
    {
        Shell s;
        s.w->show_menu();
        QLabel *title = child<QLabel>(s.w, "label_title");
        s.inSettings([&](QWidget *m) {
            para()->ram_para[Img::LANGUAGE] = 2;
            sync(1);
            QCOMPARE(labelText(m, "label_title"), QStringLiteral("Настройки"));
        });
        QCOMPARE(title->text(), QStringLiteral("Главное меню"));   // Back repaints the main menu

        // a language the panel does not offer is corrected to the first allowed
        g_lcd_lang_valid = 0x0A;
        para()->ram_para[Img::LANGUAGE] = 0;
        sync(1);
        QCOMPARE(int(g_language), 1);
        QCOMPARE(title->text(), QStringLiteral("Main menu"));
    }
};

QTEST_MAIN(TestSyncUpdate)
#include "test_syncupdate.moc"
