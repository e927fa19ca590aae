#include "ui/input/input_tiles.h"

#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QStyle>

#include "core/param_view.h"
#include "core/qelrampara.h"
#include "ui/input/inputchoose.h"
#include "ui/shell/alias.h"

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
// A tile's name and size lines on the tile, white on its background.
const QRect kTileLine[2] = {QRect(10, 29, 172, 28), QRect(10, 57, 172, 28)};
const QColor kTileColour(0x21, 0x24, 0x35);
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
    // the icon labels have no border: the picture fills them, and they are
    // polished with the screen rather than one by one before it
    for (int i = 0; i < 6; ++i) {
        const QLatin1String res(INPUT_COLUMNS[i].icon);
        icons[i]->setPixmap(cached_picture(res, icons[i]->size()));
        icons[i]->setScaledContents(true);
        icons[i]->setProperty("res", res);
    }
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

QFrame *make_tile_area(QWidget *dialog, const QFont &font)
{
    QFrame *area = new QFrame(dialog);
    area->setObjectName(QStringLiteral("frame_source"));
    area->setGeometry(20, 152, 770, 240);
    area->setStyleSheet(QStringLiteral("#frame_source{border:1px solid rgb(71, 119, 255);}"));
    area->setFont(font);   // the tiles' lines take it from here
    area->lower();
    return area;
}

QPixmap green_dot()
{
    const QString key = QStringLiteral("qel:green_dot");
    QPixmap pix;
    if (!QPixmapCache::find(key, &pix)) {
        pix = styled_picture(QString::fromLatin1(GREEN_DOT_STYLE), QSize(14, 14));
        QPixmapCache::insert(key, pix);
    }
    return pix;
}

namespace {

// What the tile shows inside its border, besides its lines: the green dot
// and the input's picture 5 px right of it, the dot 14 x 14 at (9, 9), the
// picture 63 x 24 at (28, 4). Made once.
QPixmap tile_badge(bool dvi)
{
    const QString key = QStringLiteral("qel:tile_badge/%1").arg(int(dvi));
    QPixmap badge;
    if (QPixmapCache::find(key, &badge))
        return badge;
    badge = QPixmap(218, 88);
    badge.fill(kTileColour);
    QPainter p(&badge);
    p.drawPixmap(9, 9, green_dot());
    p.drawPixmap(28, 4, cached_picture(QLatin1String(dvi ? ":/png/DVI.png" : ":/png/HDMI.png"), QSize(63, 24)));
    p.end();
    QPixmapCache::insert(key, badge);
    return badge;
}

} // namespace

QPushButton *add_source_tile(QFrame *area, int i, int x, int y, bool dvi, QObject *painter)
{
    // the tile's frame is its click area, its picture inside the border
    QPushButton *b = new QPushButton(area);
    b->setObjectName(QString::number(i));
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    b->setFlat(true);
    b->setGeometry(x + 10, y + 15, 220, 90);
    b->setStyleSheet(QStringLiteral("background-color: #212435;border:1px solid #CCCCCC;"));
    b->setIcon(QIcon(tile_badge(dvi)));
    b->setIconSize(QSize(218, 88));
    b->setProperty("res", QLatin1String(dvi ? ":/png/DVI.png" : ":/png/HDMI.png"));
    b->installEventFilter(painter);
    return b;
}

void set_tile_lines(QPushButton *tile, const QString &name, const QString &size)
{
    tile->setProperty("tile_name", name);
    tile->setProperty("tile_size", size);
    tile->update();
}

CropTile crop_tile(int slot, const QString &source, int ordinal, const QFontMetrics &metrics)
{
    CropTile tile;
    if (ordinal == 0) {
        tile.name = source;
        tile.size = input_timing_text(slot);
        return tile;
    }
    CROP_PARA crop{0, 0, 0, 0, 0};
    int index = Img::CROP_COUNT;
    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->QelGetCropPara(slot, ordinal, &crop, &index);
    tile.size = QStringLiteral("%1x%2").arg(crop.width).arg(crop.height);
    if (index >= Img::CROP_COUNT) {
        tile.name = source;
        return tile;
    }
    tile.record = index;
    tile.number = Img::cropNumber(u16(crop.crop_word));
    ALIAS_PARA alias;
    tile.name = get_json_alias_para(&alias, "crop", index)
                    ? metrics.elidedText(alias.name, Qt::ElideRight, kTileLine[0].width(), Qt::TextShowMnemonic)
                    : source + QStringLiteral("_crop%1").arg(tile.number);
    return tile;
}

void paint_source_tile(QObject *tile, QEvent *paint)
{
    tile->event(paint);
    QWidget *w = static_cast<QWidget *>(tile);
    QPainter painter(w);
    painter.setFont(w->font());
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    const char *const line[2] = {"tile_name", "tile_size"};
    for (int k = 0; k < 2; ++k) {
        painter.setClipping(false);
        painter.fillRect(kTileLine[k], kTileColour);   // over the picture when held down
        draw_tile_text(painter, w, kTileLine[k], palette, w->property(line[k]).toString());
    }
}

void draw_tile_text(QPainter &painter, QWidget *on, const QRect &rect, const QPalette &palette, const QString &text)
{
    painter.setClipRect(rect);
    on->style()->drawItemText(&painter, rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextForceLeftToRight, palette,
                              true, text, QPalette::WindowText);
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
    if (!ok)
        return;
    cancel->hide();
    ok->hide();
    del->hide();
}

void FormButtons::setTexts(const QString &cancelText, const QString &okText, const QString &delText) const
{
    if (!ok)
        return;
    cancel->setText(cancelText);
    ok->setText(okText);
    del->setText(delText);
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
    const InputSignal t = p ? p->input_signal(slot) : InputSignal();
    if (t.present())
        return QString::asprintf("%dx%d@%dHz", t.width, t.height, t.rate);
    return kNoSignal.text();
}

