#include "ui/shell/alias.h"

#include <QFile>
#include <boost/property_tree/ptree.hpp>
#include <map>
#include <mutex>
#include <vector>

#include "core/file_stamp.h"
#include "core/json_guard.h"
#include "core/logmsg.h"
#include "core/utils.h"

namespace pt = boost::property_tree;

namespace {

const char *const kFile = "/data/configs/alias.json";

struct Entry
{
    bool hasId = false;
    int id = 0;
    std::string valid;
    std::string name;
};

// The parsed names, by group in file order (the first group of a name counts).
struct Cache
{
    std::mutex mutex;
    bool valid = false;
    QString path;
    FileStamp stamp;
    std::map<std::string, std::vector<Entry>> groups;
    unsigned parses = 0;
};

Cache &cache()
{
    static Cache c;
    return c;
}

void fill(Cache &c, const pt::ptree &root)
{
    const auto namelist = root.get_child_optional("namelist");
    if (!namelist)
        return;
    for (const auto &g : *namelist) {
        if (c.groups.count(g.first))
            continue;
        std::vector<Entry> &entries = c.groups[g.first];
        for (const auto &item : g.second) {
            Entry e;
            if (const auto itemId = item.second.get_optional<int>("id")) {
                e.hasId = true;
                e.id = *itemId;
            }
            e.valid = item.second.get<std::string>("valid", "");
            e.name = item.second.get<std::string>("name", "");
            entries.push_back(std::move(e));
        }
    }
}

// Brings the cache up to the file on disk; called with the cache locked.
void reload(Cache &c)
{
    // under the file lock: a file another thread is still writing is neither
    // read half-written nor removed as broken
    std::lock_guard<std::mutex> fileLock(Utils::_file_deal_mutex);
    const QString path = Utils::devicePath(QString::fromLatin1(kFile));
    const FileStamp now = FileStamp::of(path);
    if (c.valid && path == c.path && now == c.stamp)
        return;
    c.valid = true;
    c.path = path;
    c.stamp = now;
    c.groups.clear();
    if (!now.exists)
        return;
    pt::ptree root;
    QString why;
    const JsonGuard::Result read = JsonGuard::load(QString::fromLatin1(kFile), &root, &why);
    if (read != JsonGuard::Missing)
        ++c.parses;
    if (read == JsonGuard::Parsed) {
        fill(c, root);
    } else if (read == JsonGuard::Refused) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("alias.json unreadable, removed: %1").arg(why));
        QFile::remove(path);
        c.stamp = FileStamp::of(path);
    } else {
        c.valid = false;   // could not be opened: try again next time
    }
}

}

int get_json_alias_para(ALIAS_PARA *out, std::string group, int id)
{
    if (!out)
        return 0;
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    reload(c);
    const auto g = c.groups.find(group);
    if (g == c.groups.end())
        return 0;
    for (const Entry &e : g->second) {
        if (!e.hasId || e.id != id)
            continue;
        if (e.valid == "off" || e.name.empty())
            return 0;
        out->id = id;
        out->valid = QString::fromStdString(e.valid);
        out->name = QString::fromStdString(e.name);
        return 1;
    }
    return 0;
}

void alias_refresh()
{
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.valid = false;
}

unsigned alias_parse_count()
{
    Cache &c = cache();
    std::lock_guard<std::mutex> lock(c.mutex);
    return c.parses;
}
