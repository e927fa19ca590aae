#include "ui/input/inputchoose.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <cstring>

#include "core/global.h"
#include "core/param_layout.h"
#include "core/qelrampara.h"
#include "ui/input/input_tiles.h"
#include "ui/shell/alias.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screen_registry.h"
#include "ui/shell/screens.h"
#include "ui/shell/tip.h"
#include "ui_inputchoose.h"

namespace {

// Input slots 0 EXT, 1 DVI, 2..5 HDMI1..HDMI4.
// x of the tab frame per slot (tabs run HDMI1..HDMI4, DVI, EXT from x 20)
const int kTabFrameX[6] = {670, 540, 20, 150, 280, 410};
const char *const kIconOff[6] = {":/png/HDMI.png", ":/png/DVI.png", ":/png/HDMI13.png",
                                 ":/png/HDMI13.png", ":/png/HDMI20.png", ":/png/HDMI20.png"};
const char *const kIconOn[6] = {":/png/extlv.png", ":/png/dvilv.png", ":/png/HDMI13_lv.png",
                                ":/png/HDMI13_lv.png", ":/png/HDMI20_lv.png", ":/png/HDMI20_lv.png"};

const PanelText kTitle{"信源切换", "Source switch", "Переключение источника", "Chuyển đổi nguồn", "信源切換"};
const PanelText kInputCut{"输入截取", "Input intercept", "Источник", "Chặn nguồn vào", "輸入截取"};
const PanelText kEdid{"设置EDID", "EDID Settings", "Настройка EDID", "Cài đặt EDID", "設置EDID"};
const PanelText kInUse{"使用中\u00AD", "Using", "Использовать", "sử dụng", "使用中\u00AD"};

// A source tile: the frame, its border by whether the window shows it, with
// the dot and the input's picture, is one picture made once; its button (at
// (1, 1) in the frame) paints the two lines.
const char kTileMarked[] = "background-color: rgb(16, 16, 28);border:1px solid #00D65B;border-radius:5px;";
const char kTileUnmarked[] = "background-color: rgb(16, 16, 28);border:1px solid #CCCCCC;border-radius:5px;";
const char kStateOn[] = ":/png/state_on.png";
const char kStateOff[] = ":/png/state_off.png";
const QRect kTileText[2] = {QRect(9, 28, 172, 24), QRect(9, 56, 172, 24)};   // name, size

QPixmap tile_picture(const QString &state, const QString &picture)
{
    const QString key = QStringLiteral("qel:choose_tile/%1/%2").arg(state, picture);
    QPixmap pix;
    if (QPixmapCache::find(key, &pix))
        return pix;
    const bool marked = state == QLatin1String(kStateOn);
    // the area's background under the rounded corners
    pix = styled_picture(QLatin1String(marked ? kTileMarked : kTileUnmarked), QSize(220, 90), QColor(16, 16, 28));
    QPainter painter(&pix);
    painter.drawPixmap(10, 10, cached_picture(state, QSize(14, 14)));
    painter.drawPixmap(29, 5, cached_picture(picture, QSize(63, 24)));
    painter.end();
    QPixmapCache::insert(key, pix);
    return pix;
}

void paint_tile_frame(QWidget *frame)
{
    QPainter painter(frame);
    painter.drawPixmap(0, 0, tile_picture(frame->property("res").toString(), frame->property("picture").toString()));
}

// The two lines of a source tile, as labels of the tile would show them.
void paint_tile(QPushButton *button)
{
    QPainter painter(button);
    QFont font = button->font();
    font.setPixelSize(20);
    painter.setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    const char *const text[2] = {"tile_name", "tile_size"};
    for (int k = 0; k < 2; ++k)
        draw_tile_text(painter, button, kTileText[k], palette, button->property(text[k]).toString());
}

// On a window button (the tile at (3, 3) in it): the source name and the dot.
const QRect kWindowName(3, 6, 100, 28);
const QPoint kWindowDot(104, 11);

void paint_window(QPushButton *button)
{
    QPainter painter(button);
    QFont font = button->font();
    font.setPixelSize(16);
    painter.setFont(font);
    draw_tile_text(painter, button, kWindowName, button->palette(), button->property("tile_name").toString());
    painter.setClipping(false);
    painter.drawPixmap(kWindowDot, green_dot());
}

const char kPopupStyle[] = "background-color: rgb(95, 100, 129); color: rgb(255, 255, 255);";

} // namespace

