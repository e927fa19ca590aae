#include "bench/open_device.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "core/global.h"
#include "core/qelrampara.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_style.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"

void quiet_messages(QtMsgType, const QMessageLogContext &, const QString &) {}

namespace {

void busy_device(const TestRoot &root, QelRamPara *p)
{
    u8 *img = p->ram_para;
    auto timing = [img](int slot, u16 w, u16 h, u8 rate) {
        const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
        Img::wr16(img, o, w);
        Img::wr16(img, o + 2, h);
        img[o + 4] = rate;
    };
    timing(2, 1920, 1080, 60);
    timing(4, 3840, 2160, 30);
    // 40 crops on HDMI1, which window 0 shows
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        CropEdit crop(img, k);
        crop.setCropWord(Img::cropWord(2, k + 1));
        crop.setRect(0, 0, 640, 360);
    }
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        WindowEdit win(img, w);
        win.setOn(true);
        win.setInput(u8(w));
        win.setWidth(320);
        win.setHeight(180);
    }
    WindowEdit(img, 0).setCropRecord(39);

    // sixteen saved modes with a name and a display menu each; mode 1 current
    QByteArray names = R"({"namelist":{"usermode":[)";
    for (int s = 0; s < 16; ++s) {
        USER_MODE_PARA &m = p->user_mode[s];
        m.flag[0] = m.flag[1] = 0xAA;
        std::copy(img + Img::USER_PAYLOAD, img + Img::SIZE, m.para);
        Img::wr16(m.para, Img::payload(Img::OSD_ON), 1);
        root.write(QelRamPara::userModeOsdPath(s),
                   R"({"osdcount":1,"osdlist":[{"x":0,"y":0,"w":1920,"h":64,"effect":4,"speed":3,)"
                   R"("back_color":"0x000000","font_color":"0xFFFFFF","texts":"one\ntwo"}]})");
        names += QStringLiteral(R"(%1{"id":%2,"valid":"on","name":"Stage %2"})").arg(s ? "," : "").arg(s).toUtf8();
    }
    root.write(QStringLiteral("/data/configs/alias.json"), names + "]}}");
    Img::wr16(img, Img::CURRENT_MODE, 1);
    std::copy(img, img + Img::SIZE, p->ram_para_shadow);

    for (int f = 0; f < 100; ++f)
        root.write(QStringLiteral("/data/smartmapping/cabinet_%1.qlfile").arg(f, 3, 10, QLatin1Char('0')), "scan\n");

    // a full ageing log
    for (int i = 0; i < fpga_manage::AGE_LOG_MAX; ++i)
        factoryage_log << QStringLiteral("01-02 03:04 %1 %2 7 %3 0 9").arg(i % 256).arg(i % 32).arg((i * 7) % 256);
    factoryage_log_diff3 = factoryage_log2_diff3 = 3000;
    factoryage_log_diff5 = factoryage_log2_diff5 = 300;
    factoryage_log_diff10 = factoryage_log2_diff10 = 40;
    factoryage_log_diff20 = factoryage_log2_diff20 = 12;
    factoryage_log_diffmore = factoryage_log2_diffmore = 7;
}

}

PanelLook::PanelLook()
    : style(QApplication::style()->objectName()), font(QApplication::font()), messages(qInstallMessageHandler(quiet_messages))
{
    QApplication::setStyle(new PanelStyle);
    QFont::insertSubstitution(QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans"));
    QFont panel(QStringLiteral("WenQuanYi Micro Hei"), 12);
    panel.setHintingPreference(QFont::PreferVerticalHinting);
    panel.setStyleStrategy(QFont::PreferAntialias);
    QApplication::setFont(panel);
    qApp->installEventFilter(&placement);
}

PanelLook::~PanelLook()
{
    QApplication::setStyle(style);
    qApp->removeEventFilter(&placement);
    QApplication::setFont(font);
    qInstallMessageHandler(messages);
}

const char *device_name(BenchDevice d) { return d == BenchDevice::Busy ? "busy" : "factory"; }

OpenShell::OpenShell(BenchDevice device)
{
    register_screens();
    QelRamPara *p = QelRamPara::pInstance();
    if (device == BenchDevice::Busy)
        busy_device(root, p);
    SyncUpdate::pInstance();
    new MainWindow();
    lcd_touch::pInstance();
    new LockWindow();
    g_mainwindow->show_menu();
    flush_deletes();
}

OpenShell::~OpenShell()
{
    delete g_option;
    delete g_lockwindow;
    delete g_mainwindow;
    lcd_touch::destroyInstance();
    SyncUpdate::destroyInstance();
    QelRamPara::destroyInstance();
    flush_deletes();
    TestEnv::resetGlobals();
}

void flush_deletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

namespace {
template <class T> double median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return double(v[v.size() / 2]);
}
}

PairedOpens open_in_pairs(const std::function<qint64()> &open, const std::function<qint64()> &bare)
{
    constexpr int kWarmUp = 3;
    PairedOpens r;
    std::vector<qint64> opens, bares;
    std::vector<double> ratios;
    for (int i = 0; i < kWarmUp + PairedOpens::RUNS; ++i) {
        const qint64 o = open();
        const qint64 b = bare();
        if (o < 0 || b < 0) {
            r.failed = o < 0 ? 1 : 2;
            return r;
        }
        if (i >= kWarmUp) {
            opens.push_back(o);
            bares.push_back(b);
            ratios.push_back(double(o) / double(b));
        }
    }
    r.open = median(opens);
    r.bare = median(bares);
    r.ratio = median(ratios);
    return r;
}
