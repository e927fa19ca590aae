#include "core/json_guard.h"

#include <QFile>
#include <QFileInfo>
#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <sstream>

#include "core/utils.h"

namespace {
void say(QString *why, const QString &text)
{
    if (why)
        *why = text;
}
}

int JsonGuard::depth(const QByteArray &text, int limit)
{
    int level = 0;
    int deepest = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++level > deepest) {
                deepest = level;
                if (deepest > limit)
                    break;
            }
        } else if ((c == '}' || c == ']') && level > 0) {
            --level;
        }
    }
    return deepest;
}

JsonGuard::Result JsonGuard::parse(const QByteArray &text, boost::property_tree::ptree *root, QString *why)
{
    if (text.size() > MAX_BYTES) {
        say(why, QStringLiteral("larger than %1 bytes").arg(MAX_BYTES));
        return Refused;
    }
    if (depth(text) > MAX_DEPTH) {
        say(why, QStringLiteral("nested deeper than %1 levels").arg(MAX_DEPTH));
        return Refused;
    }
    namespace pt = boost::property_tree;
    pt::ptree parsed;
    try {
        std::istringstream in(std::string(text.constData(), size_t(text.size())));
        pt::read_json(in, parsed);
    } catch (const pt::ptree_error &e) {
        say(why, QString::fromLocal8Bit(e.what()));
        return Refused;
    }
    if (root)
        root->swap(parsed);
    return Parsed;
}

JsonGuard::Result JsonGuard::load(const QString &absolute, boost::property_tree::ptree *root, QString *why)
{
    const QString path = Utils::devicePath(absolute);
    const QFileInfo info(path);
    if (!info.exists()) {
        say(why, QStringLiteral("missing"));
        return Missing;
    }
    if (!info.isFile()) {
        say(why, QStringLiteral("not a plain file"));
        return Refused;
    }
    if (info.size() > MAX_BYTES) {
        say(why, QStringLiteral("larger than %1 bytes").arg(MAX_BYTES));
        return Refused;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(why, QStringLiteral("cannot be opened"));
        return Missing;
    }
    // one byte more than allowed tells a file that grew meanwhile
    return parse(file.read(MAX_BYTES + 1), root, why);
}
