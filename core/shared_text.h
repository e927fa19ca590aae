#ifndef QEL_CORE_SHARED_TEXT_H
#define QEL_CORE_SHARED_TEXT_H

#include <QString>
#include <mutex>

// A text global that one thread may write while others read it.
class SharedText
{
public:
    explicit SharedText(const char *init) : m_value(QString::fromUtf8(init)) {}
    SharedText(const SharedText &) = delete;

    SharedText &operator=(const QString &value)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_value = value;
        return *this;
    }
    QString get() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_value;
    }
    operator QString() const { return get(); }
    bool operator==(const QString &other) const { return get() == other; }
    bool operator!=(const QString &other) const { return get() != other; }

private:
    mutable std::mutex m_mutex;
    QString m_value;
};

#endif
