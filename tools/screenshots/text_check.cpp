#include "tools/screenshots/text_check.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>
#include <cmath>

#include "ui/shell/panel_style.h"

namespace {

QString object_of(const QWidget *w)
{
    if (!w)
        return QStringLiteral("?");
    if (!w->objectName().isEmpty())
        return w->objectName();
    const QString cls = QString::fromLatin1(w->metaObject()->className());
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (!p->objectName().isEmpty())
            return p->objectName() + QLatin1Char('/') + cls;
    return cls;
}

// Texts PanelStyle does not draw: line edits and rich-text labels.
struct Measured
{
    bool applies = false;
    QString text;
    int needed = 0;
    int available = 0;
};

Measured measure_line_edit(const QLineEdit *e)
{
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.state |= QStyle::State_Sunken;
    const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e);
    const QMargins m = e->textMargins();
    constexpr int kInner = 2;   // QLineEdit's own margin on each side
    return {true, e->displayText(), e->fontMetrics().horizontalAdvance(e->displayText()),
            r.width() - m.left() - m.right() - 2 * kInner};
}

Measured measure_rich_label(const QLabel *l)
{
    const bool rich = l->textFormat() == Qt::RichText ||
                      (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    if (!rich || l->wordWrap())
        return {};
    QTextDocument doc;
    doc.setDefaultFont(l->font());
    doc.setDocumentMargin(0);
    doc.setHtml(l->text());
    return {true, l->text(), int(std::ceil(doc.idealWidth())), l->contentsRect().width() - 2 * l->margin()};
}

constexpr int kPanelW = 800;
constexpr int kPanelH = 480;
// An ink pixel stands out from what lies under the text (kStandOut of 255
// in a channel) and lies at most half as far from the text's colour.
constexpr int kStandOut = 24;

int distance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

bool has_ink(const QImage &shown, const QImage &under, const QRect &r, QRgb color)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb *s = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
        const QRgb *u = reinterpret_cast<const QRgb *>(under.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            if (distance(s[x], u[x]) >= kStandOut && 2 * distance(s[x], color) <= distance(u[x], color))
                return true;
    }
    return false;
}

// Where a drawn text lies in its widget: its lines' bounding box.
QRect text_box(const PanelStyle::DrawnText &t)
{
    return QFontMetrics(t.fit.font, t.widget).boundingRect(t.rect, t.flags, t.fit.text);
}

// What a widget draws itself, children included, without a window's
// background: its opaque pixels hide what lies under it.
class Covers
{
public:
    // The part of `rect` (in w's coordinates) inside w and every parent, in
    // the window's coordinates; `hidden` tells whether a sibling (of w or
    // of a parent) stacked above it hides some of that part.
    QRect shown_part(const QWidget *w, const QRect &rect, bool *hidden)
    {
        QRect part = rect & w->rect();
        *hidden = false;
        for (; !w->isWindow() && w->parentWidget(); w = w->parentWidget()) {
            const QWidget *parent = w->parentWidget();
            part.translate(w->pos());
            part &= parent->rect();
            const QObjectList &stack = parent->children();
            for (int i = stack.indexOf(const_cast<QWidget *>(w)) + 1; i < stack.size() && !*hidden; ++i) {
                const QWidget *above = qobject_cast<const QWidget *>(stack.at(i));
                if (above && !above->isWindow() && above->isVisible() && part.intersects(above->geometry()))
                    *hidden = opaque(above).translated(above->pos()).intersects(part);
            }
        }
        return part;
    }

private:
    QHash<const QWidget *, QRegion> m_opaque;

    const QRegion &opaque(const QWidget *w)
    {
        auto found = m_opaque.constFind(w);
        if (found != m_opaque.constEnd())
            return *found;
        QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        const_cast<QWidget *>(w)->render(&img, QPoint(), QRegion(), QWidget::DrawChildren);
        QRegion region;
        for (int y = 0; y < img.height(); ++y) {
            const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
            for (int x = 0; x < img.width();) {
                int end = x;
                while (end < img.width() && qAlpha(line[end]) >= 128)
                    ++end;
                if (end > x)
                    region += QRect(x, y, end - x, 1);
                x = end + 1;
            }
        }
        return *m_opaque.insert(w, region);
    }
};

class Check
{
public:
    QList<TextOverflow> found;
    int count = 0;

