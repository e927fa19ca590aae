// Receiving-card check and self-recovery page of the advanced settings screen.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

#include "core/global.h"
#include "core/logmsg.h"
#include "ui/advanced/advancedoption.h"
#include "ui/advanced/advancedoption_common.h"
#include "ui/shell/device_requests.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screens.h"
#include "ui_advancedoption.h"

using namespace advanced;

namespace {
constexpr int kRowsPerPage = 5;
const char *const kRowOn = "background-color:#4777FF;color: #FFFFFF;";
const char *const kRowOff = "background-color: rgb(33, 36, 53);color: #FFFFFF";
const char *const kRowUnselected = "background-color: rgb(33, 36, 53);color: #FFFFFF;";

const PanelText kNoCards = {"暂无接收卡需要更新!", "No receiving cards that need to be updated!",
                            "Обновление принимающих карт не требуется!", "Chưa có thẻ nhận nào để cập nhật!",
                            "暫無接收卡需要更新!"};

// "Find Screen01, LED02, Rcv05" in the panel language; the card number in
// red when it is past the stored card count.
QString row_text(const QStringList &fields, bool past)
{
    const QString card = QStringLiteral("<font color = %1 >%2</font>")
                             .arg(QLatin1String(past ? "#FF0000" : "#FFFFFF"), fields.at(2));
    const char *find = "Find", *screen = "Screen", *led = "LED", *rcv = "Rcv";
    if (g_language == 0 && (g_lcd_lang_valid & 0x01)) {
        find = "发现", screen = "屏幕", led = "网口LED", rcv = "接收卡";
    } else if (g_language == 4 && (g_lcd_lang_valid & 0x10)) {
        find = "髮現", screen = "屏幕", led = "網口LED", rcv = "接收卡";
    }
    return QString::fromUtf8(find) + QLatin1Char(' ') + QString::fromUtf8(screen) + fields.at(0)
           + QStringLiteral(", ") + QString::fromUtf8(led) + fields.at(1) + QStringLiteral(", ")
           + QString::fromUtf8(rcv) + card;
}

QLabel *list_label(QWidget *parent, const QString &name, const QRect &geometry, const char *style)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setStyleSheet(QString::fromLatin1(style));
    return label;
}

QPushButton *list_button(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
}

int AdvancedOption::rcv_self_recovery_ornot() { return menu_selected == ui->Button_rcv_recovery ? 1 : 0; }

void AdvancedOption::on_Button_rcv_recovery_clicked()
{
    if (rcv_file_count == 0 || !menu_open(ui->Button_rcv_recovery, 1))
        return;
    set_style(ui->Button_check, PLAIN_STYLE);
    set_style(ui->Button_self_recovery, PLAIN_STYLE);
    rcv_self_recovery_file_list();
}

void AdvancedOption::card_job_buttons(QPushButton *chosen)
{
    QPushButton *other = chosen == ui->Button_check ? ui->Button_self_recovery : ui->Button_check;
    set_style(other, PLAIN_STYLE);
    set_style(chosen, SELECTED_STYLE);
}

// A check that cannot run (no FPGA manager, FPGAs not running, a job or an
// upgrade going on) is refused: no ring, no job, the old result stays.
void AdvancedOption::on_Button_check_clicked()
{
    if (g_send_para.job() != 0 || !DeviceRequests::fpgas_running())
        return;
    DeviceRequests::start_card_job(this, JOB_CHECK_CARDS, [this] {
        rcv_entries.clear();
        rcv_entry_count = 0;
        rcv_entry_invalid = 0;
        current_page = 0;
        card_job_buttons(ui->Button_check);
        rcv_self_recovery_file_list();
    });
}

// Only a card the last check found, within its stored card count, is
// restored.
void AdvancedOption::on_Button_self_recovery_clicked()
{
    if (g_send_para.job() != 0 || rcv_entry_invalid == 1 || rcv_entries.isEmpty() || rcv_entry_count == 0
        || !DeviceRequests::fpgas_running())
        return;
    DeviceRequests::start_card_job(this, JOB_SELF_RECOVERY, [this] {
        card_job_buttons(ui->Button_self_recovery);
        rcv_self_recovery_file_list();
        g_send_para.sub_step = 16;
    });
}

// A check or self-recovery result, handed over on this thread before the
// refresh code that announces it.
void AdvancedOption::recovery_result(QStringList entries, int count)
{
    if (JobRelay::instance()->screen() != this)
        return;
    rcv_entries = entries;
    rcv_entry_count = qMax(0, count);
}

