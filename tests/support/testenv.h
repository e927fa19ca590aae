#ifndef QEL_TESTS_TESTENV_H
#define QEL_TESTS_TESTENV_H

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVector>
#include <array>
#include <tuple>

// A temporary folder standing for the device's "/", set as QEL_ROOT for the
// life of the object. Globals touched by the managers are reset to their
// start values. Singletons are the test's own business (destroyInstance()).
class TestRoot
{
public:
    TestRoot();
    ~TestRoot();

    QString path() const;
    // Host path of a device path ("/data/x" -> "<root>/data/x").
    QString file(const QString &devicePath) const;
    void write(const QString &devicePath, const QByteArray &data) const;
    QByteArray read(const QString &devicePath) const;
    bool exists(const QString &devicePath) const;
    void writeSim(const QByteArray &json) const { write(QStringLiteral("/sim.json"), json); }

private:
    QTemporaryDir m_dir;
};

namespace TestEnv {
void resetGlobals();
// Moves G_timeTicks on by n ticks.
void advanceTicks(unsigned n);
// The parameter image's bytes.
QByteArray image();
// A receiving-card recovery file: one section per {port, cards, seed}, the
// block of its card k filled with seed + k.
QByteArray recoveryFile(const QVector<std::array<int, 3>> &sections, int format = 1);
// Several values compared in one go; a failure prints them all.
template <typename... T> auto ints(T... v) { return std::make_tuple(int(v)...); }
}

#endif
