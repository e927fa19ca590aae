#include "core/logmsg.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "core/global.h"

namespace {
std::mutex traceMutex;
}

void writeLogMsg(int type, const QString &text)
{
    qel_trace("log %d: %s\n", type, text.toLocal8Bit().constData());
}

void qel_trace(const char *fmt, ...)
{
    if (g_debugSwitch.load(std::memory_order_relaxed) != 254)
        return;
    std::lock_guard<std::mutex> lock(traceMutex);
    va_list ap;
    va_start(ap, fmt);
    vfprintf(stdout, fmt, ap);
    va_end(ap);
    fflush(stdout);
}
