#ifndef QEL_UI_SHELL_MY_LINEEDIT_H
#define QEL_UI_SHELL_MY_LINEEDIT_H

#include <QLineEdit>

// A number field: a press asks the screen to open the keypad.
class My_lineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit My_lineEdit(QWidget *parent = nullptr);

signals:
    void send_show(QString text);

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

#endif
