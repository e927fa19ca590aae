#include "tools/screenshots/text_check.h"

#include <QLabel>
#include <QLineEdit>
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

QList<TextOverflow> TextCheck::overflows(const QList<QWidget *> &windows, int *checked)
{
    Check check;
    PanelStyle::set_watcher([&check](QWidget *w, const QString &text, const TextFit &fit) {
        const bool height = fit.needed <= fit.available;
        check.note(w, text, fit.fits, height ? fit.needed_height : fit.needed,
                   height ? fit.available_height : fit.available, height);
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
