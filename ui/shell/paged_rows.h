#ifndef QEL_UI_SHELL_PAGED_ROWS_H
#define QEL_UI_SHELL_PAGED_ROWS_H

#include <QFrame>
#include <QString>
#include <Qt>

class QLabel;

// One page of a framed list ("frame_file"): up to five rows, each with a
// button over it named by its row number, the paging arrows on the right
// ("previous_button_0", "next_button_0"), or one line ("empty_label_0")
// when the list is empty. A list is made anew for each page and the old one
// retired (see retire()): the button pressed may be one of its own.
class PagedRows : public QFrame
{
    Q_OBJECT
public:
    static constexpr int ROWS = 5;
    // The last page of a list of `count` rows; 0 for an empty one.
    static int last_page(int count);

    // On `page`; its owner shows it once filled. The buttons over the rows
    // wear `cover_style`.
    explicit PagedRows(QWidget *page, const QString &cover_style = QString());

    void show_empty(const QString &text);
    void set_empty_text(const QString &text);
    // Row k (0..ROWS-1) of the page.
    QLabel *add_row(int k, const QString &text, Qt::TextFormat format, const QString &style);
    QLabel *row(int k) const;   // null where no row was added
    // The arrows to the page before and after page `page` of 0..`last`, where there is one.
    void add_paging(int page, int last);

signals:
    void row_pressed(int k);
    void previous_pressed();
    void next_pressed();

private:
    QLabel *line(const QString &name, const QRect &geometry, const QString &style);

    QString cover;
    QLabel *empty = nullptr;
    QLabel *rows[ROWS] = {};
};

#endif
