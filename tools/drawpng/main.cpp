// drawpng: draws every picture of the panel (":/png/...") with QPainter and
// writes ui/shell/resources.qrc listing them.
//
// Rerun from the repository root after changing a drawing:
//   cmake --build build --target drawpng
//   QT_QPA_PLATFORM=offscreen build/tools/drawpng/drawpng ui/shell/png
// then commit the changed files under ui/shell/png and ui/shell/resources.qrc.
// Needs the fonts DejaVu Sans and WenQuanYi Micro Hei (fonts-wqy-microhei).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextStream>
#include <QVector>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

const QColor kBack(0x10, 0x10, 0x1C);
const QColor kPanel(0x21, 0x24, 0x35);
const QColor kBlue(0x47, 0x77, 0xFF);
const QColor kGreen(0x00, 0xD6, 0x5B);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kGrey(0x6B, 0x6F, 0x80);
const QColor kDim(0x3A, 0x3F, 0x58);
const QColor kOrange(0xFF, 0xAB, 0x54);
const QColor kRed(0xE5, 0x48, 0x4D);

const char kLatin[] = "DejaVu Sans";
const char kCjk[] = "WenQuanYi Micro Hei";

// A w x h picture on a transparent (or given) ground, painted smoothly.
QImage drawn(int w, int h, const std::function<void(QPainter &)> &paint, const QColor &fill = Qt::transparent,
             QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage img(w, h, format);
    img.fill(fill);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paint(p);
    }
    return img;
}

QFont font(qreal px, bool bold = true, bool cjk = false)
{
    QFont f(QString::fromLatin1(cjk ? kCjk : kLatin));
    f.setPixelSize(qRound(px));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

bool isCjk(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() >= 0x2E80)
            return true;
    return false;
}

// ---- arrows, buttons, marks ----

