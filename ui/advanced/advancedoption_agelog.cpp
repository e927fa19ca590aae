// Ageing log page of the advanced settings screen, behind its access code.
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <mutex>

#include "core/global.h"
#include "core/utils.h"
#include "ui/advanced/advancedoption.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_advancedoption.h"

namespace {
const char kAccessCode[] = "5093";
constexpr int kLinesPerPage = 16;

// output 1's status names, bit 0 first
const char *const kStatusNames[5] = {"DDR0", "DDR1", "DE", "HS", "VS"};

// a decimal field, 0 when it is not a number, with at least three digits
QString value3(const QString &field) { return QString::asprintf("%03d", field.toInt()); }

QString status_names(const QString &field)
{
    const int s = field.toInt();
    QString out;
    for (int bit = 0; bit < 5; ++bit)
        out += QStringLiteral("<font color = %1 >%2</font> ")
                   .arg(QLatin1String((s >> bit) & 1 ? "#00FF00" : "#FF0000"), QLatin1String(kStatusNames[bit]));
    return out;
}

// each count before its label, each label followed by `blank`
QString histogram(const u32 (&bins)[5], const char *blank)
{
    const char *const labels[5] = {"<3 ", "<5 ", "<10 ", "<20 ", ">20"};
    QString out;
    for (int i = 0; i < 5; ++i)
        out += QString::number(bins[i]) + QLatin1String(labels[i]) + QLatin1String(blank);
    return out;
}

int agelog_pages(int lines) { return (lines + kLinesPerPage - 1) / kLinesPerPage; }
}

// The keypad opens for the access code; no field of another screen is the
// one being edited, so their confirmString leave the code alone.
void AdvancedOption::on_Button_factory_age_clicked()
{
    if (g_qround_bar || agelog_open != 0 || !g_numberkeyboard)
        return;
    const bool russian = g_language == 2 && (g_lcd_lang_valid & (1 << 2));
    code_asked = true;
    open_keypad(nullptr, QString::fromUtf8(russian ? "Пароль" : "key"), QStringLiteral("**********"));
    code_asked = false;
}

void AdvancedOption::confirmString(QString text)
{
    // only the code asked for by this screen's ageing button
    if (!code_asked || g_lineedit || text != QLatin1String(kAccessCode))
        return;
    ui->stackedWidget->setCurrentIndex(5);
    button_select(ui->Button_factory_age);
    ageloginit();
    agelog_open = 1;
}

void AdvancedOption::ageloginit()
{
    if (!factoryage_log.isEmpty()) {
        update_agelog();
        return;
    }
    QDateTime now;
    {
        std::lock_guard<std::recursive_mutex> lock(Utils::_system_mutex);
        now = QDateTime::currentDateTime();
    }
    ui->label_log1->setText(now.toString(QStringLiteral("MM-dd hh:mm")) + QStringLiteral("  ")
                            + QString::fromUtf8("正在老化中..."));
    agelog_text.clear();
    const u32 zero[5] = {0, 0, 0, 0, 0};
    ui->label_3->setText(QStringLiteral("OUT1:") + histogram(zero, "") + QStringLiteral("    OUT2:")
                         + histogram(zero, ""));
    ui->page_info->setText(QStringLiteral("0"));
    ui->label_page->setText(QStringLiteral("0/0"));
}

QString AdvancedOption::agelog_line(const QString &line)
{
    const QStringList f = line.split(QLatin1Char(' '));
    if (f.size() != 8)
        return QString();
    return f.at(0) + QLatin1Char(' ') + f.at(1) + QLatin1Char(' ') + value3(f.at(2)) + QLatin1Char(' ')
           + status_names(f.at(3)) + value3(f.at(4)) + QStringLiteral("    ,") + value3(f.at(5))
           + QLatin1Char(' ') + status_names(f.at(6)) + value3(f.at(7));
}

void AdvancedOption::update_agelog()
{
    if (factoryage_log.isEmpty()) {
        ageloginit();
        return;
    }
    agelog_text.clear();
    const int n = factoryage_log.size();
    const int first = kLinesPerPage * agelog_page;
    for (int i = first; i < qMin(n, first + kLinesPerPage); ++i) {
        const QString shown = agelog_line(factoryage_log.at(i));
        if (shown.isEmpty())
            continue;
        if (i != first)
            agelog_text += QStringLiteral("<br>");
        agelog_text += shown;
    }
    ui->label_log1->setText(agelog_text);

    const u32 out1[5] = {factoryage_log_diff3, factoryage_log_diff5, factoryage_log_diff10, factoryage_log_diff20,
                         factoryage_log_diffmore};
    const u32 out2[5] = {factoryage_log2_diff3, factoryage_log2_diff5, factoryage_log2_diff10,
                         factoryage_log2_diff20, factoryage_log2_diffmore};
    ui->label_3->setText(QStringLiteral("OUT1:") + histogram(out1, " ") + QStringLiteral("    OUT2:")
                         + histogram(out2, " "));
    ui->label_page->setText(QStringLiteral("%1/%2").arg(agelog_page + 1).arg(agelog_pages(n)));
    ui->page_info->setText(QString::number(n));
}

void AdvancedOption::on_next_clicked()
{
    const int pages = agelog_pages(factoryage_log.size());
    if (pages == 0) {
        agelog_page = 0;
        return;
    }
    agelog_page = agelog_page + 1 >= pages ? 0 : agelog_page + 1;
    ageloginit();
}

void AdvancedOption::on_pre_clicked()
{
    if (factoryage_log.isEmpty())
        return;
    const int pages = agelog_pages(factoryage_log.size());
    agelog_page = agelog_page - 1 < 0 ? pages - 1 : agelog_page - 1;
    ageloginit();
}
