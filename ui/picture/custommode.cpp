#include "ui/picture/custommode.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstring>
#include <map>

#include "core/file_stamp.h"
#include "core/global.h"
#include "core/param_view.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "scaler/omenu.h"
#include "ui/picture/painted_frame.h"
#include "ui/shell/alias.h"
#include "ui/shell/mainwindow.h"
#include "ui/shell/panel_text.h"
#include "ui/shell/screen_helpers.h"
#include "ui/shell/screens.h"
#include "ui_custommode.h"

QFrame *g_frame[16] = {};
QPushButton *g_button_focus = nullptr;

namespace {

constexpr int kSlots = 16;
constexpr int kVisibleTiles = 5;   // tile 5 starts below the 414 px viewport

const char *const kTileNormal = "background-color: #212435;border:1px solid #FFFFFF;border-radius:5px;";
const char *const kTileCurrent = "background-color: #212435;border:1px solid #00D65B;border-radius:5px;";
const char *const kTileTouched = "background-color: #212435;border:2px solid #00D65B;border-radius:5px;";
const QColor kUnderTiles(16, 16, 28);   // the form's background, past the tiles' corners
const char *const kBadge = "background-color: #00D65B;color: rgb(255, 255, 255);font: 18px;border-radius:5px;";
// an action button not chosen; the chosen one wears FRAMED_SELECTED_STYLE
const char *const kButtonOff =
    "background-color: #212435;color: rgb(255, 255, 255);border:1px solid rgb(255, 255, 255);";
const char *const kScrollBar =
    "QScrollBar:vertical{width:32px;background:#10101C;padding-top:0px;padding-bottom:0px;}"
    "QScrollBar::handle:vertical{width:32px;background-color:#D5D5D5;border-radius:14px;}"
    "QScrollBar::add-page:vertical {background:#10101C;}QScrollBar::sub-page:vertical {background:#10101C;}";
const char *const kWindowColours[6] = {"#D5E5FF", "#D4FC79", "#FC9D79", "#7E9AC9", "#32CC4C", "#4777FF"};

const PanelText kTitle = {"用户模式", "User mode", "Слот", "Chế độ người dùng", "用戶模式"};
const PanelText kDelete = {"删除", "Delete", "Удалить", "Xoá bỏ", "删除"};
const PanelText kUse = {"调用", "Invoke", "Вызвать", "Dùng", "調用"};
// the Chinese text ends with a soft hyphen
const PanelText kUsing = {"使用中\u00AD", "Using", "Использовать", "sử dụng", "使用中\u00AD"};
const PanelText kBlank = {"未保存用户模式数据", "Usermode does not exist", "Данные не сохранены",
                          "Chế độ không được lưu", "未保存用戶模式數據"};
const PanelText kTileName = {"用户模式%1", "MODE %1", "Слот %1", "Chế độ %1", "用戶模式%1"};
const PanelText kCaption = {"名称:", "Name:", "Название:", "Tên:", "名稱:"};
const PanelText kDefaultName = {"名称:用户模式%1", "Name:Mode%1", "Название:Слот%1", "Tên:Chế độ%1",
                                "名稱:用戶模式%1"};
const PanelText kLed = {"LED参数:%1x%2", "LED size:%1x%2", "Размер LED:%1x%2", "Kích thước LED:%1x%2",
                        "LED參數:%1x%2"};
const PanelText kBrightOn = {"亮度:%1 对比度:%2 音量:开启", "Bri:%1 CTRST:%2 Volume:ON",
                             "Яркость:%1 Контраст:%2 Громкость:Вкл", "Độ sáng:%1 Tương phản:%2 Âm:Mở",
                             "亮度:%1 對比度:%2 音量:開啟"};
const PanelText kBrightOff = {"亮度:%1 对比度:%2 音量:关闭", "Bri:%1 CTRST:%2 Volume:OFF",
                              "Яркость:%1 Контраст:%2 Громкость:Откл", "Độ sáng:%1 Tương phản:%2 Âm:đóng",
                              "亮度:%1 對比度:%2 音量:關閉"};
const PanelText kOn = {"开启", "ON", "Вкл", "Mở", "開啟"};
const PanelText kOff = {"关闭", "OFF", "Откл", "Đóng", "關閉"};

// The display summary has Chinese captions and English for every other language.
struct OsdText
{
    const char *zh;
    const char *tw;
    const char *en;

