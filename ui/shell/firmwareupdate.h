#ifndef QEL_UI_SHELL_FIRMWAREUPDATE_H
#define QEL_UI_SHELL_FIRMWAREUPDATE_H

#include <QWidget>

// The full-panel overlay shown while a USB upgrade installs.
class FirmwareUpdate : public QWidget
{
    Q_OBJECT
public:
    explicit FirmwareUpdate(QWidget *parent = nullptr);
    void language_changed();

protected:
    void paintEvent(QPaintEvent *event) override;
};

#endif
