#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/global.h"
#include "core/utils.h"

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

}