QImage back()
{
    return drawn(32, 32, [&](QPainter &p) {
        p.setPen(QPen(kWhite, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
        p.drawPolyline(QPolygonF({QPointF(15, 7), QPointF(6, 16), QPointF(15, 25)}));
    });
}

QImage roundButton(const std::function<void(QPainter &)> &glyph)
{
    return drawn(50, 50, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 44, 44));
        p.setPen(QPen(kWhite, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        glyph(p);
    });
}

QImage add()
{
    return roundButton([](QPainter &p) {
        p.drawLine(QPointF(25, 14), QPointF(25, 36));
        p.drawLine(QPointF(14, 25), QPointF(36, 25));
    });
}

QImage menu()
{
    return roundButton([](QPainter &p) {
        p.setPen(QPen(kWhite, 3.5, Qt::SolidLine, Qt::RoundCap));
        for (int y : {17, 25, 33})
            p.drawLine(QPointF(15, y), QPointF(35, y));
    });
}

QImage previous()
{
    return roundButton([](QPainter &p) { p.drawPolyline(QPolygonF({{14, 30}, {25, 19}, {36, 30}})); });
}

QImage next()
{
    return roundButton([](QPainter &p) { p.drawPolyline(QPolygonF({{14, 20}, {25, 31}, {36, 20}})); });
}

QImage pageChange()
{
    return drawn(32, 32, [&](QPainter &p) {
        p.setPen(QPen(kWhite, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(5, 10), QPointF(26, 10));
        p.drawPolyline(QPolygonF({{20, 4}, {26, 10}, {20, 16}}));
        p.drawLine(QPointF(6, 22), QPointF(27, 22));
        p.drawPolyline(QPolygonF({{12, 16}, {6, 22}, {12, 28}}));
    });
}

QImage checkBox(bool checked)
{
    return drawn(32, 32, [&](QPainter &p) {
        const QRectF box(4, 4, 24, 24);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawRoundedRect(box, 4, 4);
            p.setPen(QPen(kWhite, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({{9.5, 16}, {14, 20.5}, {22.5, 11}}));
        } else {
            p.setPen(QPen(kWhite, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 4, 4);
        }
    });
}

QImage toggle(bool on)
{
    return drawn(70, 32, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(on ? kGreen : kGrey);
        p.drawRoundedRect(QRectF(2, 3, 66, 26), 13, 13);
        p.setBrush(kWhite);
        p.drawEllipse(QRectF(on ? 43 : 5, 6, 20, 20));
        p.setFont(font(11));
        p.setPen(kWhite);
        if (on)
            p.drawText(QRectF(8, 3, 34, 26), Qt::AlignCenter, QStringLiteral("ON"));
        else
            p.drawText(QRectF(27, 3, 38, 26), Qt::AlignCenter, QStringLiteral("OFF"));
    });
}

QImage stateDot(bool on)
{
    return drawn(14, 14, [&](QPainter &p) {
        if (on) {
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawEllipse(QRectF(0.5, 0.5, 13, 13));
        } else {
            p.setPen(QPen(kGrey, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(1.5, 1.5, 11, 11));
        }
    });
}

QImage warning()
{
    return drawn(24, 24, [&](QPainter &p) {
        p.setPen(QPen(kOrange, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(kOrange);
        p.drawPolygon(QPolygonF({{12, 2.5}, {22.5, 21}, {1.5, 21}}));
        p.setPen(QPen(kBack, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 9), QPointF(12, 14.5));
        p.drawPoint(QPointF(12, 18));
    });
}

// Font present / missing: a check or a cross on a small plate (opaque bitmap).
QImage osdMark(bool yes)
{
    return drawn(40, 21, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(yes ? kGreen : kRed);
        p.drawRoundedRect(QRectF(1, 1, 38, 19), 5, 5);
        p.setPen(QPen(kWhite, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (yes) {
            p.drawPolyline(QPolygonF({{13, 10.5}, {18, 15}, {27, 6}}));
        } else {
            p.drawLine(QPointF(15, 5.5), QPointF(25, 15.5));
            p.drawLine(QPointF(25, 5.5), QPointF(15, 15.5));
        }
    }, kBack, QImage::Format_RGB32);
}

// The tip's confirmation picture.
QImage tipOk()
{
    return drawn(96, 96, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QRectF(4, 4, 88, 88));
        p.setPen(QPen(kWhite, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{27, 50}, {42, 65}, {70, 34}}));
    });
}

QImage padlock(bool locked)
{
    return drawn(48, 48, [&](QPainter &p) {
        const QColor c = locked ? kWhite : kGreen;
        p.setPen(QPen(c, 4.5, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath shackle;
        shackle.moveTo(15, 22);
        shackle.lineTo(15, 15);
        shackle.arcTo(QRectF(15, 4, 18, 20), 180, -180);
        if (locked)
            shackle.lineTo(33, 22);
        else
            shackle.lineTo(33, 12);
        if (!locked) {   // shackle swung open: shift it up
            QTransform t;
            t.translate(0, -3);
            shackle = t.map(shackle);
        }
        p.drawPath(shackle);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(9, 21, 30, 23), 4, 4);
        p.setBrush(kBack);
        p.drawEllipse(QRectF(21, 27, 6, 6));
        p.drawRect(QRectF(22.5, 31, 3, 7));
    });
}

// ---- connectors ----

enum Look { Plain, Lit, Grey };

QColor lookColour(Look look) { return look == Lit ? kGreen : look == Grey ? kGrey : kWhite; }

void hdmiShape(QPainter &p, const QRectF &r, Look look)
{
    const qreal cut = r.height() * 0.4;
    QPolygonF body({r.topLeft(), r.topRight(), {r.right(), r.bottom() - cut}, {r.right() - cut, r.bottom()},
                    {r.left() + cut, r.bottom()}, {r.left(), r.bottom() - cut}});
    const QColor c = lookColour(look);
    p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(look == Lit ? QColor(c.red(), c.green(), c.blue(), 70) : QColor(Qt::transparent));
    p.drawPolygon(body);
    // the tongue with its contacts
    const QRectF tongue(r.left() + r.width() * 0.16, r.top() + r.height() * 0.28, r.width() * 0.68,
                        r.height() * 0.26);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(tongue);
}

QImage hdmi(Look look, const QString &tag)
{
    return drawn(100, 32, [&](QPainter &p) {
        const qreal w = tag.isEmpty() ? 64 : 56;
        const qreal x = tag.isEmpty() ? (100 - w) / 2 : 6;
        hdmiShape(p, QRectF(x, 5, w, 22), look);
        if (!tag.isEmpty()) {
            p.setFont(font(15));
            p.setPen(lookColour(look));
            p.drawText(QRectF(64, 0, 36, 32), Qt::AlignCenter, tag);
        }
    });
}

QImage dvi(Look look)
{
    return drawn(100, 32, [&](QPainter &p) {
        const QColor c = lookColour(look);
        const QRectF r(6, 4, 88, 24);
        const qreal cut = 7;
        QPolygonF body({r.topLeft(), r.topRight(), {r.right(), r.bottom() - cut}, {r.right() - cut, r.bottom()},
                        {r.left() + cut, r.bottom()}, {r.left(), r.bottom() - cut}});
        p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(look == Lit ? QColor(c.red(), c.green(), c.blue(), 70) : QColor(Qt::transparent));
        p.drawPolygon(body);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 8; ++col)
                p.drawEllipse(QPointF(16 + col * 7.5, 10 + row * 6), 1.8, 1.8);
        // the flat blade with its four pins
        p.drawRect(QRectF(75, 15, 12, 2.4));
        for (const QPointF &pin : {QPointF(77, 11), QPointF(85, 11), QPointF(77, 21), QPointF(85, 21)})
            p.drawEllipse(pin, 1.6, 1.6);
    });
}

// An RJ45-style output port.
QImage port(bool online)
{
    return drawn(32, 28, [&](QPainter &p) {
        const QColor c = online ? kGreen : kGrey;
        QPolygonF socket({{3, 3}, {29, 3}, {29, 20}, {21, 20}, {21, 25}, {11, 25}, {11, 20}, {3, 20}});
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(online ? QColor(c.red(), c.green(), c.blue(), 90) : QColor(Qt::transparent));
        p.drawPolygon(socket);
        p.setPen(QPen(online ? kWhite : c, 1.4));
        for (int i = 0; i < 8; ++i)
            p.drawLine(QPointF(7.5 + i * 2.4, 6), QPointF(7.5 + i * 2.4, 11));
    });
}

// ---- window mirror: an "F" as the picture would be turned ----

QImage mirror(int mode, bool on)
{
    return drawn(48, 48, [&](QPainter &p) {
        p.setPen(on ? Qt::NoPen : QPen(kGrey, 1.5));
        p.setBrush(on ? kBlue : kPanel);
        p.drawRoundedRect(QRectF(1.5, 1.5, 45, 45), 7, 7);

        const QColor ink = on ? kWhite : QColor(0x9A, 0x9E, 0xB0);
        // axes of the flip
        p.setPen(QPen(ink, 1.2, Qt::DashLine));
        if (mode == 1 || mode == 3)
            p.drawLine(QPointF(24, 6), QPointF(24, 42));
        if (mode == 2 || mode == 3)
            p.drawLine(QPointF(6, 24), QPointF(42, 24));

        QPainterPath f;   // "F" in a 20 x 28 box centred on the icon
        f.addRect(QRectF(-10, -14, 6, 28));
        f.addRect(QRectF(-4, -14, 14, 6));
        f.addRect(QRectF(-4, -3, 10, 5));
        QTransform t;
        t.translate(24, 24);
        t.scale(mode == 1 || mode == 3 ? -1 : 1, mode == 2 || mode == 3 ? -1 : 1);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(t.map(f));
    });
}

// ---- routing of the receiving cards ----

// Chain order of the cabinets on a rows x cols grid (row 0 at the top).
QVector<QPoint> routing(int pattern, int rows, int cols)
{
    QVector<QPoint> order;   // x = column, y = row
    auto byRows = [&](bool fromTop, bool firstLeftToRight, bool snake) {
        for (int i = 0; i < rows; ++i) {
            const int r = fromTop ? i : rows - 1 - i;
            const bool ltr = snake ? (firstLeftToRight == (i % 2 == 0)) : firstLeftToRight;
            for (int j = 0; j < cols; ++j)
                order.append(QPoint(ltr ? j : cols - 1 - j, r));
        }
    };
    auto byCols = [&](bool fromLeft, bool firstTopToBottom, bool snake) {
        for (int i = 0; i < cols; ++i) {
            const int c = fromLeft ? i : cols - 1 - i;
            const bool ttb = snake ? (firstTopToBottom == (i % 2 == 0)) : firstTopToBottom;
            for (int j = 0; j < rows; ++j)
                order.append(QPoint(c, ttb ? j : rows - 1 - j));
        }
    };
    switch (pattern) {
    case 1: byRows(false, false, true); break;
    case 2: byRows(false, true, true); break;
    case 3: byRows(true, false, true); break;
    case 4: byRows(true, true, true); break;
    case 5: byCols(false, false, true); break;
    case 6: byCols(false, true, true); break;
    case 7: byCols(true, true, true); break;
    case 8: byCols(true, false, true); break;
    case 9: byRows(false, false, false); break;
    case 10: byRows(true, true, false); break;
    case 11: byRows(false, true, false); break;
    case 12: byRows(true, false, false); break;
    case 13: byCols(false, false, false); break;
    case 14: byCols(true, true, false); break;
    case 15: byCols(true, false, false); break;
    case 16: byCols(false, true, false); break;
    default: break;
    }
    return order;
}

QImage line(int pattern)
{
    const int n = 3;
    const qreal cell = 14, gap = 2, origin = 1;
    return drawn(48, 48, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kDim);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c)
                p.drawRect(QRectF(origin + c * (cell + gap), origin + r * (cell + gap), cell, cell));

        const QVector<QPoint> order = routing(pattern, n, n);
        auto centre = [&](const QPoint &q) {
            return QPointF(origin + q.x() * (cell + gap) + cell / 2, origin + q.y() * (cell + gap) + cell / 2);
        };
        for (int i = 1; i < order.size(); ++i) {
            const QPoint d = order[i] - order[i - 1];
            const bool step = d.manhattanLength() == 1;
            p.setPen(step ? QPen(kBlue, 2.6, Qt::SolidLine, Qt::RoundCap)
                          : QPen(kWhite, 1.2, Qt::DashLine, Qt::RoundCap));
            p.drawLine(centre(order[i - 1]), centre(order[i]));
        }
        // start dot and the arrow head at the end
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(centre(order.first()), 3.5, 3.5);
        const QPointF end = centre(order.last());
        const QPointF dir = end - centre(order[order.size() - 2]);
        const qreal len = std::sqrt(dir.x() * dir.x() + dir.y() * dir.y());
        const QPointF u = dir / len, v(-u.y(), u.x());
        p.setBrush(kWhite);
        p.drawPolygon(QPolygonF({end + u * 5, end - u * 4 + v * 4.5, end - u * 4 - v * 4.5}));
    });
}