InputChoose::InputChoose(QWidget *parent) : QDialog(parent), ui(new Ui::InputChoose)
{
    ui->setupUi(this);

    set_back_icon(ui->Button_back);
    // a tap on a tab's labels belongs to the tab
    for (QLabel *l : {ui->label_HDMI1_text, ui->label_HDMI1_num, ui->label_HDMI1, ui->label_HDMI2_text,
                      ui->label_HDMI2_num, ui->label_HDMI2, ui->label_HDMI3_text, ui->label_HDMI3_num,
                      ui->label_HDMI3, ui->label_HDMI4_text, ui->label_HDMI4_num, ui->label_HDMI4,
                      ui->label_DVI_text, ui->label_DVI_num, ui->label_DVI, ui->label_EXT_text,
                      ui->label_EXT_num, ui->label_EXT, ui->label_12, ui->label_15})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);

    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->QelCropSourceInit();
    crop_source_num_update();

    ui->label_12->hide();
    ui->label_15->hide();

    place_tab_frame();
    initMenu();
    image_select();   // builds the tile area once
    set_texts();
}

InputChoose::~InputChoose()
{
    delete ui;
}

// ------------------------------------------------------------------ texts

void InputChoose::language_changed()
{
    set_texts();
    initSource();
}

void InputChoose::set_texts()
{
    ui->label_title->setText(kTitle.text());
    if (m_button_inputcut) {
        m_button_inputcut->setText(kInputCut.text());
        m_button_edid->setText(kEdid.text());
        m_button_inputcut->setGeometry(680, 310, 100, 60);
        m_button_edid->setGeometry(680, 370, 100, 60);
    }
}

// The pop-up of the menu button, made the first time it opens.
void InputChoose::make_popup()
{
    if (m_button_inputcut)
        return;
    m_button_inputcut = new QPushButton(QStringLiteral("输入截取"), this);
    m_button_inputcut->setObjectName(QStringLiteral("button_inputcut"));
    m_button_edid = new QPushButton(QStringLiteral("设置EDID"), this);
    m_button_edid->setObjectName(QStringLiteral("button_EDID"));
    for (QPushButton *b : {m_button_inputcut, m_button_edid}) {
        b->setStyleSheet(QString::fromLatin1(kPopupStyle));
        QFont f = b->font();
        f.setPointSize(12);
        b->setFont(f);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->hide();
    }
    connect(m_button_inputcut, &QPushButton::clicked, this, &InputChoose::qel_button_inputcut_clicked);
    connect(m_button_edid, &QPushButton::clicked, this, &InputChoose::qel_button_EDID_clicked);
    set_texts();
}

void InputChoose::hide_popup()
{
    if (!m_button_inputcut)
        return;
    m_button_inputcut->hide();
    m_button_edid->hide();
}

// ------------------------------------------------------------ window menu

