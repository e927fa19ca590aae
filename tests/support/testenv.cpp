#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/global.h"
#include "core/qelrampara.h"
#include "core/utils.h"
#include "led_output/rcv_card.h"

TestRoot::TestRoot()
{
    qputenv("QEL_ROOT", m_dir.path().toLocal8Bit());
    QDir(m_dir.path()).mkpath(QStringLiteral("data/modes"));
    QDir(m_dir.path()).mkpath(QStringLiteral("data/configs"));
    QDir(m_dir.path()).mkpath(QStringLiteral("mnt"));
    TestEnv::resetGlobals();
    Utils::clearRecordedCommands();
}

TestRoot::~TestRoot()
{
    qunsetenv("QEL_ROOT");
}

QString TestRoot::path() const { return m_dir.path(); }

QString TestRoot::file(const QString &devicePath) const { return Utils::devicePath(devicePath); }

void TestRoot::write(const QString &devicePath, const QByteArray &data) const
{
    const QString p = file(devicePath);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

QByteArray TestRoot::read(const QString &devicePath) const
{
    QFile f(file(devicePath));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestRoot::exists(const QString &devicePath) const { return QFileInfo::exists(file(devicePath)); }

namespace TestEnv {

void resetGlobals()
{
    ::resetGlobals();
    g_debugSwitch = 0;   // quiet tests
}

void advanceTicks(unsigned n) { G_timeTicks.fetch_add(n); }

QByteArray image()
{
    const QelRamPara *p = QelRamPara::p_qelrampara_config;
    return p ? QByteArray(reinterpret_cast<const char *>(p->ram_para), Img::SIZE) : QByteArray();
}

QByteArray recoveryFile(const QVector<std::array<int, 3>> &sections, int format)
{
    QByteArray d("QRCV");
    d.append(char(format)).append(char(sections.size()));
    for (const auto &[port, cards, seed] : sections) {
        d.append(char(port)).append(char(0)).append(char(cards & 0xFF)).append(char(cards >> 8));
        for (int c = 0; c < cards; ++c)
            d.append(QByteArray(rcv_card::PARA_SIZE, char(seed + c)));
    }
    return d;
}

}