// ---- test patterns ----

QImage testPattern(int k)
{
    QImage img(100, 100, QImage::Format_RGB32);
    QPainter p(&img);
    switch (k) {
    case 1: img.fill(QColor(255, 0, 0)); break;
    case 2: img.fill(QColor(0, 255, 0)); break;
    case 3: img.fill(QColor(0, 0, 255)); break;
    case 4: img.fill(QColor(255, 255, 255)); break;
    case 5: img.fill(QColor(0, 0, 0)); break;
    case 6: {
        const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue, Qt::black};
        for (int i = 0; i < 8; ++i)
            p.fillRect(QRect(i * 100 / 8, 0, (i + 1) * 100 / 8 - i * 100 / 8, 100), bars[i]);
        break;
    }
    case 7:
        img.fill(Qt::black);
        for (int y = 4; y < 100; y += 8)
            p.fillRect(QRect(0, y, 100, 2), Qt::white);
        break;
    case 8:
        img.fill(Qt::black);
        for (int x = 4; x < 100; x += 8)
            p.fillRect(QRect(x, 0, 2, 100), Qt::white);
        break;
    default: break;
    }
    return img;
}

// ---- splice of the two outputs ----

void outBox(QPainter &p, const QRectF &r, const QColor &c, const QString &text)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(r);
    p.setPen(kWhite);
    p.setFont(font(qMin<qreal>(13, r.height() * 0.45)));
    p.drawText(r, Qt::AlignCenter, text);
}