void InputChoose::initMenu()
{
    retire(m_menu_frame);
    for (QPushButton *&b : m_window_button)
        b = nullptr;

    m_menu_frame = new QFrame(this);
    m_menu_frame->setObjectName(QStringLiteral("menu_frame"));
    m_menu_frame->setGeometry(0, 64, 800, 96);
    m_select_frame = new QFrame(m_menu_frame);
    m_select_frame->setObjectName(QStringLiteral("select_frame"));
    set_style(m_select_frame, WINDOW_MARK_STYLE);
    m_select_frame->hide();

    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    int k = 0;
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        if (w != 0 && (!p || !WindowView(p->ram_para, w).on()))
            continue;
        QLabel *tile = new QLabel(m_menu_frame);
        tile->setObjectName(QStringLiteral("window_%1").arg(w));
        tile->setGeometry(20 + 130 * k, 3, 120, 90);
        tile->setText(QString::number(w + 1));
        tile->setAlignment(Qt::AlignCenter);
        tile->setStyleSheet(QString::fromLatin1(WINDOW_TILE_STYLES[w]));

        // the button paints the tile's source name and dot
        QPushButton *button = new QPushButton(m_menu_frame);
        button->setObjectName(QString::number(w));
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setGeometry(17 + 130 * k, 0, 126, 96);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, &InputChoose::qel_image_button_clicked);
        m_window_button[w] = button;
        TextCreate(w, 0);

        if (w == m_image_index) {
            m_select_frame->setGeometry(button->geometry());
            m_select_frame->show();
        }
        ++k;
    }
    m_menu_frame->show();
}

void InputChoose::TextCreate(int window, int)
{
    set_window_name(window, input_slot_name(window_source(window).slot));
}

void InputChoose::input_source_changed(int window)
{
    if (window < 0 || window >= Img::WINDOWS_USED || !m_window_button[window])
        return;
    const WindowSource src = window_source(window);   // no source without the store
    QString text = input_slot_name(src.slot);
    if (src.isCrop()) {
        const CropView crop(QelRamPara::p_qelrampara_config->ram_para, src.record);
        text += QStringLiteral("_Crop%1").arg(crop.number());
    }
    set_window_name(window, text);
}

void InputChoose::set_window_name(int window, const QString &text)
{
    if (window < 0 || window >= Img::WINDOWS_USED || !m_window_button[window])
        return;
    m_window_button[window]->setProperty("tile_name", text);
    m_window_button[window]->update();
}

void InputChoose::qel_image_button_clicked()
{
    const int w = sender_number(sender(), Img::WINDOWS_USED);
    if (w < 0)
        return;
    m_image_index = u8(w);
    image_select();
    if (m_select_frame && m_window_button[w]) {
        m_select_frame->setGeometry(m_window_button[w]->x(), 0, 126, 96);
        m_select_frame->show();
    }
}

void InputChoose::image_select()
{
    const int slot = window_source(m_image_index).slot;
    if (slot > 5) {
        // no valid source: same tab, nothing marked
        initSource();
        return;
    }
    select_input(u8(slot));
}

// ---------------------------------------------------------------- tabs

void InputChoose::on_Button_HDMI1_clicked() { select_input(2); }
void InputChoose::on_Button_HDMI2_clicked() { select_input(3); }
void InputChoose::on_Button_HDMI3_clicked() { select_input(4); }
void InputChoose::on_Button_HDMI4_clicked() { select_input(5); }
void InputChoose::on_Button_DVI_clicked() { select_input(1); }
void InputChoose::on_Button_EXT_clicked() { select_input(0); }

void InputChoose::select_input(u8 slot)
{
    if (slot > 5)
        return;
    m_page = 0;
    m_source_index = slot;
    m_source_name = input_slot_name(slot);
    initSource();
    place_tab_frame();
}

void InputChoose::place_tab_frame()
{
    ui->frame1->setGeometry(kTabFrameX[m_source_index], 173, 120, 85);
    // the same sheet again would restyle the frame for nothing
    const QString style = QStringLiteral(
        "#frame1{border-left:1px solid rgb(71, 119, 255);border-right:1px solid rgb(71, 119, 255);"
        "border-top:1px solid rgb(71, 119, 255);border-bottom:0px;}");
    if (ui->frame1->styleSheet() != style)
        ui->frame1->setStyleSheet(style);
}

// ------------------------------------------------------------- tile area

