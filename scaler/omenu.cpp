#include "scaler/omenu.h"

#include <QFile>
#include <boost/property_tree/ptree.hpp>

#include "core/json_guard.h"
#include "core/logmsg.h"
#include "core/utils.h"

namespace pt = boost::property_tree;

namespace {

void readEntry(const pt::ptree &node, OSD_PARA *e)
{
    auto num = [&node](const char *key) { return node.get<int>(key, 0); };
    auto text = [&node](const char *key) {
        return QString::fromStdString(node.get<std::string>(key, std::string()));
    };
    e->type = num("type");
    e->status = num("status");
    e->x = num("x");
    e->y = num("y");
    e->w = num("w");
    e->h = num("h");
    e->effect = num("effect");
    e->speed = num("speed");
    e->staytime = num("staytime");
    e->h_align = num("h_align");
    e->v_align = num("v_align");
    e->back_enable = num("back_enable");
    e->back_color = text("back_color");
    e->layer = num("layer");
    e->startx = num("startx");
    e->starty = num("starty");
    e->fontw = num("fontw");
    e->fonth = num("fonth");
    e->wordspace = num("wordspace");
    e->verticalspace = num("verticalspace");
    e->font_color = text("font_color");
    e->texts = text("texts");
    e->bmp_start = num("bmp_start");
    e->bmp_end = num("bmp_end");
}

} // namespace

void get_json_omenu_para(char *path, OSD_LIST *list)
{
    if (!list)
        return;
    list->osdcount = 0;
    if (!path)
        return;
    const QString device = QString::fromLocal8Bit(path);
    pt::ptree root;
    QString why;
    const JsonGuard::Result read = JsonGuard::load(device, &root, &why);
    if (read == JsonGuard::Missing)
        return;
    if (read == JsonGuard::Refused) {
        qel_trace("json error: %s\n", why.toLocal8Bit().constData());
        QFile::remove(Utils::devicePath(device));
        return;
    }

    for (OSD_PARA &e : list->osdlist)
        e = OSD_PARA();
    int wanted = root.get<int>("osdcount", 0);
    if (wanted > OSD_LIST::MAX_ENTRIES)
        wanted = OSD_LIST::MAX_ENTRIES;
    int n = 0;
    if (auto entries = root.get_child_optional("osdlist")) {
        for (const auto &item : *entries) {
            if (n >= wanted)
                break;
            readEntry(item.second, &list->osdlist[n]);
            ++n;
        }
    }
    list->osdcount = n;
}

unsigned int omenu_color(const QString &text)
{
    const QString t = text.trimmed();
    if (!t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return 0;
    bool ok = false;
    const unsigned int v = t.mid(2).toUInt(&ok, 16);
    return ok ? (v & 0xFFFFFF) : 0;
}
