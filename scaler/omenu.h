#ifndef QEL_SCALER_OMENU_H
#define QEL_SCALER_OMENU_H

#include <QString>

// The numbers of one on-screen-display entry, as the menu file gives them
// and the chip takes them.
struct OSD_LAYOUT
{
    int type = 0, status = 0;
    int x = 0, y = 0, w = 0, h = 0;
    int effect = 0, speed = 0, staytime = 0;
    int h_align = 0, v_align = 0;
    int back_enable = 0;
    int layer = 0;
    int startx = 0, starty = 0, fontw = 0, fonth = 0, wordspace = 0, verticalspace = 0;
    int bmp_start = 0, bmp_end = 0;
};

// One on-screen-display entry of the menu file.
struct OSD_PARA : OSD_LAYOUT
{
    QString back_color;   // "0xRRGGBB"
    QString font_color;   // "0xRRGGBB"
    QString texts;        // lines separated by "\n"
};

// The on-screen-display menu: {"osdcount": n, "osdlist": [ {...}, ... ]}
struct OSD_LIST
{
    static constexpr int MAX_ENTRIES = 3;
    int osdcount = 0;
    OSD_PARA osdlist[MAX_ENTRIES];
};

// Reads the menu file at the device path `path`. The count is 0 first; a
// missing file leaves the list as it is, a file that does not parse (too
// large or nested too deep counts as such) is removed. At most three
// entries, the unused ones cleared.
void get_json_omenu_para(char *path, OSD_LIST *list);

// "0xFF0000" -> 0xFF0000; anything else 0.
unsigned int omenu_color(const QString &text);

#endif
