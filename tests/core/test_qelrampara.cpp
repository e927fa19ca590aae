#include <QtTest>
#include <cstring>
#include <sys/resource.h>
#include <tuple>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "scaler/c331_manage.h"
#include "tests/support/testenv.h"

namespace {
using TestEnv::ints;
// Peak memory of the process so far.
long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

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

    void parameterFileRoundTripAndBadFiles()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 1920);
        QVERIFY(std::memcmp(p->ram_para, p->ram_para_shadow, Img::SIZE) == 0);
        p->set_u16(Img::CANVAS_W, 3000);
        p->ram_para[Img::TEST_PATTERN] = 5;
        p->ram_para[4095] = 0x5A;
        QVERIFY(p->save_device_info());
        const QByteArray file = root.read("/data/ram_device_info");
        QCOMPARE(u8(file[2 + 4095 - 768]), u8(0x5A));

        p = fresh();
        QCOMPARE(int(p->get_u16(Img::CANVAS_W)), 3000);
        QCOMPARE(int(p->ram_para[4095]), 0x5A);
        QCOMPARE(int(p->ram_para[Img::TEST_PATTERN]), 0);   // pattern never survives a start

        // short, wrong marker, empty: factory settings, nothing else lost
        for (const QByteArray &b : {file.left(100), QByteArray(4096, '\x11'), QByteArray()}) {
            root.write("/data/ram_device_info", b);
            QCOMPARE(int(fresh()->get_u16(Img::CANVAS_W)), 1920);
        }
    }

    // wrong size or marker, slots out of range: empty (saving and deleting: the user-mode screen's test)
    void badUserModeFiles()
    {
        TestRoot root;
        root.write("/data/modes/custom_mode5", QByteArray(4097, '\xAA'));
        QByteArray wrongMarker(4098, '\0');
        wrongMarker[0] = char(0xAA);
        wrongMarker[1] = char(0x55);
        root.write("/data/modes/custom_mode6", wrongMarker);
        QelRamPara *p = fresh();
        QCOMPARE(ints(p->QelUserModeSaved(4), p->QelUserModeSaved(5), p->QelUserModeSaved(-1), p->QelUserModeSaved(16),
                      p->mode_file_deal(16, 1)),
                 ints(0, 0, 0, 0, 0));
    }

    // Files planted in place of the parameter file, a mode file and the
    // display menu a saved mode copies: each refused without reading it whole.
    void outsideFilesReadWithinTheirLimits()
    {
        TestRoot root;
        QVERIFY(QFile::link("/dev/zero", root.file("/data/ram_device_info")));
        QVERIFY(QFile::link("/dev/zero", root.file("/data/modes/custom_mode1")));
        QFile menu(root.file("/data/configs/omenu.json"));   // sparse, one byte over
        QVERIFY(menu.open(QIODevice::WriteOnly) && menu.write("{}") == 2 && menu.resize(8 * 1024 * 1024 + 1));
        menu.close();
        const long peak = peakKiB();
        QelRamPara *p = fresh();
        QCOMPARE(ints(p->get_u16(Img::CANVAS_W), p->QelUserModeSaved(0)), ints(1920, 0));
        QVERIFY2(peakKiB() - peak < 64 * 1024, "the start read more than the files' limits");

        p->user_mode[1].flag[0] = p->user_mode[1].flag[1] = 0xAA;
        std::memcpy(p->user_mode[1].para, p->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
        p->user_mode[1].para[Img::payload(Img::OSD_ON)] = 1;
        QVERIFY(p->save_user_mode(1));
        QVERIFY(root.exists("/data/modes/custom_mode2") && !root.exists("/data/modes/MO02.json"));
    }

    void sourcesOfBothLayoutsAndBadDataFromOutside()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        putCrop(p, 7, 4, 2, 0, 0, 10, 10);
        putCrop(p, 8, 9, 1, 0, 0, 1, 1);                   // crop of input 9
        p->set_u16(Img::crop(9), 0x8000 | (60 << 8) | 1);   // crop number 61
        p->QelCropSourceInit();
        for (u8 b : g_cut_source_state)
            QVERIFY(b == 0 || b == (1 << ((4 * 40 + 1) % 8)));   // only HDMI3 crop 2
        // window source byte and crop flag: whole input 2, crop 7 (HDMI3), free
        // crop record, crop index past the table, slot above 5, crop of input 9
        const struct { int source, flag, slot, isCrop; } rows[] = {
            {2, 0, 2, 0}, {7, 0x80, 4, 1}, {6, 0x80, 0xFF, -1}, {200, 0x80, 0xFF, -1}, {9, 0, 0xFF, -1}, {8, 0x80, 0xFF, -1},
        };
        for (const auto &r : rows) {
            p->ram_para[Img::window(1, Img::W_SOURCE)] = u8(r.source);
            p->ram_para[Img::window(1, Img::W_CROP_FLAG)] = u8(r.flag);
            short isCrop = -1;
            char idx = -1;
            QCOMPARE(p->QelGetImageSource(p->ram_para, 1, &isCrop, &idx, 0), r.slot);
            if (r.isCrop >= 0)
                QCOMPARE(ints(isCrop, idx), ints(r.isCrop, r.isCrop ? r.source : idx));
            // the same record in a user-mode payload, every field 896 lower
            std::memcpy(p->user_mode[0].para, p->ram_para + Img::USER_PAYLOAD, Img::USER_PAYLOAD_SIZE);
            QCOMPARE(p->QelGetImageSource(p->user_mode[0].para, 1, &isCrop, &idx, 1), r.slot);
        }
        short isCrop;
        char idx;
        QCOMPARE(p->QelGetImageSource(p->ram_para, 16, &isCrop, &idx, 0), 0xFF);
    }

    void cropsAddSetAndStaleTable()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        // HDMI1 crops 3 and 1 stored out of order, HDMI3 crop 1 between them
        putCrop(p, 0, 2, 3, 30, 0, 100, 100);
        putCrop(p, 1, 4, 1, 0, 0, 50, 50);
        putCrop(p, 2, 2, 1, 10, 0, 100, 100);
        p->QelCropSourceInit();
        QCOMPARE(ints(p->QelGetCropID(2, 1), p->QelGetCropID(2, 2), p->QelGetCropID(2, 3), p->QelGetCropID(2, 0)),
                 ints(1, 3, 0, 0));
        QCOMPARE(ints(p->QelAddCropID(2), p->QelGetSourceNum(2, 3), p->QelGetSourceNum(2, 1), p->QelGetSourceNum(2, 0)),
                 ints(2, 2, 1, 0));
        CROP_PARA c{};
        int index = -1;
        p->QelGetCropPara(2, 2, &c, &index);
        QCOMPARE(ints(index, c.x), ints(0, 30));
        p->QelGetCropPara(2, 3, &c, &index);
        QCOMPARE(index, 40);

        // add takes the lowest free number and the first free record
        CROP_PARA add{0, 5, 6, 7, 8};
        p->QelAddNewCrop(2, &add);
        QCOMPARE(ints(c331_manage::para_update.load(), p->get_u16(Img::crop(3)), p->get_u16(Img::crop(3) + 8)),
                 ints(1, 0x8000 | (1 << 8) | 2, 8));
        p->QelCropSourceInit();
        QCOMPARE(p->QelGetCropID(2, 2), 2);

        // set rewrites the rectangle and keeps the word
        CROP_PARA set{0, 1, 2, 3, 4};
        p->QelSetCropPara(2, 2, &set);
        QCOMPARE(ints(p->get_u16(Img::crop(3)), p->get_u16(Img::crop(3) + 2)), ints(0x8000 | (1 << 8) | 2, 1));

        // a table changed from outside, bitmap not rebuilt: the operations act on
        // the table as it is, the lookup leaves no stale values
        p = fresh();
        putCrop(p, 0, 2, 1, 1, 1, 10, 10);
        putCrop(p, 1, 2, 2, 2, 2, 20, 20);
        p->QelCropSourceInit();
        putCrop(p, 0, 3, 1, 9, 9, 90, 90);   // record 0 now HDMI2's; bitmap not rebuilt

        set = CROP_PARA{0, 7, 7, 70, 70};
        p->QelSetCropPara(2, 1, &set);   // HDMI1's first crop is now number 2, record 1
        QCOMPARE(ints(p->get_u16(Img::crop(1) + 2), p->get_u16(Img::crop(0) + 2)), ints(7, 9));
        QCOMPARE(p->QelGetCropID(2, 2), 0);   // rebuilt by the operation

        CROP_PARA got{1, 2, 3, 4, 5};
        index = -1;
        p->QelGetCropPara(2, 2, &got, &index);
        QCOMPARE(ints(index, got.crop_word, got.x, got.width, got.height), ints(40, 0, 0, 0, 0));

        // an add from a stale bitmap takes the number free in the table
        putCrop(p, 5, 3, 2, 0, 0, 1, 1);
        QVERIFY(p->QelAddNewCrop(3, &set));
        QCOMPARE(int(p->get_u16(Img::crop(2))), 0x8000 | (2 << 8) | 3);   // number 3, first free record

        // EDID records; current mode in range
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

    // a language the panel does not offer: the first allowed, the fixed byte cleared
    void languageCorrection()
    {
        TestRoot root;
        QelRamPara *p = fresh();
        p->ram_para[Img::LANGUAGE] = 2;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(int(g_language), 2);
        g_lcd_lang_valid = 0x1A;   // 1, 3, 4 allowed
        p->ram_para[Img::LANGUAGE] = 0;
        p->ram_para[Img::LANGUAGE_FIXED] = 9;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(ints(g_language, p->ram_para[Img::LANGUAGE], p->ram_para[Img::LANGUAGE_FIXED]), ints(1, 1, 0));
        p->ram_para[Img::LANGUAGE] = 7;
        g_lcd_lang_valid = 0x08;
        QCOMPARE(p->QelLanguageChanged(), 1);
        QCOMPARE(int(g_language), 3);
    }
};

QTEST_GUILESS_MAIN(TestQelRamPara)
#include "test_qelrampara.moc"