    void note(const QWidget *w, const QString &text, bool fits, int needed, int available, bool height = false)
    {
        const QString key = QString::number(quintptr(w)) + QLatin1Char('|') + text;
        if (text.isEmpty() || seen.contains(key))
            return;
        seen.insert(key);
        ++count;
        if (!fits)
            found.append({object_of(w), text, needed, available, height});
    }

    void paint(QWidget *root)
    {
        root->grab();
        for (QWidget *w : root->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(root))
                continue;
            Measured m;
            if (const QLineEdit *e = qobject_cast<const QLineEdit *>(w))
                m = measure_line_edit(e);
            else if (const QLabel *l = qobject_cast<const QLabel *>(w))
                m = measure_rich_label(l);
            if (m.applies)
                note(w, m.text, m.needed <= m.available, m.needed, m.available);
        }
    }

private:
    QSet<QString> seen;
};

}

namespace {
QImage compose(const QList<QWidget *> &windows)
{
    QImage img(kPanelW, kPanelH, QImage::Format_RGB32);
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
}

QImage TextCheck::grab(const QList<QWidget *> &windows)
{
    // layouts and scroll bars settle through posted events first
    QCoreApplication::processEvents();
    return compose(windows);
}

QList<TextWithoutInk> TextCheck::without_ink(const QList<QWidget *> &windows, QImage *shown, int *checked)
{
    QList<PanelStyle::DrawnText> drawn;
    PanelStyle::set_watcher([&drawn](const PanelStyle::DrawnText &t) {
        if (t.widget)   // texts inside pictures are the pictures' own
            drawn.append(t);
    });
    const QImage image = grab(windows);
    PanelStyle::set_watcher(nullptr);
    PanelStyle::hold_back_texts(true);
    const QImage under = compose(windows);
    PanelStyle::hold_back_texts(false);

    QList<TextWithoutInk> found;
    QSet<QString> seen;
    Covers covers;
    int count = 0;
    for (const PanelStyle::DrawnText &t : drawn) {
        int at = -1;   // the window the text is drawn in
        for (int i = 0; i < windows.size() && at < 0; ++i)
            if (windows.at(i) && (windows.at(i) == t.widget || windows.at(i)->isAncestorOf(t.widget)))
                at = i;
        const QString key = QStringLiteral("%1|%2|%3,%4").arg(quintptr(t.widget)).arg(t.text).arg(t.rect.x()).arg(t.rect.y());
        if (at < 0 || seen.contains(key))
            continue;
        seen.insert(key);
        bool hidden = false;
        const QRect where = covers.shown_part(t.widget, text_box(t), &hidden).translated(windows.at(at)->pos()) &
                            image.rect();
        for (int i = at + 1; i < windows.size() && !hidden; ++i)
            hidden = windows.at(i) && where.intersects(QRect(windows.at(i)->pos(), windows.at(i)->size()));
        if (where.isEmpty() || hidden)
            continue;
        ++count;
        if (!has_ink(image, under, where, t.color.rgb()))
            found.append({object_of(t.widget), t.text});
    }
    if (shown)
        *shown = image;
    if (checked)
        *checked = count;
    return found;
}

QList<TextOverflow> TextCheck::overflows(const QList<QWidget *> &windows, int *checked)
{
    Check check;
    PanelStyle::set_watcher([&check](const PanelStyle::DrawnText &t) {
        const bool height = t.fit.needed <= t.fit.available;
        check.note(t.widget, t.text, t.fit.fits, height ? t.fit.needed_height : t.fit.needed,
                   height ? t.fit.available_height : t.fit.available, height);
    });
    for (QWidget *window : windows) {
        if (!window)
            continue;
        window->ensurePolished();
        check.paint(window);
        // the pages a tab or a step would show
        for (QStackedWidget *stack : window->findChildren<QStackedWidget *>()) {
            if (!stack->isVisible())
                continue;
            const int shown = stack->currentIndex();
            for (int i = 0; i < stack->count(); ++i) {
                if (i == shown)
                    continue;
                stack->setCurrentIndex(i);
                check.paint(stack);
            }
            stack->setCurrentIndex(shown);
        }
    }
    PanelStyle::set_watcher(nullptr);
    if (checked)
        *checked = check.count;
    return check.found;
}
