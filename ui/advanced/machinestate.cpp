#include "ui/advanced/machinestate.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QPushButton>
#include <QStyle>

#include "core/global.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "core/refresh_codes.h"
#include "led_output/fpga_drv.h"
#include "led_output/fpga_manage.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_machinestate.h"

const char *const MachineState::MCU_VERSION = "V11.00.00 2026-09-28";

namespace {

// "V11.00.nn 20yy-mm-dd" from an FPGA's version registers (BCD), as the
// manager's mirror holds them; empty without the manager.
QString fpga_version(int fpga)
{
    const fpga_manage *f = fpga_manage::p_fpga_manage;
    if (!f)
        return QString();
    const auto hex2 = [f, fpga](int reg) {
        return QStringLiteral("%1").arg(f->reg_mirror(fpga, reg), 2, 16, QLatin1Char('0'));
    };
    const int base = fpga_drv::REG_VERSION;
    return QStringLiteral("V11.00.") + hex2(base) + QLatin1Char(' ')
           + QString::number(0x2000 + f->reg_mirror(fpga, base + 3), 16) + QLatin1Char('-') + hex2(base + 2)
           + QLatin1Char('-') + hex2(base + 1);
}

// Column k of the port row as a 34 x 122 picture on the row's background:
// port 2k + 1's number above its link picture, port 2k + 2's link picture
// above its number. The numbers go through the style as a label's text
// does. Drawn once per column and pair of links.
QPixmap column_picture(int k, bool upper_on, bool lower_on, const QWidget *row)
{
    const QString key = QStringLiteral("qel:ports%1/%2%3").arg(k).arg(int(upper_on)).arg(int(lower_on));
    QPixmap pix;
    if (QPixmapCache::find(key, &pix))
        return pix;
    const auto link = [](bool on) {
        return cached_picture(on ? QStringLiteral(":/png/online.png") : QStringLiteral(":/png/offline.png"), QSize(32, 28));
    };
    pix = QPixmap(34, 122);
    pix.fill(QColor(33, 36, 53));
    QPainter p(&pix);
    p.drawPixmap(0, 28, link(upper_on));
    p.drawPixmap(0, 66, link(lower_on));
    QFont font = row->font();
    font.setPixelSize(20);
    p.setFont(font);
    QPalette white;
    white.setColor(QPalette::WindowText, Qt::white);
    const auto number = [&](int y, int port) {
        row->style()->drawItemText(&p, QRect(10, y, 24, 28), Qt::AlignLeft | Qt::AlignVCenter, white, true,
                                   QString::number(port), QPalette::WindowText);
    };
    number(0, 2 * k + 1);
    number(94, 2 * k + 2);
    p.end();
    QPixmapCache::insert(key, pix);
    return pix;
}

}

MachineState::MachineState(QWidget *parent) : QDialog(parent), ui(new Ui::MachineState)
{
    ui->setupUi(this);
    set_back_icon(ui->Button_back);

    initWlan();
    language_changed();   // also the three pictures with texts in them
    version_changed();
    source_check();
    const QString barcode = g_str_barcode.get();
    if (barcode != QLatin1String(" "))
        ui->label_2->setText(QStringLiteral("SN:") + barcode);
}

MachineState::~MachineState()
{
    if (g_machinestate == this)
        g_machinestate = nullptr;
    delete ui;
}

void MachineState::on_Button_back_clicked()
{
    back_to_main(this, g_machinestate);
}

void MachineState::version_changed()
{
    ui->label_MCU->setText(QStringLiteral("MCU:") + QLatin1String(MCU_VERSION));
    ui->label_FPGA1->setText(QStringLiteral("FPGA1:") + fpga_version(0));
    ui->label_FPGA2->setText(QStringLiteral("FPGA2:") + fpga_version(1));
}

// Ports 2k + 1 (upper row) and 2k + 2 (lower row) share a column, one label
// a column. The links come from the manager's mirror: nothing here waits on
// the FPGAs.
void MachineState::initWlan()
{
    delete ports_frame;
    ports_frame = new QFrame(ui->frame);
    ports_frame->setObjectName(QStringLiteral("ports_frame"));
    ports_frame->setGeometry(40, 53, 710, 130);
    ports_frame->setStyleSheet(QStringLiteral("background-color: rgb(33, 36, 53);"));

    const fpga_manage *f = fpga_manage::p_fpga_manage;
    const u32 mask = f ? f->link_mask() : 0;
    for (int k = 0; k < 12; ++k) {
        QLabel *column = new QLabel(ports_frame);
        column->setObjectName(QStringLiteral("port_column_%1").arg(k + 1));
        column->setGeometry(56 * k + 24, 4, 34, 122);
        column->setPixmap(column_picture(k, (mask >> 2 * k) & 1, (mask >> (2 * k + 1)) & 1, ports_frame));
    }
    ports_frame->show();
}

void MachineState::source_check()
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    struct Input {
        QLabel *label;
        const char *lit;
        const char *grey;
    };
    const Input inputs[6] = {
        {ui->label_EXT, ":/png/extlv.png", ":/png/exthui.png"},
        {ui->label_DVI, ":/png/dvilv.png", ":/png/dvihui.png"},
        {ui->label_HDMI1, ":/png/HDMI13_lv.png", ":/png/HDMI13_hui.png"},
        {ui->label_HDMI2, ":/png/HDMI13_lv.png", ":/png/HDMI13_hui.png"},
        {ui->label_HDMI3, ":/png/HDMI20_lv.png", ":/png/HDMI20_hui.png"},
        {ui->label_HDMI4, ":/png/HDMI20_lv.png", ":/png/HDMI20_hui.png"},
    };
    for (int i = 0; i < 6; ++i) {
        const bool lit = p && p->input_signal(i).present();
        set_picture(inputs[i].label, QString::fromLatin1(lit ? inputs[i].lit : inputs[i].grey));
    }
}

void MachineState::language_changed()
{
    const PanelText title = {"设备信息", "Devices", "Устройство", "Thiết bị", "設備信息"};
    ui->label_title->setText(title.text());
    const int lang = panel_language();
    const QString prefix = lang == 2 ? QStringLiteral("ru_") : QString();
    set_picture(ui->label_state3, lang == 0 || lang == 4 ? QStringLiteral(":/png/version_state.png")
                                  : lang == 2            ? QStringLiteral(":/png/ru_version_state.png")
                                                         : QStringLiteral(":/png/en_version_state.png"));
    set_picture(ui->label_state1, QStringLiteral(":/png/%1output_state.png").arg(prefix));
    set_picture(ui->label_state2, QStringLiteral(":/png/%1input_state.png").arg(prefix));
}

// The inputs at every refresh; the ports when their links changed and the
// FPGA manager exists. Versions and serial number stay as opened.
void MachineState::syncUpdate(int code)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p && p->QelLanguageChanged() == 1)
        language_changed();
    source_check();
    if (code == REFRESH_PORT_LINKS && fpga_manage::p_fpga_manage)
        initWlan();
}
