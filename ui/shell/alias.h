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
// that fails to parse (too large or nested too deep counts as such) is
// deleted. Groups: "source", "crop", "win", "usermode".
// The file is read and parsed once per change of its size, time or inode;
// every caller shares the parsed names.
int get_json_alias_para(ALIAS_PARA *out, std::string group, int id);

// Forgets the parsed names: the next look-up reads the file again.
void alias_refresh();

// How often the file has been read and parsed (tests).
unsigned alias_parse_count();

#endif
