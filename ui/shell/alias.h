#ifndef QEL_UI_SHELL_ALIAS_H
#define QEL_UI_SHELL_ALIAS_H

#include <QString>
#include <string>

#include "core/types.h"

// One user-given name from "/data/configs/alias.json".
struct ALIAS_PARA
{
    i32 id = 0;
    QString valid;   // "off": not in use
    QString name;    // UTF-8 text, shown as plain text
};

// Looks up namelist.<group> for the element whose "id" equals id. 1 and
// `out` filled when it exists, is not "off" and has a name; else 0. A file
// that fails to parse is deleted. Groups: "source", "crop", "win", "usermode".
int get_json_alias_para(ALIAS_PARA *out, std::string group, int id);

#endif