QImage outSplice(int kind)   // 0 side by side, 1 one above the other, 2 copy
{
    const QSize sz = kind == 0 ? QSize(180, 40) : kind == 1 ? QSize(100, 80) : QSize(100, 40);
    return drawn(sz.width(), sz.height(), [&](QPainter &p) {
        const QRectF all(3, 3, sz.width() - 6, sz.height() - 6);
        if (kind == 0) {
            outBox(p, QRectF(all.left(), all.top(), all.width() / 2 - 1, all.height()), kBlue, QStringLiteral("OUT1"));
            outBox(p, QRectF(all.center().x() + 1, all.top(), all.width() / 2 - 1, all.height()), kGreen,
                   QStringLiteral("OUT2"));
        } else if (kind == 1) {
            outBox(p, QRectF(all.left(), all.top(), all.width(), all.height() / 2 - 1), kBlue, QStringLiteral("OUT1"));
            outBox(p, QRectF(all.left(), all.center().y() + 1, all.width(), all.height() / 2 - 1), kGreen,
                   QStringLiteral("OUT2"));
        } else {
            outBox(p, QRectF(3, 3, 40, 34), kBlue, QStringLiteral("1"));
            outBox(p, QRectF(57, 3, 40, 34), kGreen, QStringLiteral("2"));
            p.setPen(QPen(kWhite, 2.5));
            p.drawLine(QPointF(45, 16), QPointF(55, 16));
            p.drawLine(QPointF(45, 24), QPointF(55, 24));
        }
        p.setPen(QPen(kWhite, 1));
        p.setBrush(Qt::NoBrush);
        if (kind != 2)
            p.drawRect(all.adjusted(-1, -1, 1, 1));
    }, kBack);
}

