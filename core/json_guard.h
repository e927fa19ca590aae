#ifndef QEL_CORE_JSON_GUARD_H
#define QEL_CORE_JSON_GUARD_H

#include <QByteArray>
#include <QString>
#include <boost/property_tree/ptree_fwd.hpp>

// JSON files from outside are checked before the parser sees them: the
// parser recurses once per nesting level, so a deeply nested file would
// overflow the stack of the thread reading it, and a huge one its memory.
class JsonGuard
{
public:
    static constexpr qint64 MAX_BYTES = 8 * 1024 * 1024;   // far above any real file
    static constexpr int MAX_DEPTH = 32;                    // real files nest 3 or 4 deep

    enum Result { Missing, Refused, Parsed };

    // Reads the device file `absolute` and parses it into root. Missing: no
    // file, or it cannot be opened. Refused: not a plain file, too large,
    // nested too deep or not JSON; `why` says which. The file is never read
    // past MAX_BYTES.
    static Result load(const QString &absolute, boost::property_tree::ptree *root, QString *why = nullptr);

    // The same checks and parse on text already read.
    static Result parse(const QByteArray &text, boost::property_tree::ptree *root, QString *why = nullptr);

    // Deepest nesting of objects and arrays outside strings; counting stops
    // once it passes limit.
    static int depth(const QByteArray &text, int limit = MAX_DEPTH);
};

#endif
