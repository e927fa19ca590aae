#include "core/json_guard.h"

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
    Utils::ReadStatus status;
    const QByteArray text = Utils::readFile(absolute, MAX_BYTES, &status);
    switch (status) {
    case Utils::ReadStatus::Read:
        return parse(text, root, why);
    case Utils::ReadStatus::Missing:
    case Utils::ReadStatus::Unreadable:
        say(why, Utils::readStatusText(status, MAX_BYTES));
        return Missing;
    case Utils::ReadStatus::NotRegular:
    case Utils::ReadStatus::TooLarge:
        break;
    }
    say(why, Utils::readStatusText(status, MAX_BYTES));
    return Refused;
}
