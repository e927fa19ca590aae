#include "ui/shell/alias.h"

#include <QFile>
#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <mutex>
#include <sstream>

#include "core/logmsg.h"
#include "core/utils.h"

namespace pt = boost::property_tree;

int get_json_alias_para(ALIAS_PARA *out, std::string group, int id)
{
    const QString file = QStringLiteral("/data/configs/alias.json");
    if (!out)
        return 0;

    // under the file lock: a file another thread is still writing is
    // neither read half-written nor removed as broken
    pt::ptree root;
    {
        std::lock_guard<std::mutex> lock(Utils::_file_deal_mutex);
        bool ok = false;
        const QByteArray data = Utils::readFile(file, &ok);
        if (!ok)
            return 0;
        try {
            std::istringstream in(data.toStdString());
            pt::read_json(in, root);
        } catch (const pt::ptree_error &e) {
            writeLogMsg(LOG_FAILURE,
                        QStringLiteral("alias.json unreadable, removed: %1").arg(QString::fromUtf8(e.what())));
            QFile::remove(Utils::devicePath(file));
            return 0;
        }
    }

    const auto namelist = root.get_child_optional("namelist");
    if (!namelist)
        return 0;
    for (const auto &g : *namelist) {
        if (g.first != group)
            continue;
        for (const auto &item : g.second) {
            const auto itemId = item.second.get_optional<int>("id");
            if (!itemId || *itemId != id)
                continue;
            const std::string valid = item.second.get<std::string>("valid", "");
            const std::string name = item.second.get<std::string>("name", "");
            if (valid == "off" || name.empty())
                return 0;
            out->id = id;
            out->valid = QString::fromStdString(valid);
            out->name = QString::fromStdString(name);
            return 1;
        }
        return 0;
    }
    return 0;
}