    QString text() const
    {
        const int lang = panel_language();
        return QString::fromUtf8(lang == 0 ? zh : lang == 4 ? tw : en);
    }
};
const OsdText kFontSize = {"字体大小:", "字體大小:", "font size:"};
const OsdText kSpacing = {"字-行间距 [h:", "字-行間距 [h:", "space [h:"};
const OsdText kOrigin = {"字幕坐标[x:", "字幕坐標[x:", "char[x:"};
const OsdText kSpeed = {"速度:", "速度:", "speed:"};
const OsdText kEffects[6] = {
    {"特技:静止", "特技:靜止", "effect:static"},   // 0 and any unknown value
    {"特技:静止", "特技:靜止", "effect:static"},
    {"特技:上移", "特技:上移", "effect:move up"},
    {"特技:下移", "特技:下移", "effect:move down"},
    {"特技:左移", "特技:左移", "effect:move left"},
    {"特技:右移", "特技:右移", "effect:move right"},
};

QelRamPara *para() { return QelRamPara::p_qelrampara_config; }

// A tile frame (every one is a PaintedFrame) in one of the tile looks.
void set_look(QFrame *tile, const char *look)
{
    if (tile)
        static_cast<PaintedFrame *>(tile)->set_look(QString::fromLatin1(look), kUnderTiles);
}

int selected_slot() { return g_mode_select < kSlots ? g_mode_select : 0; }

// The hex digits of a menu colour ("0xRRGGBB" or "0xAARRGGBB"): what follows
// the two-character prefix when it is 6 or 8 hex digits, else empty.
QString colour_digits(const QString &text)
{
    const QString digits = text.mid(2);
    if (digits.size() != 6 && digits.size() != 8)
        return QString();
    for (const QChar c : digits)
        if (!QStringLiteral("0123456789abcdefABCDEF").contains(c))
            return QString();
    return digits;
}

// The first entry of a mode's display-menu copy, read again only when the
// file changes.
struct OsdCopy
{
    QString path;
    FileStamp stamp;
    OSD_PARA entry;
};

OSD_PARA first_osd_entry(int slot)
{
    static std::map<int, OsdCopy> copies;
    const QString device = QelRamPara::userModeOsdPath(slot);
    const QString file = Utils::devicePath(device);
    const FileStamp stamp = FileStamp::of(file);
    auto found = copies.find(slot);
    if (stamp.exists && found != copies.end() && found->second.path == file && found->second.stamp == stamp)
        return found->second.entry;
    OSD_LIST list;
    QByteArray path = device.toLocal8Bit();
    get_json_omenu_para(path.data(), &list);
    OsdCopy &copy = copies[slot];
    copy.path = file;
    copy.entry = list.osdcount > 0 ? list.osdlist[0] : OSD_PARA();
    copy.stamp = FileStamp::of(file);   // a copy that failed is gone now
    return copy.entry;
}

}

CustomMode::CustomMode(QWidget *parent) : QDialog(parent), ui(new Ui::CustomMode)
{
    ui->setupUi(this);
    set_back_icon(ui->Button_back);
    ui->label_blank->hide();

    QelRamPara *p = para();
    const int current = p ? p->QelGetCurrentModeIndex() : 0;
    g_mode_select = u8(current > 0 ? current - 1 : 0);

    // the tiles the viewport shows first, made in their final look; the rest
    // and the buttons over them once the first view is painted
    m_current = current;
    ensure_frames(qMax(kVisibleTiles - 1, current - 1));
    place_badge();
    show_slot();
    ui->label_ID->setText(QStringLiteral("ID:%1").arg(g_mode_select + 1));

    g_button_focus = ui->Button_use;
    set_style(ui->Button_use, FRAMED_SELECTED_STYLE);
    language_changed();
}

CustomMode::~CustomMode()
{
    if (g_custommode == this)
        g_custommode = nullptr;
    // a screen opened before this one went has set the globals anew: only
    // what still points at this screen's widgets is cleared
    for (int i = 0; i < kSlots; ++i)
        if (g_frame[i] == m_frames[i])
            g_frame[i] = nullptr;
    if (g_button_focus == ui->Button_use || g_button_focus == ui->Button_delete)
        g_button_focus = nullptr;
    delete ui;
}

// ------------------------------------------------------------------ tiles

// The tiles are made once; later calls bring them up to date in place.
void CustomMode::init()
{
    ensure_tiles();
    refresh_tiles();
}

// The current mode's style and the saved name on every tile made so far, and
// the badge on the current tile.
void CustomMode::refresh_tiles()
{
    QelRamPara *p = para();
    m_current = p ? p->QelGetCurrentModeIndex() : 0;
    if (m_current > 0 && m_current <= kSlots)
        ensure_frames(m_current - 1);
    for (int i = 0; i < m_built; ++i)
        refresh_tile(i);
    place_badge();
}

