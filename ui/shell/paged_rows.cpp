#include "ui/shell/paged_rows.h"

#include <QLabel>
#include <QPushButton>

#include "ui/shell/screen_helpers.h"

namespace {
const char *const PAGING_STYLE = "background-color: rgb(33, 36, 53);";
}

int PagedRows::last_page(int count) { return count > 0 ? (count - 1) / ROWS : 0; }

PagedRows::PagedRows(QWidget *page, const QString &cover_style) : QFrame(page), cover(cover_style)
{
    setObjectName(QStringLiteral("frame_file"));
    setGeometry(10, 90, 580, 240);
    setStyleSheet(QStringLiteral("#frame_file{background-color: rgb(33, 36, 53);border:1px solid #FFFFFF;}"));
}

QLabel *PagedRows::line(const QString &name, const QRect &geometry, const QString &style)
{
    QLabel *label = new QLabel(this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    QFont f = font();
    f.setPointSize(15);
    label->setFont(f);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setStyleSheet(style);
    return label;
}

void PagedRows::show_empty(const QString &text)
{
    empty = line(QStringLiteral("empty_label_0"), QRect(5, 5, 570, 40), QString::fromLatin1(ROW_PLAIN_STYLE));
    empty->setText(text);
}

void PagedRows::set_empty_text(const QString &text)
{
    if (empty)
        empty->setText(text);
}

QLabel *PagedRows::add_row(int k, const QString &text, Qt::TextFormat format, const QString &style)
{
    const QRect geometry(5, 5 + 45 * k, 520, 40);
    QLabel *row = line(QStringLiteral("row_label_%1").arg(k), geometry, style);
    row->setTextFormat(format);
    row->setText(text);
    QPushButton *over = cover_button(this, k, geometry);
    if (!cover.isEmpty())
        over->setStyleSheet(cover);
    connect(over, &QPushButton::clicked, this, [this, k] { emit row_pressed(k); });
    rows[k] = row;
    return row;
}

QLabel *PagedRows::row(int k) const { return k >= 0 && k < ROWS ? rows[k] : nullptr; }

void PagedRows::add_paging(int page, int last)
{
    auto arrow = [this](const QString &name, int y, const QString &res) {
        QPushButton *b = new QPushButton(this);
        b->setObjectName(name);
        b->setGeometry(530, y, 50, 50);
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QString::fromLatin1(PAGING_STYLE));
        set_icon(b, res, 50);
        return b;
    };
    if (page > 0)
        connect(arrow(QStringLiteral("previous_button_0"), 5, QStringLiteral(":/png/previous.png")),
                &QPushButton::clicked, this, &PagedRows::previous_pressed);
    if (page < last)
        connect(arrow(QStringLiteral("next_button_0"), 185, QStringLiteral(":/png/next.png")), &QPushButton::clicked,
                this, &PagedRows::next_pressed);
}
