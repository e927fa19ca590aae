#include "ui/shell/text_fit.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPaintDevice>
#include <QTextBoundaryFinder>
#include <climits>
#include <cmath>

namespace {
constexpr int kTall = 1 << 20;
constexpr int kCacheSize = 1024;

QFontMetrics metrics(const QFont &font, QPaintDevice *device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

// The size QPainter::drawText gives `text` in a rectangle `width` wide.
QSize extent(const QFont &font, QPaintDevice *device, int flags, const QString &text, int width = kTall)
{
    return metrics(font, device).boundingRect(QRect(0, 0, width, kTall), flags, text).size();
}

bool fits(const QFont &font, QPaintDevice *device, const QRect &rect, int flags, const QString &text)
{
    const QSize s = extent(font, device, flags, text, rect.width());
    if (s.width() > rect.width())
        return false;
    // lines after the first (the text's own or the widget's wrapping) must fit too
    return s.height() <= std::max(rect.height(), extent(font, device, 0, QStringLiteral("X")).height());
}

qreal pixels(const QFont &font, QPaintDevice *device)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    if (!device)
        return QFontInfo(font).pixelSize();
    return font.pointSizeF() * device->logicalDpiY() / 72.0;
}

QString chop_spaces(QString s)
{
    while (!s.isEmpty() && s.back().isSpace())
        s.chop(1);
    return s;
}

QString drop_spaces(QString s)
{
    int i = 0;
    while (i < s.size() && s.at(i).isSpace())
        ++i;
    return s.mid(i);
}

// A word broken between two letters of an alphabet takes a hyphen.
bool hyphenated(QChar before, QChar after)
{
    auto alphabet = [](QChar c) {
        return c.isLetter() && (c.script() == QChar::Script_Latin || c.script() == QChar::Script_Cyrillic ||
                                c.script() == QChar::Script_Greek);
    };
    return alphabet(before) && alphabet(after);
}

// Where a word may be broken: two letters kept on each side, and a soft or
// hard sign or short i stays with the letter before it.
bool word_break(const QString &text, int at)
{
    if (at < 2 || at > text.size() - 2)
        return false;
    static const QString tied = QString::fromUtf8("ьъйЬЪЙ");
    return !tied.contains(text.at(at));
}

// The text on two lines, broken where the longer line is shortest: between
// words, or (`inWords`) only inside one; empty when no break makes both
// lines fit the rectangle.
QString two_lines(const QFont &font, QPaintDevice *device, const QRect &rect, int flags, const QString &text,
                  bool inWords)
{
    const int oneLine = flags & ~Qt::TextWordWrap;
    QTextBoundaryFinder lineBreaks(QTextBoundaryFinder::Line, text);
    QTextBoundaryFinder breaks(inWords ? QTextBoundaryFinder::Grapheme : QTextBoundaryFinder::Line, text);
    int bestWidth = INT_MAX;
    QString best;
    for (int at = breaks.toNextBoundary(); at > 0 && at < text.size(); at = breaks.toNextBoundary()) {
        if (inWords) {
            lineBreaks.setPosition(at);
            if (lineBreaks.isAtBoundary() || !word_break(text, at))
                continue;
        }
        QString first = chop_spaces(text.left(at));
        const QString second = drop_spaces(text.mid(at));
        if (first.isEmpty() || second.isEmpty())
            continue;
        if (inWords && hyphenated(first.back(), second.front()))
            first += QLatin1Char('-');
        const int w = std::max(extent(font, device, oneLine, first).width(),
                               extent(font, device, oneLine, second).width());
        if (w < bestWidth) {
            bestWidth = w;
            best = first + QLatin1Char('\n') + second;
        }
    }
    if (best.isEmpty() || bestWidth > rect.width() || extent(font, device, oneLine, best).height() > rect.height())
        return QString();
    return best;
}

TextFit compute(const QFont &font, QPaintDevice *device, const QRect &rect, int flags, const QString &text)
{
    TextFit r;
    r.text = text;
    r.font = font;
    r.available = rect.width();
    r.available_height = rect.height();
    if (text.isEmpty())
        return r;
    r.needed = extent(font, device, flags & ~Qt::TextWordWrap, text).width();
    r.needed_height = extent(font, device, flags, text, rect.width()).height();
    if (fits(font, device, rect, flags, text))
        return r;
    r.changed = true;
    const bool ownLines = (flags & Qt::TextWordWrap) || text.contains(QLatin1Char('\n'));
    const int below = int(std::ceil(pixels(font, device))) - 1;
    QFont f = font;
    // Words kept whole at every size first; then a word broken in two.
    for (bool inWords : {false, true}) {
        if (inWords && ownLines)
            break;
        f = font;
        for (int px = below;; --px) {
            if (!ownLines) {
                const QString two = two_lines(f, device, rect, flags, text, inWords);
                if (!two.isEmpty()) {
                    r.text = two;
                    r.font = f;
                    return r;
                }
            }
            if (px < TextFit::kMinPixels)
                break;
            f.setPixelSize(px);
            if (!inWords && fits(f, device, rect, flags, text)) {
                r.font = f;
                return r;
            }
        }
    }
    r.font = f;
    r.fits = false;
    return r;
}
}

TextFit TextFit::fit(const QFont &font, QPaintDevice *device, const QRect &rect, int flags, const QString &text)
{
    // Painting asks for the same few texts over and over.
    static QHash<QString, TextFit> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4|%5|")
                            .arg(font.key())
                            .arg(device ? device->logicalDpiY() : 0)
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(flags) +
                        text;
    const auto hit = cache.constFind(key);
    if (hit != cache.constEnd())
        return *hit;
    if (cache.size() >= kCacheSize)
        cache.clear();
    const TextFit r = compute(font, device, rect, flags, text);
    cache.insert(key, r);
    return r;
}