// No badge while no mode is current; on the current tile, under its button.
void CustomMode::place_badge()
{
    if (m_current > 0 && m_current <= kSlots) {
        m_badge->setText(kUsing.text());
        m_badge->setGeometry(96, 2 + 90 * (m_current - 1), 56, 30);
        // the buttons, when made, come above it
        if (QPushButton *button = m_tile_buttons[m_current - 1])
            m_badge->stackUnder(button);
        else
            m_badge->raise();
    }
    m_badge->setVisible(m_current > 0);
}

void CustomMode::refresh_tile(int i)
{
    if (!g_frame[i])
        return;
    set_look(g_frame[i], m_current == i + 1 ? kTileCurrent : kTileNormal);
    ALIAS_PARA alias;
    PaintedFrame::Item name;
    name.rect = QRect(25, 29, 100, 28);
    name.font = m_name_font;
    name.back = QColor(0x21, 0x24, 0x35);
    name.fore = Qt::white;
    name.align = Qt::AlignCenter;
    if (get_json_alias_para(&alias, "usermode", i))
        name.text = QFontMetrics(m_name_font).elidedText(alias.name, Qt::ElideRight, 100);
    else
        name.text = kTileName.text().arg(i + 1);
    static_cast<PaintedFrame *>(g_frame[i])->set(QStringLiteral("mode_name_%1").arg(i).toLatin1(), name);
}

// The scroll area, its content and the badge; the tiles come from ensure_frames().
void CustomMode::build_tiles()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("mode_area"));
    m_scroll->setGeometry(2, 66, 190, 414);
    m_scroll->setWidgetResizable(true);
    // the tiles are always taller than the view and never wider
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->verticalScrollBar()->setStyleSheet(QString::fromLatin1(kScrollBar));

    m_content = new QWidget();
    m_content->setObjectName(QStringLiteral("mode_content"));
    m_content->resize(157, 1440);
    m_content->setMinimumSize(100, 1440);
    m_scroll->setWidget(m_content);
    m_badge = new QLabel(m_content);
    m_badge->setObjectName(QStringLiteral("mode_badge"));
    m_badge->setTextFormat(Qt::PlainText);
    m_badge->setStyleSheet(QString::fromLatin1(kBadge));
    m_badge->setAlignment(Qt::AlignCenter);
    m_font = font();
    m_font.setPointSize(10);
    m_name_font = font();
    m_name_font.setPixelSize(20);
}

// Tile frames 0..upTo exist afterwards; new ones show the state of the last
// refresh. Every use of a frame goes through here, so it never matters
// whether the deferred rest has been made yet.
void CustomMode::ensure_frames(int upTo)
{
    if (!m_scroll)
        build_tiles();
    upTo = qMin(upTo, kSlots - 1);
    const bool shown = m_content->isVisible();
    for (; m_built <= upTo; ++m_built) {
        const int i = m_built;
        // the tile draws its number and name itself, where their labels sat
        PaintedFrame *tile = new PaintedFrame(m_content);
        tile->setObjectName(QStringLiteral("mode_frame_%1").arg(i));
        tile->setGeometry(2, 2 + 90 * i, 150, 80);
        g_frame[i] = m_frames[i] = tile;
        PaintedFrame::Item number;
        number.rect = QRect(1, 1, 24, 24);
        number.text = QString::number(i + 1);
        number.font = tile->font();
        number.back = QColor(0x47, 0x77, 0xFF);
        number.fore = Qt::white;
        number.radius = 5;
        number.align = Qt::AlignCenter;
        tile->set(QStringLiteral("mode_number_%1").arg(i).toLatin1(), number);
        refresh_tile(i);
        if (shown)
            tile->show();
    }
}

// Every tile, and the buttons over them (above every frame and the badge).
void CustomMode::ensure_tiles()
{
    ensure_frames(kSlots - 1);
    if (m_tile_buttons[0])
        return;
    const bool shown = m_content->isVisible();
    for (int i = 0; i < kSlots; ++i) {
        QPushButton *button = cover_button(m_content, i, QRect(3, 3 + 90 * i, 148, 78));
        m_tile_buttons[i] = button;
        connect(button, &QPushButton::clicked, this, &CustomMode::qel_button_mode_clicked);
        if (shown)
            button->show();
    }
}

// The buttons draw nothing and the other tiles lie out of view: they follow
// the first paint instead of delaying it.
void CustomMode::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (!m_tile_buttons[0])
        QTimer::singleShot(0, this, [this] { ensure_tiles(); });
}

