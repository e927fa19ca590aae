#ifndef QEL_CORE_FILE_STAMP_H
#define QEL_CORE_FILE_STAMP_H

#include <QString>
#include <sys/stat.h>
#include <sys/types.h>

// What identifies one version of a file: a parsed copy is good while the
// stamp of the file has not changed.
struct FileStamp
{
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime = {0, 0};
    timespec ctime = {0, 0};

    static FileStamp of(const QString &path);   // a host path
    bool operator==(const FileStamp &o) const;
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};

#endif
