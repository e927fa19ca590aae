#include "ui/output/scan_file_list.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <mutex>

#include "core/global.h"
#include "core/utils.h"
#include "led_output/fpga_manage.h"
#include "led_output/rcv_recovery_file.h"
#include "ui/shell/paged_rows.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"

namespace {

const char *const SMART_DIR = "/data/smartmapping";
const char *const USB_DIR = "/mnt/usb1/";
const char *const SCAN_SUFFIX = "qlfile";

const PanelText NO_FILE{"无加载文件!", "No loaded file!", "Нет файлов для загрузки!", "Không có tập tin để tải!",
                        "無加載文件!"};

// The device's rows in white, the stick's in green.
const char *const STICK_ROW_SELECTED = "background-color:#4777FF;color: #00FF00;";
const char *const STICK_ROW_PLAIN = "background-color: rgb(33, 36, 53);color: #00FF00";

// The scan files of one device folder, as device paths, in name order:
// regular files with the exact suffix, no symbolic links, at most `limit`.
QStringList scan_files(const QString &folder, int limit)
{
    QStringList paths;
    if (limit <= 0)
        return paths;
    const QDir dir(Utils::devicePath(folder));
    const QFileInfoList list = dir.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QFileInfo &fi : list) {
        if (paths.size() >= limit)
            break;
        if (fi.isFile() && !fi.isSymLink() && fi.suffix() == QLatin1String(SCAN_SUFFIX))
            paths.append(base + fi.fileName());
    }
    return paths;
}

void choose(const QString &path)
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    g_qlfile_name = path;
}

}

ScanFileList::ScanFileList(QWidget *page, QObject *parent) : QObject(parent), page(page) {}

void ScanFileList::count()
{
    fpga_manage *f = fpga_manage::p_fpga_manage;
    rcvRecovery *reader = f ? f->rcv_recovery : nullptr;
    if (reader && reader->get_dir_file(QLatin1String(SMART_DIR)) == 0)
        files_counted = reader->smart_file_count();
    if (files_counted == 0)
        files_counted = scan_files(QLatin1String(USB_DIR), MAX_FILES).size();
}

bool ScanFileList::chosen()
{
    std::lock_guard<std::mutex> lock(g_line_type_mutex);
    return !g_qlfile_name.isEmpty();
}

int ScanFileList::show_first_page()
{
    paths = scan_files(QLatin1String(SMART_DIR), MAX_FILES);
    device_files = paths.size();
    paths += scan_files(QLatin1String(USB_DIR), MAX_FILES - device_files);
    current_page = 0;
    show_page();
    return paths.size();
}

void ScanFileList::show_page()
{
    retire(list);
    chosen_row = 0;
    choose(QString());
    list = new PagedRows(page, QString::fromLatin1(COVER_STYLE));
    connect(list, &PagedRows::row_pressed, this, &ScanFileList::choose_row);
    connect(list, &PagedRows::previous_pressed, this, &ScanFileList::previous_page);
    connect(list, &PagedRows::next_pressed, this, &ScanFileList::next_page);

    if (paths.isEmpty())
        list->show_empty(NO_FILE.text());
    const int first = PagedRows::ROWS * current_page;
    for (int k = 0; k < qMin(PagedRows::ROWS, paths.size() - first); ++k) {
        const QString &path = paths.at(first + k);
        QString name = QFileInfo(path).fileName();
        name.remove(QLatin1Char('\n'));
        // names from a stick are anyone's text
        list->add_row(k, name, Qt::PlainText, row_style(k, first + k == chosen_row));
        if (first + k == chosen_row)
            choose(path);
    }
    list->add_paging(current_page, PagedRows::last_page(paths.size()));
    list->show();
}

// Row k of the page shown, in the colours of where its file lives.
QString ScanFileList::row_style(int row, bool selected) const
{
    const bool device = PagedRows::ROWS * current_page + row < device_files;
    return QString::fromLatin1(device ? (selected ? SELECTED_STYLE : ROW_PLAIN_STYLE)
                                      : (selected ? STICK_ROW_SELECTED : STICK_ROW_PLAIN));
}

void ScanFileList::choose_row(int row)
{
    if (g_qround_bar)
        return;
    if (QLabel *before = list->row(chosen_row))
        before->setStyleSheet(row_style(chosen_row, false));
    chosen_row = row;
    choose(paths.at(PagedRows::ROWS * current_page + row));
    list->row(row)->setStyleSheet(row_style(row, true));
}

void ScanFileList::previous_page()
{
    if (g_qround_bar || current_page <= 0)
        return;
    --current_page;
    show_page();
}

void ScanFileList::next_page()
{
    if (g_qround_bar || current_page >= PagedRows::last_page(paths.size()))
        return;
    ++current_page;
    show_page();
}

void ScanFileList::language_changed()
{
    if (list)
        list->set_empty_text(NO_FILE.text());
}
