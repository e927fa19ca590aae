#include "ui/input/input_tiles.h"

#include <QFont>
#include <QFrame>
#include <QLabel>

#include "core/param_view.h"
#include "core/qelrampara.h"
#include "ui/input/inputchoose.h"

const InputColumn INPUT_COLUMNS[6] = {
    {2, "HDMI1", ":/png/HDMI13.png"}, {3, "HDMI2", ":/png/HDMI13.png"}, {4, "HDMI3", ":/png/HDMI20.png"},
    {5, "HDMI4", ":/png/HDMI20.png"}, {1, "DVI", ":/png/DVI.png"},       {0, "EXT", ":/png/HDMI.png"},
};

const PanelText TEXT_WIDTH{"宽", "W", "Ширина", "Rộng", "寬"};
const PanelText TEXT_HEIGHT{"高", "H", "Высота", "Cao", "高"};
const PanelText TEXT_CANCEL{"取消", "Cancle", "Отмена", "Hủy bỏ", "取消"};
const PanelText TEXT_DELETE{"删除", "Delete", "Удалить", "Xoá bỏ", "删除"};
const PanelText KEYPAD_WIDTH{"宽", "W", "W", "W", "寬"};

namespace {
const PanelText kNoSignal{"无信号", "No signal", "Нет сигнала", "Không có tín hiệu", "無信號"};
const char kTileText[] = "background-color:#212435;color:#FFFFFF";
}

void make_flat(QPushButton *button)
{
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setStyleSheet(QStringLiteral("background-color: transparent;border:none;"));
}

QFrame *setup_input_row(QWidget *dialog, QPushButton *back, QLabel *const (&icons)[6])
{
    set_back_icon(back);
    make_flat(back);
    for (int i = 0; i < 6; ++i)
        set_picture(icons[i], QLatin1String(INPUT_COLUMNS[i].icon));
    QFrame *f = new QFrame(dialog);
    f->setObjectName(QStringLiteral("input_highlight"));
    f->setStyleSheet(QStringLiteral("border:1px solid;border-left-color:rgb(71, 119, 255);"
                                    "                                     border-right-color:rgb(71, 119, 255);"
                                    "                                     border-top-color:rgb(71, 119, 255);"));
    place_input_highlight(f, 0);
    f->lower();
    return f;
}

void place_input_highlight(QFrame *highlight, int column)
{
    highlight->setGeometry(20 + 130 * column, 68, 120, 85);
}

int sender_number(const QObject *sender, int count)
{
    bool ok = false;
    const int n = sender ? sender->objectName().toInt(&ok) : -1;
    return ok && n >= 0 && n < count ? n : -1;
}

QFrame *make_tile_area(QWidget *dialog)
{
    QFrame *area = new QFrame(dialog);
    area->setObjectName(QStringLiteral("frame_source"));
    area->setGeometry(20, 152, 770, 240);
    area->setStyleSheet(QStringLiteral("#frame_source{border:1px solid rgb(71, 119, 255);}"));
    area->lower();
    return area;
}

SourceTile add_source_tile(QFrame *area, int i, int x, int y, bool dvi, const QFont &font)
{
    QFrame *frame = new QFrame(area);
    frame->setObjectName(QStringLiteral("tile_%1").arg(i));
    frame->setGeometry(x + 10, y + 15, 220, 90);
    frame->setStyleSheet(QStringLiteral("background-color: #212435;border:1px solid #CCCCCC;"));

    QLabel *dot = new QLabel(area);
    dot->setObjectName(QStringLiteral("dot_%1").arg(i));
    dot->setGeometry(x + 20, y + 25, 14, 14);
    dot->setStyleSheet(QStringLiteral("background-color:#00D65B;border:0px groove gray;border-radius:7px;"));

    QLabel *icon = new QLabel(area);
    icon->setObjectName(QStringLiteral("icon_%1").arg(i));
    icon->setGeometry(x + 39, y + 20, 63, 24);
    icon->setStyleSheet(QStringLiteral("background-color: #212435;"));
    set_picture(icon, dvi ? QStringLiteral(":/png/DVI.png") : QStringLiteral(":/png/HDMI.png"));

    SourceTile t;
    t.name = new QLabel(area);
    t.name->setObjectName(QStringLiteral("name_%1").arg(i));
    t.name->setGeometry(x + 20, y + 44, 172, 28);
    t.size = new QLabel(area);
    t.size->setObjectName(QStringLiteral("size_%1").arg(i));
    t.size->setGeometry(x + 20, y + 72, 172, 28);
    for (QLabel *l : {t.name, t.size}) {
        l->setFont(font);
        l->setStyleSheet(QLatin1String(kTileText));
        l->setTextFormat(Qt::PlainText);
    }

    t.button = new QPushButton(area);
    t.button->setObjectName(QString::number(i));
    make_flat(t.button);
    t.button->setGeometry(x + 11, y + 16, 218, 88);
    return t;
}

QPushButton *add_area_button(QFrame *area, const char *name, int y, const char *icon)
{
    QPushButton *b = new QPushButton(area);
    b->setObjectName(QLatin1String(name));
    make_flat(b);
    b->setGeometry(715, y, 50, 50);
    set_icon(b, QLatin1String(icon), 50);
    return b;
}

QPushButton *make_form_button(QWidget *dialog, const char *name, const QFont &font)
{
    QPushButton *b = new QPushButton(dialog);
    b->setObjectName(QLatin1String(name));
    b->setFont(font);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    b->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);font:20px"));
    b->resize(180, 60);
    b->hide();
    return b;
}

void FormButtons::hide() const
{
    cancel->hide();
    ok->hide();
    del->hide();
}

void take_keypad_entry(const QWidget *screen, const QString &text)
{
    My_lineEdit *field = own_keypad_field(screen);
    if (field && field_number(text).ok)
        field->setText(text);
}

bool return_to_input_choice()
{
    if (!g_inputchoose)
        return false;
    g_inputchoose->language_changed();
    g_page_focus = PAGE_INPUT_CHOICE;
    g_inputchoose->reload();
    return true;
}

QString input_timing_text(int slot)
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p) {
        const InputTimingView t(p->ram_para, slot);
        if (t.hasSignal())
            return QString::asprintf("%dx%d@%dHz", t.width(), t.height(), t.rate());
    }
    return kNoSignal.text();
}

KeypadNumber field_number(const QString &text) { return keypad_number(text, 0, 65535, EmptyEntry::Zero); }
