#include "ui/shell/tip.h"

#include <QLabel>
#include <QPixmap>
#include <QVariant>

#include "core/global.h"
#include "core/utils.h"
#include "ui/shell/panel_text.h"

namespace {
constexpr int kPanelW = 800;
constexpr int kPanelH = 480;
constexpr int kTipW = 360;
constexpr int kTipH = 160;
constexpr u32 kShowTicks = 300;
const char kCheckMark[] = ":/png/tip_ok.png";
}

TIP::TIP(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("tip"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setStyleSheet(QStringLiteral("QDialog#tip{background-color: rgb(33, 36, 53); border: 1px solid rgb(71, 119, 255);}"
                                 "QLabel{color: rgb(255, 255, 255); font: 24px;}"));
    setGeometry((kPanelW - kTipW) / 2, (kPanelH - kTipH) / 2, kTipW, kTipH);
}

TIP::~TIP() = default;

void TIP::clear_content()
{
    delete m_content;   // QPointer: null when already gone
    m_code = 0;
}

void TIP::tip_create(int code)
{
    clear_content();

    QLabel *label = nullptr;
    if (code == 1) {
        label = new QLabel(this);
        label->setPixmap(QPixmap(QString::fromLatin1(kCheckMark)));
        label->setProperty("res", QString::fromLatin1(kCheckMark));
    } else if (code >= 3 && code <= 5) {
        static const PanelText texts[3] = {
            {"U盘已插入", "USB stick inserted", "USB-накопитель подключён", "Đã cắm USB", "隨身碟已插入"},
            {"U盘已拔出", "USB stick removed", "USB-накопитель извлечён", "Đã rút USB", "隨身碟已拔出"},
            {"U盘已就绪", "USB stick ready", "USB-накопитель готов", "USB đã sẵn sàng", "隨身碟已就緒"},
        };
        label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setText(texts[code - 3].text());
    }

    if (!label) {   // code 2 or unknown: nothing shows
        hide();
        return;
    }
    label->setObjectName(QStringLiteral("tip_content"));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(10, 10, kTipW - 20, kTipH - 20);
    label->show();   // the tip may show already: a child made now stays hidden otherwise
    m_content = label;
    m_code = code;
    m_shown_at = G_timeTicks.load();
    move((kPanelW - kTipW) / 2, (kPanelH - kTipH) / 2);
    show();
}

void TIP::tick()
{
    if (m_code == 0 || Utils::getTimeSpace(m_shown_at) < kShowTicks)
        return;
    clear_content();
    hide();
}
