#ifndef QEL_CORE_LOGMSG_H
#define QEL_CORE_LOGMSG_H

#include <QString>

// Failure reports: type 1 failure, 2 missing object, 3 notice.
// The sink keeps nothing on the device; here it goes to the console trace.
enum LogType { LOG_FAILURE = 1, LOG_MISSING = 2, LOG_NOTICE = 3 };
void writeLogMsg(int type, const QString &text);

// Console trace, printed only while g_debugSwitch is 254.
void qel_trace(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

#endif
