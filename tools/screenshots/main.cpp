// Writes a picture of each screen in each panel language, offscreen:
//   qel_screenshots <folder>    ->  <folder>/<screen>_<language>.png (800 x 480)
// A screen joins with one line in shots() below.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/global.h"
#include "core/qelrampara.h"
#include "ui/input/edidset.h"
#include "ui/input/inputchoose.h"
#include "ui/input/inputcut.h"
#include "ui/output/outputset.h"
#include "ui/picture/imagelayout.h"
#include "ui/picture/imagequality.h"
#include "ui/picture/test_chart.h"
#include "ui/shell/lcd_touch.h"
#include "ui/shell/lockwindow.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_app.h"
#include "ui/shell/numberkeyboard.h"
#include "ui/shell/option.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/qroundprogressbar.h"
#include "ui/shell/screens.h"
#include "ui/shell/syncupdate.h"
#include "ui/shell/tip.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 480;
const char *const kLanguages[5] = {"zh", "en", "ru", "vn", "tw"};

// The panel as the operator sees it: each window at its place, top last.
QImage panel(std::initializer_list<QWidget *> windows)
{
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 0));
    QPainter p(&img);
    for (QWidget *w : windows) {
        if (!w)
            continue;
        w->ensurePolished();
        p.drawPixmap(w->pos(), w->grab());
    }
    return img;
}

// A screen of its own (a dialog opened by a menu), shown without its modal run.
template <class Screen>
QImage screen(std::function<void(Screen *)> prepare = nullptr)
{
    Screen s;
    if (prepare)
        prepare(&s);
    s.show();
    QImage img = panel({&s});
    s.hide();
    return img;
}

// Presses a tile of a screen's tile area.
void press_tile(QWidget *screen, const char *tile)
{
    if (QWidget *area = screen->findChild<QWidget *>(QStringLiteral("frame_source")))
        if (QAbstractButton *b = area->findChild<QAbstractButton *>(QLatin1String(tile)))
            b->click();
}

struct Shot
{
    const char *name;
    std::function<QImage()> take;
};

std::vector<Shot> shots()
{
    return {
        {"home", [] { return panel({g_lockwindow}); }},
        {"home_locked",
         [] {
             lcd_touch::p_lcd_touch->set_key_lock(true);
             QImage img = panel({g_lockwindow});
             lcd_touch::p_lcd_touch->set_key_lock(false);
             return img;
         }},
        {"main_menu", [] { return panel({g_mainwindow}); }},
        {"main_menu_usermode",
         [] {
             g_mode_select = 2;
             g_mainwindow->mode_window_show();
             QImage img = panel({g_mainwindow});
             g_mainwindow->mode_window_close();
             return img;
         }},
        {"settings_menu", [] { return screen<Option>(); }},
        {"input_choice", [] { return screen<InputChoose>(); }},
        {"window_layout", [] { return screen<ImageLayout>(); }},
        {"input_crop", [] { return screen<InputCut>(); }},
        {"input_crop_edit", [] { return screen<InputCut>([](InputCut *s) { press_tile(s, "1"); }); }},
        {"edid", [] { return screen<EDIDset>([](EDIDset *s) { press_tile(s, "0"); }); }},
        {"output", [] { return screen<OutputSet>(); }},
        {"picture_quality", [] { return screen<ImageQuality>(); }},
        {"test_pattern", [] { return screen<test_chart>(); }},
        {"settings_keypad",
         [] {
             Option o;
             o.show();
             g_numberkeyboard->label_show(PanelText{"密码", "Password", "Пароль", "Mật khẩu", "密碼"}.text(), QString());
             g_numberkeyboard->show();
             QImage img = panel({&o, g_numberkeyboard});
             g_numberkeyboard->hide();
             return img;
         }},
        {"tip", [] {
             g_tip->tip_create(1);
             QImage img = panel({g_mainwindow, g_tip});
             g_tip->hide();
             return img;
         }},
        {"tip_usb", [] {
             g_tip->tip_create(3);
             QImage img = panel({g_mainwindow, g_tip});
             g_tip->hide();
             return img;
         }},
        {"ring",
         [] {
             Option o;
             o.show();
             QRoundProgressBar::create_qround_bar(&o);
             if (g_qround_bar)
                 g_qround_bar->para_sync(40);
             QImage img = panel({&o});
             if (g_qround_bar)
                 g_qround_bar->para_sync(100);
             return img;
         }},
    };
}

// A live-looking device: two inputs with a signal, two saved user modes.
void prepare_device()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    auto timing = [p](int slot, u16 w, u16 h, u8 rate) {
        const int o = Img::INPUT_TIMING + Img::INPUT_TIMING_SIZE * slot;
        p->set_u16(o, w);
        p->set_u16(o + 2, h);
        p->ram_para[o + 4] = rate;
    };
    timing(2, 1920, 1080, 60);
    timing(4, 3840, 2160, 30);
    timing(1, 1280, 720, 60);
    // three crops of HDMI1
    for (int k = 0; k < 3; ++k) {
        CropEdit crop(p->ram_para, k);
        crop.setCropWord(Img::cropWord(2, k + 1));
        crop.setRect(u16(320 * k), 0, 640, 360);
    }
    p->QelCropSourceInit();
    for (int s : {0, 2}) {
        p->user_mode[s].flag[0] = p->user_mode[s].flag[1] = 0xAA;
    }
}

}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir root;
    if (!root.isValid())
        return 1;
    qputenv("QEL_ROOT", root.path().toLocal8Bit());
    QDir(root.path()).mkpath(QStringLiteral("data/modes"));
    QDir(root.path()).mkpath(QStringLiteral("data/configs"));
    g_debugSwitch = 0;

    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(out)) {
        fprintf(stderr, "cannot make %s\n", qPrintable(out));
        return 1;
    }

    PanelApp app(argc, argv);
    MainWindow w;
    lcd_touch::pInstance();
    new LockWindow();
    prepare_device();
    w.show();
    g_lockwindow->show();

    int written = 0;
    for (int lang = 0; lang < 5; ++lang) {
        g_language = u8(lang);
        w.language_changed();
        g_lockwindow->language_changed();
        g_lockwindow->lock_changed();
        for (const Shot &shot : shots()) {
            QImage img = shot.take();
            if (img.size() != QSize(kW, kH))
                img = img.copy(0, 0, kW, kH);
            const QString file = QStringLiteral("%1/%2_%3.png").arg(out, QLatin1String(shot.name),
                                                                   QLatin1String(kLanguages[lang]));
            if (!img.save(file)) {
                fprintf(stderr, "cannot write %s\n", qPrintable(file));
                return 1;
            }
            ++written;
        }
    }
    printf("%d pictures in %s\n", written, qPrintable(out));
    delete g_lockwindow;
    lcd_touch::destroyInstance();
    return 0;
}