void InputChoose::initSource()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    const int total = (p ? p->QelGetSourceNum(m_source_index, Img::CROP_COUNT) : 0) + 1;
    m_last_page = u8((total + 5) / 6 - 1);
    int tiles = 0;
    if (m_page <= m_last_page)
        tiles = qMin(6, total - 6 * m_page);

    const WindowSource shown = window_source(m_image_index);
    int marked_tile = -1;
    if (shown.slot == m_source_index)
        marked_tile = shown.isCrop() ? crop_ordinal(shown.slot, shown.record) : 0;

    retire(m_source_area);
    m_source_area = new QFrame(this);
    m_source_area->setObjectName(QStringLiteral("frame"));
    m_source_area->setGeometry(20, 257, 770, 215);
    m_source_area->setStyleSheet(QStringLiteral("#frame{border:1px solid rgb(71, 119, 255);}"));
    m_source_area->lower();

    QFont textFont = font();
    textFont.setPixelSize(20);
    const QFontMetrics metrics(textFont);
    for (int i = 0; i < tiles; ++i) {
        const int t = i + 6 * m_page;
        const int row = i / 3;
        const int column = i % 3;

        m_source_frame = new QFrame(m_source_area);
        m_source_frame->setObjectName(QStringLiteral("source_frame"));
        m_source_frame->setGeometry(10 + 235 * column, 15 + 100 * row, 220, 90);

        const CropTile shown = crop_tile(m_source_index, m_source_name, t, metrics);
        const bool marked = t == marked_tile;
        m_source_frame->setProperty("res", QLatin1String(marked ? kStateOn : kStateOff));
        m_source_frame->setProperty("picture", QLatin1String(m_source_index == 1 ? ":/png/DVI.png" : ":/png/HDMI.png"));
        m_source_frame->installEventFilter(this);
        m_badge = nullptr;
        if (marked) {
            m_badge = new QLabel(m_source_frame);
            m_badge->setObjectName(QStringLiteral("badge_%1").arg(i));
            m_badge->setGeometry(164, 0, 56, 30);
            m_badge->setAlignment(Qt::AlignCenter);
            m_badge->setStyleSheet(QStringLiteral(
                "background-color: #00D65B;color: rgb(255, 255, 255);font: 18px;border-radius:5px;"));
            m_badge->setText(kInUse.text());
            m_badge->setAttribute(Qt::WA_TransparentForMouseEvents);   // a tap is the tile's
        }

        // the tile's button paints its dot, picture and two lines
        m_source_button = new QPushButton(m_source_frame);
        m_source_button->setObjectName(QString::number(i));
        m_source_button->setFlat(true);
        m_source_button->setFocusPolicy(Qt::NoFocus);
        m_source_button->setAutoDefault(false);
        m_source_button->setGeometry(1, 1, 218, 88);
        m_source_button->setProperty("tile_name", shown.name);
        m_source_button->setProperty("tile_size", shown.size);
        m_source_button->installEventFilter(this);
        connect(m_source_button, &QPushButton::clicked, this, &InputChoose::qel_source_button_clicked);
        if (m_badge)
            m_badge->raise();
    }

    m_button_menu = add_area_button(m_source_area, "Button_menu", 10, ":/png/menu.png");
    connect(m_button_menu, &QPushButton::clicked, this, &InputChoose::qel_Button_menu_clicked);
    m_button_previous = m_page > 0 ? add_area_button(m_source_area, "Button_previous", 95, ":/png/previous.png") : nullptr;
    if (m_button_previous)
        connect(m_button_previous, &QPushButton::clicked, this, &InputChoose::qel_Button_previous_clicked);
    m_button_next = m_page < m_last_page ? add_area_button(m_source_area, "Button_next", 155, ":/png/next.png") : nullptr;
    if (m_button_next)
        connect(m_button_next, &QPushButton::clicked, this, &InputChoose::qel_Button_next_clicked);

    m_source_area->show();
    hide_popup();
}

