#include <QSignalSpy>
#include <QtTest>
#include <cstring>
#include <tuple>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"

namespace {
void putCrop(QelRamPara *p, int k, int slot, int number, int x, int y, int w, int h)
{
    p->set_u16(Img::crop(k), u16(0x8000 | ((number - 1) << 8) | slot));
    p->set_u16(Img::crop(k) + 2, u16(x));
    p->set_u16(Img::crop(k) + 4, u16(y));
    p->set_u16(Img::crop(k) + 6, u16(w));
    p->set_u16(Img::crop(k) + 8, u16(h));
}
}

class TestQelRamPara : public QObject
{
    Q_OBJECT

    QelRamPara *fresh()
    {
        QelRamPara::destroyInstance();
        return QelRamPara::pInstance();
    }

private slots:
    void cleanup()
    {
        QelRamPara::destroyInstance();
        c331_manage::para_update = 0;
    }

    void factoryTableHoldsTheDecidedDefaults()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        const u8 *t = QelRamPara::default_para_ramlist();
        QCOMPARE(int(t[0]), 0xAA);
        QCOMPARE(int(t[1]), 0xAA);
        // picture block at table bytes 1410..1425
        const int pic[] = {100, 50, 10, 50, 2, 64, 64, 64};
        for (int i = 0; i < 8; ++i)
            QCOMPARE(int(t[1410 + 2 * i] | t[1411 + 2 * i] << 8), pic[i]);
        for (int i = 3330; i < 4096; ++i)
            QCOMPARE(int(t[i]), 0);