void CustomMode::qel_button_mode_clicked()
{
    const int slot = sender_number(sender(), kSlots);
    if (slot < 0)
        return;
    ensure_frames(qMax(slot, selected_slot()));
    set_look(g_frame[selected_slot()], kTileNormal);
    g_mode_select = u8(slot);
    ui->label_ID->setText(QStringLiteral("ID:%1").arg(slot + 1));
    set_look(g_frame[slot], kTileTouched);
    show_slot();
}

// ------------------------------------------------------ information lines

void CustomMode::lcd_para_init()
{
    QelRamPara *p = para();
    if (!p)
        return;
    const int s = selected_slot();
    const bool saved = p->QelUserModeSaved(s);
    const u8 *payload = p->user_mode[s].para;

    ALIAS_PARA alias;
    if (get_json_alias_para(&alias, "usermode", s))
        ui->label_name->setText(QFontMetrics(ui->label_name->font())
                                    .elidedText(kCaption.text() + alias.name, Qt::ElideRight, 171));
    else
        ui->label_name->setText(kDefaultName.text().arg(s + 1));

    ui->label_LED->setText(kLed.text()
                               .arg(Img::rd16(payload, Img::payload(Img::CANVAS_W)))
                               .arg(Img::rd16(payload, Img::payload(Img::CANVAS_H))));

    // the audio window counts only when it names one of the six windows of a saved slot
    const u8 audio = payload[Img::payload(Img::AUDIO_WINDOW)];
    const bool audioOn =
        saved && audio < Img::WINDOWS_USED && WindowView(payload, audio, Img::USER_PAYLOAD).audioOn();
    ui->label_brightness->setText((audioOn ? kBrightOn : kBrightOff)
                                      .text()
                                      .arg(Img::rd16(payload, Img::payload(Img::BRIGHTNESS)))
                                      .arg(Img::rd16(payload, Img::payload(Img::CONTRAST))));

    ui->label_using->setVisible(p->QelGetCurrentModeIndex() == s + 1);
}

void CustomMode::show_slot()
{
    lcd_para_init();
    image_para_init();
}

// ---------------------------------------------------------------- preview

void CustomMode::image_para_init()
{
    delete m_preview.data();   // the pointer clears itself

    QelRamPara *p = para();
    const int s = selected_slot();
    if (!p || !p->QelUserModeSaved(s)) {
        ui->label_LED->hide();
        ui->label_brightness->hide();
        ui->label_blank->show();
        return;
    }
    ui->label_LED->show();
    ui->label_brightness->show();
    ui->label_blank->hide();

    // one widget draws every line of the preview
    PaintedFrame *box = new PaintedFrame(ui->frame);
    box->setObjectName(QStringLiteral("preview"));
    box->setGeometry(2, 120, 587, 244);
    box->setMinimumSize(100, 244);
    m_preview = box;

    for (int w = 0; w < Img::WINDOWS_USED; ++w)
        add_window_row(box, p->user_mode[s].para, w);
    if (Img::rd16(p->user_mode[s].para, Img::payload(Img::OSD_ON)) != 0)
        add_osd(box, s);
    box->show();
}

// Window w: its coloured number, source and state, and its rectangle.
void CustomMode::add_window_row(QWidget *box, u8 *payload, int w)
{
    PaintedFrame *preview = static_cast<PaintedFrame *>(box);
    QelRamPara *p = para();
    const int r = w % 3;
    const bool right = w >= 3;

    PaintedFrame::Item number;
    number.rect = QRect(right ? 300 : 10, 6 + 48 * r, 45, 45);
    number.text = QString::number(w + 1);
    number.font = m_font;
    number.back = QColor(QLatin1String(kWindowColours[w]));
    number.align = Qt::AlignCenter;
    preview->set(QStringLiteral("window_number_%1").arg(w).toLatin1(), number);

    // a source naming no input (input above 5, free or out-of-range crop) shows no name
    short isCrop = 0;
    char cropIndex = 0;
    const int input = p->QelGetImageSource(payload, u8(w), &isCrop, &cropIndex, 1);
    QString source = input_slot_name(input);
    if (!source.isEmpty() && isCrop)
        source += QStringLiteral("_Crop%1").arg(int(u8(cropIndex)) + 1);
    const WindowView win(payload, w, Img::USER_PAYLOAD);
    const QString state = (win.on() ? kOn : kOff).text();

    PaintedFrame::Item line;
    line.font = m_font;
    line.fore = Qt::white;
    line.rect = QRect(right ? 355 : 65, 6 + 45 * r, 100, 20);
    line.text = source.isEmpty() ? state : source + QLatin1Char(' ') + state;
    preview->set(QStringLiteral("window_source_%1").arg(w).toLatin1(), line);
    line.rect = QRect(right ? 355 : 65, 30 + 45 * r, right ? 470 : 200, 20);
    line.text = QStringLiteral("[%1,%2]%3x%4").arg(win.x()).arg(win.y()).arg(win.width()).arg(win.height());
    preview->set(QStringLiteral("window_rect_%1").arg(w).toLatin1(), line);
}

