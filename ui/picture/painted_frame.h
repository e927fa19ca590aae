#ifndef QEL_UI_PICTURE_PAINTED_FRAME_H
#define QEL_UI_PICTURE_PAINTED_FRAME_H

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPixmap>
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

    // Background and border as a frame of this size styled by `style` draws
    // them over `under` (what shows past rounded corners): a picture made
    // once per style and size, instead of a style sheet of the frame's own
    // polished and drawn each time. The frame then draws every pixel itself,
    // and the style sheets around it do not polish it. `style` is kept as
    // the property "look".
    void set_look(const QString &style, const QColor &under);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::pair<QByteArray, Item>> m_items;
    QPixmap m_look;
};

#endif