bool InputChoose::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QDialog::eventFilter(watched, event);
    // only the window buttons, tile frames and tile buttons are watched
    if (watched->objectName() == QLatin1String("source_frame"))
        paint_tile_frame(static_cast<QWidget *>(watched));
    else if (watched->parent() == m_menu_frame)
        paint_window(static_cast<QPushButton *>(watched));
    else
        paint_tile(static_cast<QPushButton *>(watched));
    return true;
}

void InputChoose::qel_source_button_clicked()
{
    const int i = sender_number(sender(), 6);
    if (i < 0)
        return;
    const int n = i + 6 * m_page;
    if (QelRamPara *p = QelRamPara::p_qelrampara_config)
        p->QelSetImageSource(n, char(m_source_index), char(m_image_index));
    initSource();
    input_source_changed(m_image_index);
    if (g_tip)
        g_tip->tip_create(2);
}

void InputChoose::qel_Button_previous_clicked()
{
    if (m_page > 0)
        --m_page;
    initSource();
}

void InputChoose::qel_Button_next_clicked()
{
    if (m_page < m_last_page)
        ++m_page;
    initSource();
}

void InputChoose::qel_Button_menu_clicked()
{
    make_popup();
    if (!m_button_inputcut->isHidden()) {
        hide_popup();
        return;
    }
    m_button_inputcut->show();
    m_button_edid->show();
    m_button_inputcut->raise();
    m_button_edid->raise();
}

// The crop and EDID screens, run modally over this one; their Back reloads
// this screen, which hides the pop-up. Without such a screen the pop-up closes.
void InputChoose::qel_button_inputcut_clicked()
{
    if (!ScreenRegistry::open(PAGE_INPUT_CROP))
        hide_popup();
}

void InputChoose::qel_button_EDID_clicked()
{
    if (!ScreenRegistry::open(PAGE_EDID))
        hide_popup();
}

// ------------------------------------------------------------ input tabs

void InputChoose::crop_source_num_update()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    QLabel *num[6] = {ui->label_EXT_num, ui->label_DVI_num, ui->label_HDMI1_num,
                      ui->label_HDMI2_num, ui->label_HDMI3_num, ui->label_HDMI4_num};
    for (int slot = 0; slot < 6; ++slot)
        num[slot]->setText(QStringLiteral("(%1)").arg((p ? p->QelGetSourceNum(slot, Img::CROP_COUNT) : 0) + 1));
    source_name_update();
    source_check_update();
}

void InputChoose::source_name_update()
{
    QLabel *text[6] = {ui->label_EXT_text, ui->label_DVI_text, ui->label_HDMI1_text,
                       ui->label_HDMI2_text, ui->label_HDMI3_text, ui->label_HDMI4_text};
    for (int slot = 0; slot < 6; ++slot) {
        QLabel *label = text[slot];
        label->setTextFormat(Qt::PlainText);
        ALIAS_PARA alias;
        if (get_json_alias_para(&alias, "source", slot)) {
            label->ensurePolished();
            label->setText(label->fontMetrics().elidedText(alias.name, Qt::ElideRight, 66, Qt::TextShowMnemonic));
        } else {
            label->setText(input_slot_name(slot));
        }
    }
}

void InputChoose::source_check_update()
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    QLabel *icon[6] = {ui->label_EXT, ui->label_DVI, ui->label_HDMI1,
                       ui->label_HDMI2, ui->label_HDMI3, ui->label_HDMI4};
    for (int slot = 0; slot < 6; ++slot) {
        const bool on = p && p->input_signal(slot).present();
        set_picture(icon[slot], QString::fromLatin1(on ? kIconOn[slot] : kIconOff[slot]));
    }
}

// --------------------------------------------------------------- refresh