// The first entry of the slot's own copy of the display menu. A missing or
// unreadable copy shows an entry of zeros and no text.
void CustomMode::add_osd(QWidget *box, int slot)
{
    PaintedFrame *preview = static_cast<PaintedFrame *>(box);
    const OSD_PARA e = first_osd_entry(slot);

    QFont small = font();
    small.setPixelSize(12);
    PaintedFrame::Item params;
    params.rect = QRect(10, 207, 570, 40);
    params.font = small;
    params.fore = Qt::white;
    const OsdText &effect = e.effect >= 2 && e.effect <= 5 ? kEffects[e.effect] : kEffects[0];
    params.text = QStringLiteral("osd [x:%1,y:%2,w:%3,h:%4] ").arg(e.x).arg(e.y).arg(e.w).arg(e.h)
                  + kFontSize.text() + QStringLiteral("%1*%2\n").arg(e.fontw).arg(e.fonth)
                  + kSpacing.text() + QStringLiteral("%1,v:%2] ").arg(e.wordspace).arg(e.verticalspace)
                  + kOrigin.text() + QStringLiteral("%1,y:%2] ").arg(e.startx).arg(e.starty)
                  + kSpeed.text() + QStringLiteral("%1,").arg(e.speed) + effect.text();

    // its own colours, each only when it is a colour
    PaintedFrame::Item text;
    text.rect = QRect(10, 150, 570, 56);
    text.font = small;
    const QString back = colour_digits(e.back_color);
    const QString fore = colour_digits(e.font_color);
    if (!back.isEmpty())
        text.back = QColor(QLatin1Char('#') + back);
    if (!fore.isEmpty())
        text.fore = QColor(QLatin1Char('#') + fore);
    const QStringList lines = e.texts.split(QLatin1Char('\n'));
    text.text = lines.size() > 3 ? lines.mid(0, 3).join(QLatin1Char('\n')) : e.texts;
    preview->set("osd_text", text);
    preview->set("osd_para", params);
}

void CustomMode::color_fill(QLabel *label, char index)
{
    if (!label)
        return;
    const int i = index;
    const char *colour = i >= 0 && i < 6 ? kWindowColours[i] : "#CCCCCC";
    label->setStyleSheet(QStringLiteral("background-color: %1;").arg(QLatin1String(colour)));
}

// ---------------------------------------------------------------- actions

void CustomMode::move_focus(QPushButton *button)
{
    move_selection(g_button_focus, button, FRAMED_SELECTED_STYLE, kButtonOff);
}

// The slot's settings become the live ones; the scaler applies them and the
// refresh that follows repaints the screen.
void CustomMode::on_Button_use_clicked()
{
    move_focus(ui->Button_use);
    QelRamPara *p = para();
    const int s = selected_slot();
    if (!p || !p->QelUserModeSaved(s))
        return;
    const u8 *mode = p->user_mode[s].para;
    p->edit([s, mode](u8 *img) {
        Img::wr16(img, Img::CURRENT_MODE, u16(s + 1));
        std::memcpy(img + Img::USER_PAYLOAD, mode, Img::USER_PAYLOAD_SIZE);
    });
}

// The slot's files go and the slot reads empty; the current mode and the
// tiles stay as they are.
void CustomMode::on_Button_delete_clicked()
{
    move_focus(ui->Button_delete);
    QelRamPara *p = para();
    const int s = selected_slot();
    if (!p || !p->QelUserModeSaved(s))
        return;
    p->mode_file_deal(s, 1);
    show_slot();
}

void CustomMode::syncUpdate()
{
    QelRamPara *p = para();
    if (!p)
        return;
    if (p->QelLanguageChanged() == 1)
        language_changed();
    if (p->get_u16(Img::CURRENT_MODE) != p->shadow_u16(Img::CURRENT_MODE)) {
        init();
        show_slot();
    }
}

void CustomMode::on_Button_back_clicked()
{
    back_to_main(this, g_custommode);
}

void CustomMode::language_changed()
{
    ui->label_title->setText(kTitle.text());
    ui->Button_delete->setText(kDelete.text());
    ui->Button_use->setText(kUse.text());
    ui->label_using->setText(kUsing.text());
    ui->label_blank->setText(kBlank.text());
}
