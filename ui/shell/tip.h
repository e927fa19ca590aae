#ifndef QEL_UI_SHELL_TIP_H
#define QEL_UI_SHELL_TIP_H

#include <QDialog>
#include <QPointer>

#include "core/types.h"

// The tip pop-up: code 1 check mark, 2 nothing, 3/4/5 the USB texts
// (inserted / removed / ready). Shown application-modal with show(); the
// 10 ms tick hides it after 300 ticks; a new tip replaces the old.
class TIP : public QDialog
{
    Q_OBJECT
public:
    explicit TIP(QWidget *parent = nullptr);
    ~TIP() override;

    void tip_create(int code);
    // Called from the tick: hides the tip once 300 ticks have passed.
    void tick();
    int code() const { return m_code; }   // what shows now (0 none)

private:
    void clear_content();

    QPointer<QWidget> m_content;
    int m_code = 0;
    u32 m_shown_at = 0;
};

#endif
