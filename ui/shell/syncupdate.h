#ifndef QEL_UI_SHELL_SYNCUPDATE_H
#define QEL_UI_SHELL_SYNCUPDATE_H

#include <QObject>

#include "core/types.h"

class QelRamPara;

// The refresh dispatcher: on every refresh code it serves the user-mode
// save request, repaints the visible screen, saves the settings part of the
// image when it changed and copies the image over the shadow, then shows
// the tips of the page. Runs on the GUI thread (connected queued).
class SyncUpdate : public QObject
{
    Q_OBJECT
public:
    static SyncUpdate *p_syncupdate;
    static SyncUpdate *pInstance();
    static void destroyInstance();   // tests

public slots:
    void para_sync(int code);

private:
    SyncUpdate();
    static void reload_user_modes(QelRamPara *para);
    static void serve_mode_save(QelRamPara *para);
    static void refresh_page(int code);
    static void refresh_screen(u8 page, int code);
    static void save_and_shadow(QelRamPara *para);
    static void show_tips(int code);
};

#endif