void InputChoose::syncUpdate(int code)
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p)
        return;
    bool rebuild = false;
    if (p->QelLanguageChanged() == 1) {
        language_changed();
        rebuild = true;   // the tiles carry texts too
    }

    const u8 *img = p->ram_para;
    const u8 *shadow = p->ram_para_shadow;
    // one copy of each live record, which the input manager writes from its thread
    bool timingChanged[6];
    for (int slot = 0; slot < 6; ++slot)
        timingChanged[slot] = p->input_signal(slot) != InputTimingView(shadow, slot).value();
    bool menuChanged = false;
    bool signalChanged = false;
    for (int w = 0; w < Img::WINDOWS_USED; ++w) {
        const WindowView now(img, w), saved(shadow, w);
        if (now.word(Img::W_ON) != saved.word(Img::W_ON))
            menuChanged = true;
        if (now.sourceWord() != saved.sourceWord())
            input_source_changed(w);
    }
    for (int slot = 0; slot < 6; ++slot)
        signalChanged = signalChanged || timingChanged[slot];
    const bool reselect =
        WindowView(img, m_image_index).sourceWord() != WindowView(shadow, m_image_index).sourceWord();
    if (!reselect && m_source_index < 6 && timingChanged[m_source_index])
        rebuild = true;
    const bool cropsChanged = std::memcmp(img + Img::CROP_TABLE, shadow + Img::CROP_TABLE,
                                          Img::CROP_SIZE * Img::CROP_COUNT) != 0;

    if (menuChanged) {
        // the selected window still on (as the scaler reads it): it stays selected
        if (WindowView(img, m_image_index).on()) {
            initMenu();
            if (reselect)
                image_select();
            else if (rebuild)
                initSource();
        } else {
            m_image_index = 0;
            image_select();
            initMenu();
        }
    } else if (reselect) {
        image_select();
    } else if (rebuild) {
        initSource();
    }

    if (code == REFRESH_CROPS || cropsChanged) {
        p->QelCropSourceInit();
        initSource();
        crop_source_num_update();
        // a label may name a crop that moved or went
        for (int w = 0; w < Img::WINDOWS_USED; ++w)
            input_source_changed(w);
        return;
    }
    if (signalChanged)
        source_check_update();
}

void InputChoose::reload()
{
    QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (p)
        p->QelCropSourceInit();
    crop_source_num_update();
    // a selected window switched off meanwhile: back to window 0
    const bool stays = m_image_index == 0 || (p && WindowView(p->ram_para, m_image_index).on());
    if (!stays)
        m_image_index = 0;
    initMenu();
    if (stays)
        initSource();
    else
        image_select();
}

// ------------------------------------------------------------------ back

void InputChoose::on_Button_back_clicked()
{
    setAttribute(Qt::WA_DeleteOnClose);
    close();
    if (g_inputchoose == this)
        g_inputchoose = nullptr;
    if (ScreenRegistry::resume(PAGE_LAYOUT))   // run from the window layout
        return;
    return_to_main();
}

// --------------------------------------------------------------- helpers

// Input slot the window shows (the crop's input for a crop), 0xFF when the
// source names no input or a crop record that is not in use.
WindowSource InputChoose::window_source(int window) const
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p || window < 0 || window >= Img::WINDOWS_USED)
        return WindowSource();
    return windowSource(p->ram_para, window);
}

// Place of a crop record among its input's crops in ascending crop number,
// counted from 1: the tile that lists it.
int InputChoose::crop_ordinal(int slot, int record) const
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    if (!p || record < 0 || record >= Img::CROP_COUNT)
        return -1;
    const int number = CropView(p->ram_para, record).number();
    if (number > Img::CROP_COUNT)
        return -1;
    bool seen[Img::CROP_COUNT + 1] = {};
    int place = 0;
    for (int k = 0; k < Img::CROP_COUNT; ++k) {
        const CropView c(p->ram_para, k);
        const int n = c.number();
        if (!c.inUse() || c.slot() != slot || n > number || seen[n])
            continue;
        seen[n] = true;
        ++place;
    }
    return place;
}