// ---- section pictures of the status page: text running down a blue bar ----

QImage section(int height, const QString &text)
{
    return drawn(30, height, [&](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(1, 1, 28, height - 2), 5, 5);
        p.setPen(kWhite);
        if (isCjk(text)) {
            // one character under the other
            QFont f = font(18, true, true);
            const qreal step = qMin<qreal>(22, (height - 8) / qreal(text.size()));
            f.setPixelSize(qMin(18, int(step) - 1));
            p.setFont(f);
            const qreal top = (height - step * text.size()) / 2;
            for (int i = 0; i < text.size(); ++i)
                p.drawText(QRectF(0, top + i * step, 30, step), Qt::AlignCenter, text.mid(i, 1));
        } else {
            // turned, reading upwards
            qreal px = 16;
            QFont f = font(px);
            while (px > 7 && QFontMetricsF(f).horizontalAdvance(text) > height - 10)
                f = font(--px);
            p.setFont(f);
            p.translate(15, height / 2.0);
            p.rotate(-90);
            p.drawText(QRectF(-height / 2.0, -15, height, 30), Qt::AlignCenter, text);
        }
    });
}

struct Picture
{
    QString name;
    std::function<QImage()> draw;
};

QVector<Picture> pictures()
{
    QVector<Picture> list;
    auto add_ = [&](const QString &name, std::function<QImage()> draw) { list.append({name, std::move(draw)}); };

    add_("back.png", back);
    add_("add.png", add);
    add_("menu.png", menu);
    add_("previous.png", previous);
    add_("next.png", next);
    add_("page_change.png", pageChange);
    add_("checked.png", [] { return checkBox(true); });
    add_("unchecked.png", [] { return checkBox(false); });
    add_("button_on.png", [] { return toggle(true); });
    add_("button_off.png", [] { return toggle(false); });
    add_("state_on.png", [] { return stateDot(true); });
    add_("state_off.png", [] { return stateDot(false); });
    add_("warning.png", warning);
    add_("online.png", [] { return port(true); });
    add_("offline.png", [] { return port(false); });
    add_("osd_yes.bmp", [] { return osdMark(true); });
    add_("osd_no.bmp", [] { return osdMark(false); });
    add_("tip_ok.png", tipOk);
    add_("lock.png", [] { return padlock(true); });
    add_("unlock.png", [] { return padlock(false); });

    // inputs: white without a signal (input choice), green with one, grey on the status page
    add_("HDMI.png", [] { return hdmi(Plain, QString()); });
    add_("extlv.png", [] { return hdmi(Lit, QString()); });
    add_("exthui.png", [] { return hdmi(Grey, QString()); });
    add_("HDMI13.png", [] { return hdmi(Plain, QStringLiteral("1.3")); });
    add_("HDMI13_lv.png", [] { return hdmi(Lit, QStringLiteral("1.3")); });
    add_("HDMI13_hui.png", [] { return hdmi(Grey, QStringLiteral("1.3")); });
    add_("HDMI20.png", [] { return hdmi(Plain, QStringLiteral("2.0")); });
    add_("HDMI20_lv.png", [] { return hdmi(Lit, QStringLiteral("2.0")); });
    add_("HDMI20_hui.png", [] { return hdmi(Grey, QStringLiteral("2.0")); });
    add_("DVI.png", [] { return dvi(Plain); });
    add_("dvilv.png", [] { return dvi(Lit); });
    add_("dvihui.png", [] { return dvi(Grey); });

    for (int m = 1; m <= 4; ++m) {
        add_(QStringLiteral("mirror%1_on.png").arg(m), [m] { return mirror(m - 1, true); });
        add_(QStringLiteral("mirror%1_off.png").arg(m), [m] { return mirror(m - 1, false); });
    }
    for (int n = 1; n <= 16; ++n)
        add_(QStringLiteral("line%1.png").arg(n), [n] { return line(n); });
    for (int k = 1; k <= 8; ++k)
        add_(QStringLiteral("img_test%1.png").arg(k), [k] { return testPattern(k); });

    add_("out_horizontal.png", [] { return outSplice(0); });
    add_("out_vertical.png", [] { return outSplice(1); });
    add_("out_copy.png", [] { return outSplice(2); });

    // status page sections, one per language prefix: zh, ru, vn, zh-TW, en
    struct Section
    {
        const char *name;
        int height;
        const char *text[5];
    };
    const char *prefixes[5] = {"", "ru_", "vn_", "tn_", "en_"};
    const Section sections[] = {
        {"output_state", 130, {"输出", "Выходы", "Đầu ra", "輸出", "OUTPUT"}},
        {"input_state", 110, {"输入", "Входы", "Đầu vào", "輸入", "INPUT"}},
        {"version_state", 80, {"版本", "Версия", "Phiên bản", "版本", "VERSION"}},
    };
    for (const Section &s : sections)
        for (int l = 0; l < 5; ++l) {
            const QString text = QString::fromUtf8(s.text[l]);
            const int h = s.height;
            add_(QString::fromLatin1(prefixes[l]) + QString::fromLatin1(s.name) + ".png",
                 [h, text] { return section(h, text); });
        }
    return list;
}

bool writeQrc(const QString &pngDir, const QStringList &names)
{
    const QString dirName = QFileInfo(pngDir).fileName();
    QSaveFile f(QFileInfo(pngDir).absolutePath() + "/resources.qrc");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&f);
    out << "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/png\">\n";
    for (const QString &n : names)
        out << "    <file alias=\"" << n << "\">" << dirName << '/' << n << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return f.commit();
}

}

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpng <png folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    QStringList names;
    for (const Picture &pic : pictures()) {
        const QImage img = pic.draw();
        const bool bmp = pic.name.endsWith(QLatin1String(".bmp"));
        const QString path = dir + '/' + pic.name;
        const bool ok = bmp ? img.convertToFormat(QImage::Format_RGB888).save(path, "BMP")
                            : img.convertToFormat(QImage::Format_ARGB32).save(path, "PNG", 0);
        if (!ok) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        names << pic.name;
    }
    names.sort();
    if (!writeQrc(dir, names)) {
        std::fprintf(stderr, "cannot write resources.qrc\n");
        return 1;
    }
    std::printf("%d pictures in %s\n", int(names.size()), qPrintable(dir));
    return 0;
}
