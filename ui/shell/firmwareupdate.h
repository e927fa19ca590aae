#ifndef QEL_UI_SHELL_FIRMWAREUPDATE_H
#define QEL_UI_SHELL_FIRMWAREUPDATE_H

#include <QString>
#include <QWidget>

// The full-panel overlay shown while a USB upgrade installs.
class FirmwareUpdate : public QWidget
{
    Q_OBJECT
public:
    explicit FirmwareUpdate(QWidget *parent = nullptr);
    void language_changed();
    QString text() const { return m_text; }   // the message shown

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

#endif