void AdvancedOption::clear_rows()
{
    for (int k = 0; k < kRowsPerPage; ++k) {
        row_labels[k] = nullptr;
        row_names[k].clear();
    }
    button_previous = nullptr;
    button_next = nullptr;
    if (file_frame) {
        // the frame may hold the button whose press redraws the list
        file_frame->hide();
        file_frame->setParent(nullptr);
        file_frame->deleteLater();
        file_frame = nullptr;
    }
}

void AdvancedOption::rcv_self_recovery_file_list()
{
    clear_rows();
    file_select = 0;
    QFont font;
    font.setPointSize(15);

    file_frame = new QFrame(ui->page_2);
    file_frame->setObjectName(QStringLiteral("frame_file"));
    file_frame->setGeometry(10, 90, 580, 240);
    file_frame->setStyleSheet(QStringLiteral("#frame_file{background-color: rgb(33, 36, 53);border:1px solid #FFFFFF;}"));

    // bounded by both the count and the list
    const int n = qMin(rcv_entry_count, rcv_entries.size());
    page_count = u8(n > 0 ? (n - 1) / kRowsPerPage : 0);
    if (current_page < 0 || current_page > page_count)
        current_page = 0;

    if (n == 0) {
        QLabel *empty = list_label(file_frame, QStringLiteral("empty_label_0"), QRect(5, 5, 570, 40),
                                   "background-color: rgb(33, 36, 53);color: #FFFFFF");
        empty->setFont(font);
        empty->setText(kNoCards.text());
    }
    const int first = kRowsPerPage * current_page;
    for (int i = first; i < qMin(n, first + kRowsPerPage); ++i) {
        const QStringList fields = rcv_entries.at(i).split(QLatin1Char('/'));
        if (fields.size() < 4)
            continue;
        const bool past = fields.at(3).toInt() < fields.at(2).toInt();
        rcv_entry_invalid = past ? 1 : 0;
        const int k = i - first;
        const QRect geometry(5, 5 + 45 * k, 520, 40);
        QLabel *label = list_label(file_frame, QStringLiteral("row_label_%1").arg(k), geometry,
                                   k == 0 ? kRowOn : kRowOff);
        label->setFont(font);
        label->setTextFormat(Qt::RichText);
        row_names[k] = row_text(fields, past);
        label->setText(row_names[k]);
        row_labels[k] = label;
        QPushButton *over = cover_button(file_frame, k, geometry);
        connect(over, &QPushButton::clicked, this, &AdvancedOption::qel_button_rcv_data_list_file_clicked);
    }

    const char *const pagingStyle = "background-color: rgb(33, 36, 53);";
    if (current_page > 0) {
        button_previous = list_button(file_frame, QStringLiteral("button_previous_0"), QRect(530, 5, 50, 50));
        button_previous->setStyleSheet(QString::fromLatin1(pagingStyle));
        set_icon(button_previous, QStringLiteral(":/png/previous.png"), 50);
        connect(button_previous, &QPushButton::clicked, this, &AdvancedOption::qel_Button_previous_clicked);
    }
    if (current_page < page_count) {
        button_next = list_button(file_frame, QStringLiteral("button_next_0"), QRect(530, 185, 50, 50));
        button_next->setStyleSheet(QString::fromLatin1(pagingStyle));
        set_icon(button_next, QStringLiteral(":/png/next.png"), 50);
        connect(button_next, &QPushButton::clicked, this, &AdvancedOption::qel_Button_next_clicked);
    }
    file_frame->show();
    ui->stackedWidget->setCurrentIndex(1);
}

void AdvancedOption::qel_button_rcv_data_list_file_clicked()
{
    const QObject *b = sender();
    bool ok = false;
    const int row = b ? b->objectName().toInt(&ok) : -1;
    if (!ok || row < 0 || row >= kRowsPerPage)
        return;
    if (row_labels[file_select])
        row_labels[file_select]->setStyleSheet(QString::fromLatin1(kRowUnselected));
    file_select = u8(row);
    qel_trace("\n qel_button_file_clicked ...file_select = %d\n", file_select);
    if (row_labels[file_select])
        row_labels[file_select]->setStyleSheet(QString::fromLatin1(kRowOn));
}

void AdvancedOption::qel_Button_previous_clicked()
{
    current_page = i8(current_page > 0 ? current_page - 1 : 0);
    qel_trace("\n qel_Button_previous_clicked  current_page = %d\n", current_page);
    rcv_self_recovery_file_list();
}

void AdvancedOption::qel_Button_next_clicked()
{
    current_page = i8(current_page + 1 > page_count ? 0 : current_page + 1);
    qel_trace("\n qel_Button_next_clicked  current_page = %d\n", current_page);
    rcv_self_recovery_file_list();
}
