#include "ui/shell/numberkeyboard.h"

#include <QFont>
#include <QPushButton>

#include "ui/shell/panel_text.h"
#include "ui_numberkeyboard.h"

namespace {
// Longest entry: a decimal that still fits an int.
constexpr int kMaxDigits = 9;
}

NumberKeyboard::NumberKeyboard(QWidget *parent) : QDialog(parent), ui(new Ui::NumberKeyboard)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QPushButton *digits[] = {ui->Button_0, ui->Button_1, ui->Button_2, ui->Button_3, ui->Button_4,
                             ui->Button_5, ui->Button_6, ui->Button_7, ui->Button_8, ui->Button_9};
    for (QPushButton *b : digits)
        connect(b, &QPushButton::clicked, this, &NumberKeyboard::digitClicked);
    language_changed();
}

NumberKeyboard::~NumberKeyboard() { delete ui; }

void NumberKeyboard::label_show(QString title, QString value)
{
    QFont f = ui->label_title->font();
    f.setPixelSize(title.size() == 4 ? 18 : 25);
    ui->label_title->setFont(f);
    ui->label_title->setText(title);
    m_typed.clear();
    ui->label_value->setText(value);
    language_changed();
}

void NumberKeyboard::digitClicked()
{
    const QObject *b = sender();
    if (!b || m_typed.size() >= kMaxDigits)
        return;
    const QString name = b->objectName();   // "Button_<d>"
    const QChar d = name.isEmpty() ? QChar() : name.back();
    if (!d.isDigit())
        return;
    m_typed.append(d);
    show_entry();
}

void NumberKeyboard::on_Button_del_clicked()
{
    if (m_typed.isEmpty())
        return;
    m_typed.chop(1);
    show_entry();
}

void NumberKeyboard::on_Button_ok_clicked()
{
    const QString text = m_typed;
    emit sendKeyBoardUIDataToLineEdit(text);
    hide();
}

void NumberKeyboard::on_Button_close_clicked() { hide(); }

// From the first key on, the value line shows exactly what OK would send.
void NumberKeyboard::show_entry() { ui->label_value->setText(m_typed); }

void NumberKeyboard::language_changed()
{
    ui->Button_del->setText(PanelText{"删除", "Delete", "Удалить", "Xóa", "刪除"}.text());
    ui->Button_ok->setText(PanelText{"确定", "OK", "ОК", "OK", "確定"}.text());
    ui->Button_close->setText(PanelText{"关闭", "Close", "Закрыть", "Đóng", "關閉"}.text());
}
