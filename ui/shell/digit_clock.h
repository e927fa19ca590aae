#ifndef QEL_UI_SHELL_DIGIT_CLOCK_H
#define QEL_UI_SHELL_DIGIT_CLOCK_H

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>

// The home screen's clock: a text such as "12:34:56" centred in the widget,
// in its font and foreground colour, as a label would draw it. Each
// character is drawn once into a picture at the panel's resolution, the
// text is composed of those pictures, and a new text repaints only the
// characters that changed.
class DigitClock : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit DigitClock(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Metrics
    {
        QRect area;       // of its picture, around its origin on the baseline
        qreal advance = 0;
    };
    const Metrics &metrics(QChar c);
    const QPixmap &picture(QChar c);
    QVector<QRect> layout(const QString &text);   // a rectangle per character

    QString m_text;
    QVector<QRect> m_rects;
    QHash<QChar, Metrics> m_metrics;
    QHash<QChar, QPixmap> m_pictures;
    QColor m_color;    // of the pictures
    qreal m_dpr = 0;   // of the pictures
};

#endif
