#ifndef QEL_UI_PICTURE_PAINTED_FRAME_H
#define QEL_UI_PICTURE_PAINTED_FRAME_H

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QRect>
#include <QString>
#include <utility>
#include <vector>

// Texts and colour blocks drawn by one widget instead of a label each, as the
// labels drew them: block, then the text through the style. Each text is also
// the dynamic property of its name, so tests can read what shows.
class PaintedFrame : public QFrame
{
public:
    struct Item
    {
        QRect rect;
        QString text;
        QFont font;
        QColor back;                // none: the widget's own background shows
        QColor fore;                // none: the palette's text colour
        int radius = 0;
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    };

    using QFrame::QFrame;

    void set(const QByteArray &name, const Item &item);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::pair<QByteArray, Item>> m_items;
};

#endif
