#ifndef QEL_UI_OUTPUT_SCAN_FILE_LIST_H
#define QEL_UI_OUTPUT_SCAN_FILE_LIST_H

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class PagedRows;
class QWidget;

// The scan files smart mapping can load: those of the device folder, then
// the stick's, five a page. The file of the row pressed is the chosen one
// (g_qlfile_name, under g_line_type_mutex); a new page chooses its first
// file on the first page, none on the others. While the progress ring
// shows, the rows and arrows do nothing.
class ScanFileList : public QObject
{
    Q_OBJECT
public:
    static constexpr int MAX_FILES = 100;

    // Shows on `page`.
    ScanFileList(QWidget *page, QObject *parent);

    // The files the Load scan button counts: the device folder's (any file),
    // else the stick's scan files. A count the device folder cannot give
    // keeps the last one.
    void count();
    int counted() const { return files_counted; }

    // Lists both folders again and shows the first page; the number listed.
    int show_first_page();
    // The text of an empty list in the panel language.
    void language_changed();

    // A file is chosen.
    static bool chosen();

private:
    void show_page();
    QString row_style(int row, bool selected) const;
    void choose_row(int row);
    void previous_page();
    void next_page();

    QWidget *page;
    QPointer<PagedRows> list;
    QStringList paths;          // the device's first
    int device_files = 0;
    int current_page = 0;
    int chosen_row = 0;         // on the page shown
    int files_counted = 0;
};

#endif
