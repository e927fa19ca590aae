#include "core/sim_config.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <sstream>

#include "core/logmsg.h"
#include "core/utils.h"

SimConfig SimConfig::load()
{
    SimConfig cfg;
    bool ok = false;
    const QByteArray text = Utils::readFile(QStringLiteral("/sim.json"), &ok);
    if (!ok)
        return cfg;
    namespace pt = boost::property_tree;
    pt::ptree root;
    try {
        std::istringstream in(text.toStdString());
        pt::read_json(in, root);
        if (auto inputs = root.get_child_optional("inputs")) {
            for (const auto &item : *inputs) {
                SimInput in;
                in.slot = item.second.get<int>("slot", -1);
                in.width = item.second.get<int>("width", 0);
                in.height = item.second.get<int>("height", 0);
                in.rate = item.second.get<int>("rate", 0);
                if (in.slot >= 0 && in.slot <= 5)
                    cfg.inputs.append(in);
            }
        }
        if (auto fpgas = root.get_child_optional("fpgas")) {
            int f = 0;
            for (const auto &item : *fpgas) {
                if (f > 1)
                    break;
                cfg.fpgas[f].state = item.second.get<int>("state", 0);
                if (auto v = item.second.get_child_optional("version")) {
                    int i = 0;
                    for (const auto &n : *v)
                        if (i < 4)
                            cfg.fpgas[f].version[i++] = n.second.get_value<int>(0);
                }
                ++f;
            }
        }
        if (auto cards = root.get_child_optional("cards")) {
            for (const auto &item : *cards) {
                const int port = QString::fromStdString(item.first).toInt();
                if (port >= 1 && port <= 24)
                    cfg.cards[port - 1] = qBound(0, item.second.get_value<int>(0), 1024);
            }
        }
        if (auto reply = root.get_child_optional("card_reply")) {
            for (const auto &item : *reply) {
                const int port = QString::fromStdString(item.first).toInt();
                if (port >= 1 && port <= 24)
                    cfg.cardReply[port - 1] = QString::fromStdString(item.second.get_value<std::string>());
            }
        }
        cfg.fonts = root.get<int>("fonts", 0) & 0x0F;
        cfg.loaded = true;
    } catch (const std::exception &e) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("sim.json: %1").arg(QString::fromLocal8Bit(e.what())));
        return SimConfig();
    }
    return cfg;
}