        QCOMPARE(int(p->ram_para[Img::LANGUAGE]), 1);
        QCOMPARE(int(p->get_u16(Img::SPLICE_MODE)), 4);
        QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 1920);
        QCOMPARE(int(p->get_u16(Img::CANVAS_H)), 1080);
        QCOMPARE(int(p->get_u16(Img::EDID_RECORD + 6 * 3)), 1920);
        QCOMPARE(int(p->get_u16(Img::EDID_RECORD + 6 * 4)), 3840);
        QCOMPARE(int(p->get_u16(Img::EDID_RECORD + 6 * 5 + 4)), 60);
        QCOMPARE(int(p->get_u16(Img::window(0, Img::W_ON))), 1);
        QCOMPARE(int(p->get_u16(Img::window(0, Img::W_W))), 1920);
        QCOMPARE(int(p->get_u16(Img::window(5, Img::W_ON))), 0);
        QCOMPARE(int(p->get_u16(Img::window(15, Img::W_H))), 540);
        QCOMPARE(int(p->ram_para[Img::window(3, Img::W_SOURCE)]), 2);
        QCOMPARE(int(p->ram_para[Img::FADE_PAIRS + 4 * 15 + 2]), 60);
        for (int k = 0; k < Img::CROP_COUNT; ++k)
            QCOMPARE(int(p->get_u16(Img::crop(k))), 0);
        QVERIFY(std::memcmp(p->ram_para, p->ram_para_shadow, Img::SIZE) == 0);
    }

    void parameterFileRoundTripAndBadFiles()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        p->set_u16(Img::CANVAS_W, 3000);
        p->ram_para[Img::TEST_PATTERN] = 5;
        p->ram_para[4095] = 0x5A;
        QVERIFY(p->save_device_info());
        const QByteArray file = root.read("/data/ram_device_info");
        QCOMPARE(file.size(), 4096);
        QCOMPARE(u8(file[0]), u8(0xAA));
        QCOMPARE(u8(file[2 + 4095 - 768]), u8(0x5A));
        QVERIFY(!QDir(root.file("/data")).entryList(QDir::Files).join(',').contains("ram_device_info."));

        p = fresh();
        QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 3000);
        QCOMPARE(int(p->ram_para[4095]), 0x5A);
        QCOMPARE(int(p->ram_para[Img::TEST_PATTERN]), 0);   // pattern never survives a start

        // short, wrong marker, empty: factory settings, nothing else lost
        const QList<QByteArray> bad = {file.left(100), QByteArray(4096, '\x11'), QByteArray()};
        for (const QByteArray &b : bad) {
            root.write("/data/ram_device_info", b);
            p = fresh();
            QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 1920);
        }
    }

    void userModeFiles()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        QCOMPARE(QelRamPara::userModePath(0), QString("/data/modes/custom_mode1"));
        QCOMPARE(QelRamPara::userModeOsdPath(9), QString("/data/modes/MO0a.json"));
        QCOMPARE(QelRamPara::userModeOsdPath(15), QString("/data/modes/MO10.json"));

        root.write("/data/configs/omenu.json", "{\"osdcount\":0}");
        USER_MODE_PARA &m = p->user_mode[3];
        m.flag[0] = m.flag[1] = 0xAA;
        std::memcpy(m.para, p->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
        m.para[Img::payload(Img::OSD_ON)] = 1;
        QVERIFY(p->save_user_mode(3));
        QCOMPARE(root.read("/data/modes/custom_mode4").size(), 4098);
        QVERIFY(root.exists("/data/modes/MO04.json"));

        p = fresh();
        QCOMPARE(p->QelUserModeSaved(3), 1);
        QCOMPARE(p->QelUserModeSaved(4), 0);
        QCOMPARE(int(p->user_mode[3].para[Img::payload(Img::CANVAS_W)]), 1920 & 0xFF);

        // deleting removes both files and leaves the slot empty
        QCOMPARE(p->mode_file_deal(3, 1), 0);
        QVERIFY(!root.exists("/data/modes/custom_mode4"));
        QVERIFY(!root.exists("/data/modes/MO04.json"));
        QCOMPARE(p->QelUserModeSaved(3), 0);

        // wrong size or marker: an empty slot
        root.write("/data/modes/custom_mode5", QByteArray(4097, '\xAA'));
        QByteArray wrongMarker(4098, '\0');
        wrongMarker[0] = char(0xAA);
        wrongMarker[1] = char(0x55);
        root.write("/data/modes/custom_mode6", wrongMarker);
        p = fresh();
        QCOMPARE(p->QelUserModeSaved(4), 0);
        QCOMPARE(p->QelUserModeSaved(5), 0);
        QCOMPARE(p->QelUserModeSaved(-1), 0);
        QCOMPARE(p->QelUserModeSaved(16), 0);
        QCOMPARE(p->mode_file_deal(16, 1), 0);
    }

    void cropOrdinalsFollowCropNumbers()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        // HDMI1 crops 3 and 1 stored out of order, HDMI3 crop 1 between them
        putCrop(p, 0, 2, 3, 30, 0, 100, 100);
        putCrop(p, 1, 4, 1, 0, 0, 50, 50);
        putCrop(p, 2, 2, 1, 10, 0, 100, 100);
        p->QelCropSourceInit();
        QCOMPARE(p->QelGetCropID(2, 1), 1);
        QCOMPARE(p->QelGetCropID(2, 2), 3);
        QCOMPARE(p->QelGetCropID(2, 3), 0);
        QCOMPARE(p->QelGetCropID(2, 0), 0);
        QCOMPARE(p->QelAddCropID(2), 2);
        QCOMPARE(p->QelGetSourceNum(2, 3), 2);
        QCOMPARE(p->QelGetSourceNum(2, 1), 1);
        QCOMPARE(p->QelGetSourceNum(2, 0), 0);

        CROP_PARA c{};
        int index = -1;
        p->QelGetCropPara(2, 2, &c, &index);
        QCOMPARE(index, 0);
        QCOMPARE(c.x, 30);
        p->QelGetCropPara(2, 3, &c, &index);
        QCOMPARE(index, 40);

        // add takes the lowest free number and the first free record
        CROP_PARA add{0, 5, 6, 7, 8};
        p->QelAddNewCrop(2, &add);
        QCOMPARE(int(c331_manage::para_update), 1);
        QCOMPARE(int(p->get_u16(Img::crop(3))), 0x8000 | (1 << 8) | 2);
        QCOMPARE(int(p->get_u16(Img::crop(3) + 8)), 8);
        p->QelCropSourceInit();
        QCOMPARE(p->QelGetCropID(2, 2), 2);

        // set rewrites the rectangle and keeps the word
        CROP_PARA set{0, 1, 2, 3, 4};
        p->QelSetCropPara(2, 2, &set);
        QCOMPARE(int(p->get_u16(Img::crop(3))), 0x8000 | (1 << 8) | 2);
        QCOMPARE(int(p->get_u16(Img::crop(3) + 2)), 1);

        // forty crops of one input: no forty-first, no wrapped number
        for (int k = 0; k < 40; ++k)
            putCrop(p, k, 5, k + 1, 0, 0, 10, 10);
        p->QelCropSourceInit();
        QCOMPARE(p->QelAddCropID(5), 0);
        QByteArray before(reinterpret_cast<char *>(p->ram_para), Img::SIZE);
        QVERIFY(!p->QelAddNewCrop(5, &add));
        QCOMPARE(QByteArray(reinterpret_cast<char *>(p->ram_para), Img::SIZE), before);
    }

    // A crop table changed from outside without a rebuild of the bitmap:
    // the operations act on the table as it is, the lookup never leaves
    // stale values, the record operations only on the crop they name.
    void cropOperationsFollowTheTableNotAStaleBitmap()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        putCrop(p, 0, 2, 1, 1, 1, 10, 10);
        putCrop(p, 1, 2, 2, 2, 2, 20, 20);
        p->QelCropSourceInit();
        putCrop(p, 0, 3, 1, 9, 9, 90, 90);   // record 0 now HDMI2's; bitmap not rebuilt

        CROP_PARA set{0, 7, 7, 70, 70};
        p->QelSetCropPara(2, 1, &set);   // HDMI1's first crop is now number 2, record 1
        QCOMPARE(int(p->get_u16(Img::crop(1) + 2)), 7);
        QCOMPARE(int(p->get_u16(Img::crop(0) + 2)), 9);
        QCOMPARE(p->QelGetCropID(2, 2), 0);   // rebuilt by the operation

        CROP_PARA got{1, 2, 3, 4, 5};
        int index = -1;
        p->QelGetCropPara(2, 2, &got, &index);
        QCOMPARE(index, 40);
        QCOMPARE(std::make_tuple(got.crop_word, got.x, got.width, got.height), std::make_tuple(0, 0, 0, 0));

        // record operations: only while the record holds that crop
        c331_manage::para_update = 0;
        QVERIFY(!p->QelSetCropRecord(1, 2, 1, set));    // record 1 is HDMI1 crop 2
        QVERIFY(!p->QelSetCropRecord(40, 2, 2, set));
        QVERIFY(!p->QelDeleteCropRecord(0, 2, 1));      // record 0 is HDMI2's now
        QCOMPARE(int(c331_manage::para_update), 0);
        p->ram_para[Img::window(2, Img::W_SOURCE)] = 1;
        p->ram_para[Img::window(2, Img::W_CROP_FLAG)] = 0x80;
        QVERIFY(p->QelSetCropRecord(1, 2, 2, CROP_PARA{0, 65535, 40000, 1, 2}));
        QCOMPARE(std::make_pair(int(p->get_u16(Img::crop(1) + 2)), int(p->get_u16(Img::crop(1) + 4))),
                 std::make_pair(65535, 40000));
        QVERIFY(p->QelDeleteCropRecord(1, 2, 2));
        QCOMPARE(int(p->get_u16(Img::crop(1))), 0);
        QCOMPARE(int(p->ram_para[Img::window(2, Img::W_SOURCE)]), 2);   // whole input
        QCOMPARE(int(p->ram_para[Img::window(2, Img::W_CROP_FLAG)]), 0);
        QCOMPARE(p->QelGetSourceNum(2, 40), 0);
        QCOMPARE(p->QelGetCropID(3, 1), 1);   // bitmap follows the delete

        // an add from a stale bitmap takes the number free in the table
        putCrop(p, 5, 3, 2, 0, 0, 1, 1);
        QVERIFY(p->QelAddNewCrop(3, &set));
        QCOMPARE(int(p->get_u16(Img::crop(1))), 0x8000 | (2 << 8) | 3);   // number 3, first free record
    }

    void sourcesOfBothLayoutsAndBadDataFromOutside()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        short isCrop = -1;
        char idx = -1;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 0, &isCrop, &idx, 0), 2);
        QCOMPARE(int(isCrop), 0);

        putCrop(p, 7, 4, 2, 0, 0, 10, 10);
        p->ram_para[Img::window(1, Img::W_SOURCE)] = 7;
        p->ram_para[Img::window(1, Img::W_CROP_FLAG)] = 0x80;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 1, &isCrop, &idx, 0), 4);
        QCOMPARE(int(isCrop), 1);
        QCOMPARE(int(idx), 7);

        // the same record in a user-mode payload, every field 896 lower
        u8 *payload = p->user_mode[0].para;
        std::memcpy(payload, p->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
        QCOMPARE(p->QelGetImageSource(payload, 1, &isCrop, &idx, 1), 4);

        // free crop record, crop index past the table, slot above 5, crop of input 9
        p->ram_para[Img::window(2, Img::W_SOURCE)] = 8;
        p->ram_para[Img::window(2, Img::W_CROP_FLAG)] = 0x80;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 2, &isCrop, &idx, 0), 0xFF);
        p->ram_para[Img::window(2, Img::W_SOURCE)] = 200;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 2, &isCrop, &idx, 0), 0xFF);
        p->ram_para[Img::window(3, Img::W_SOURCE)] = 9;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 3, &isCrop, &idx, 0), 0xFF);
        putCrop(p, 8, 9, 1, 0, 0, 1, 1);
        p->set_u16(Img::crop(9), 0x8000 | (60 << 8) | 1);   // crop number 61
        p->QelCropSourceInit();
        for (u8 b : g_cut_source_state)
            QVERIFY(b == 0 || b == (1 << ((4 * 40 + 1) % 8)));   // only HDMI3 crop 2
        QCOMPARE(p->QelGetImageSource(p->ram_para, 16, &isCrop, &idx, 0), 0xFF);
    }

    void settingSourcesAndDeletingCrops()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        putCrop(p, 4, 3, 1, 0, 0, 10, 10);
        putCrop(p, 6, 3, 2, 0, 0, 20, 20);
        p->QelCropSourceInit();
        std::memcpy(p->ram_para_shadow, p->ram_para, Img::SIZE);
        p->set_u16(Img::CURRENT_MODE, 3);
        p->ram_para_shadow[Img::CURRENT_MODE] = 3;

        p->QelSetImageSource(2, 3, 1);   // HDMI2, second crop: record 6
        QCOMPARE(int(p->ram_para[Img::window(1, Img::W_SOURCE)]), 6);
        QCOMPARE(int(p->ram_para[Img::window(1, Img::W_CROP_FLAG)]), 0x80);
        QCOMPARE(int(p->get_u16(Img::CURRENT_MODE)), 0);
        QCOMPARE(int(c331_manage::para_update), 1);

        // a crop that no longer exists changes nothing
        c331_manage::para_update = 0;
        p->QelSetImageSource(3, 3, 1);
        QCOMPARE(int(p->ram_para[Img::window(1, Img::W_SOURCE)]), 6);
        QCOMPARE(int(c331_manage::para_update), 0);
        p->QelSetImageSource(0, 7, 1);
        p->QelSetImageSource(0, 2, 20);
        QCOMPARE(int(c331_manage::para_update), 0);

        // deleting the crop a window shows puts the window on the whole input
        p->QelDeleteCrop(3, 2);
        QCOMPARE(int(p->get_u16(Img::crop(6))), 0);
        QCOMPARE(int(p->get_u16(Img::crop(6) + 6)), 20);   // rectangle kept
        QCOMPARE(int(p->ram_para[Img::window(1, Img::W_SOURCE)]), 3);
        QCOMPARE(int(p->ram_para[Img::window(1, Img::W_CROP_FLAG)]), 0);

        // EDID records
        p->QelSetEDIDPara(5, 1280, 720, 50);
        QCOMPARE(int(p->get_u16(Img::EDID_RECORD + 30 + 2)), 720);
        c331_manage::para_update = 0;
        p->QelSetEDIDPara(6, 1, 1, 1);
        QCOMPARE(int(c331_manage::para_update), 0);

        p->set_u16(Img::CURRENT_MODE, 17);
        QCOMPARE(p->QelGetCurrentModeIndex(), 0);
        p->set_u16(Img::CURRENT_MODE, 16);
        QCOMPARE(p->QelGetCurrentModeIndex(), 16);
    }

    void languageCorrection()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        QCOMPARE(p->QelLanguageChanged(), 0);

        p->ram_para[Img::LANGUAGE] = 2;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(int(g_language), 2);

        g_lcd_lang_valid = 0x1A;   // 1, 3, 4 allowed
        p->ram_para[Img::LANGUAGE] = 0;
        p->ram_para[Img::LANGUAGE_FIXED] = 9;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(int(g_language), 1);
        QCOMPARE(int(p->ram_para[Img::LANGUAGE]), 1);
        QCOMPARE(int(p->ram_para[Img::LANGUAGE_FIXED]), 0);

        p->ram_para[Img::LANGUAGE] = 7;
        g_lcd_lang_valid = 0x08;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(int(g_language), 3);
    }

    void refreshSignal()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        QSignalSpy spy(p, &QelRamPara::sig_update_para);
        QCOMPARE(p->test_signal(12), 1);
        p->ram_para_save();
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 12);
        QCOMPARE(spy.at(1).at(0).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestQelRamPara)
#include "test_qelrampara.moc"
