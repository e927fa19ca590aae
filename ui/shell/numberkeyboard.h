#ifndef QEL_UI_SHELL_NUMBERKEYBOARD_H
#define QEL_UI_SHELL_NUMBERKEYBOARD_H

#include <QDialog>
#include <QString>

namespace Ui {
class NumberKeyboard;
}

// The shared number keypad on the right-hand 380 x 480 of the panel.
class NumberKeyboard : public QDialog
{
    Q_OBJECT
public:
    explicit NumberKeyboard(QWidget *parent = nullptr);
    ~NumberKeyboard() override;

    // Title (18 px for exactly 4 characters, else 25 px), the current value,
    // an empty entry, and the keys labelled in the current language.
    void label_show(QString title, QString value);
    QString typed() const { return m_typed; }

signals:
    // OK: what was typed ("" when nothing or all deleted).
    void sendKeyBoardUIDataToLineEdit(QString text);

private slots:
    void digitClicked();
    void on_Button_del_clicked();
    void on_Button_ok_clicked();
    void on_Button_close_clicked();

private:
    void language_changed();
    void show_entry();

    Ui::NumberKeyboard *ui;
    QString m_typed;
};

#endif
