#ifndef QEL_UI_SHELL_QROUNDPROGRESSBAR_H
#define QEL_UI_SHELL_QROUNDPROGRESSBAR_H

#include <QDialog>
#include <QWidget>

// The one progress ring of a receiving-card job, 200 x 200 at (300, 140)
// on the screen that started it. g_qround_bar points to it while it shows.
class QRoundProgressBar : public QWidget
{
    Q_OBJECT
public:
    // Creates the ring on parent when none exists; otherwise does nothing.
    static void create_qround_bar(QDialog *parent);
    int value() const { return m_value; }

public slots:
    // Above 99 closes (deleteLater) the ring and clears g_qround_bar;
    // otherwise shows the value. Ignored while g_qround_bar is null.
    void para_sync(int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    explicit QRoundProgressBar(QWidget *parent);
    ~QRoundProgressBar() override;
    int m_value = 0;
};

#endif
