#include "core/sim_config.h"

#include <boost/property_tree/ptree.hpp>

#include "core/json_guard.h"
#include "core/logmsg.h"

SimConfig SimConfig::load()
{
    SimConfig cfg;
    namespace pt = boost::property_tree;
    pt::ptree root;
    QString why;
    switch (JsonGuard::load(QStringLiteral("/sim.json"), &root, &why)) {
    case JsonGuard::Missing:
        return cfg;
    case JsonGuard::Refused:
        writeLogMsg(LOG_FAILURE, QStringLiteral("sim.json: %1").arg(why));
        return cfg;
    case JsonGuard::Parsed:
        break;
    }
    try {
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
        cfg.settleMs = qBound(0, root.get<int>("settle_ms", SETTLE_MS), SETTLE_MS);
        cfg.loaded = true;
    } catch (const std::exception &e) {
        writeLogMsg(LOG_FAILURE, QStringLiteral("sim.json: %1").arg(QString::fromLocal8Bit(e.what())));
        return SimConfig();
    }
    return cfg;
}

bool SimConfig::sameFpga(const SimConfig &o, int f) const
{
    if (f < 0 || f > 1 || fpgas[f].state != o.fpgas[f].state)
        return false;
    for (int i = 0; i < 4; ++i)
        if (fpgas[f].version[i] != o.fpgas[f].version[i])
            return false;
    for (int k = 12 * f; k < 12 * f + 12; ++k)
        if (cards[k] != o.cards[k] || cardReply[k] != o.cardReply[k])
            return false;
    return true;
}
