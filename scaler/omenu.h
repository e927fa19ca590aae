#ifndef QEL_SCALER_OMENU_H
#define QEL_SCALER_OMENU_H

#include <QString>

// One on-screen-display entry of the menu file.
struct OSD_PARA
{
    int type = 0;
    int status = 0;
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int effect = 0;
    int speed = 0;
    int staytime = 0;
    int h_align = 0;
    int v_align = 0;
    int back_enable = 0;
    QString back_color;   // "0xRRGGBB"
    int layer = 0;
    int startx = 0;
    int starty = 0;
    int fontw = 0;
    int fonth = 0;
    int wordspace = 0;
    int verticalspace = 0;
    QString font_color;   // "0xRRGGBB"
    QString texts;        // lines separated by "\n"
    int bmp_start = 0;
    int bmp_end = 0;
};

// The on-screen-display menu: {"osdcount": n, "osdlist": [ {...}, ... ]}
struct OSD_LIST
{
    static constexpr int MAX_ENTRIES = 3;
    int osdcount = 0;
    OSD_PARA osdlist[MAX_ENTRIES];
};

// Reads the menu file at the device path `path`. The count is 0 first; a
// missing file leaves the list as it is, a file that does not parse is
// removed. At most three entries, the unused ones cleared.
void get_json_omenu_para(char *path, OSD_LIST *list);

// "0xFF0000" -> 0xFF0000; anything else 0.
unsigned int omenu_color(const QString &text);

#endif
