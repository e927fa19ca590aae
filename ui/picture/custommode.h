#ifndef QEL_UI_PICTURE_CUSTOMMODE_H
#define QEL_UI_PICTURE_CUSTOMMODE_H

#include <QDialog>
#include <QFont>
#include <QPointer>

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;

namespace Ui {
class CustomMode;
}

// The frame of each mode tile by slot, rewritten whenever the tiles are built.
extern QFrame *g_frame[16];
// Whichever of Recall and Delete was pressed last; it wears the highlight.
extern QPushButton *g_button_focus;

// User modes (page 4): the sixteen slots as tiles, what the selected slot
// holds (LED size, picture, audio, its windows and on-screen display), and
// recall and delete of a slot. Saving is the main menu's pop-up.
class CustomMode : public QDialog
{
    Q_OBJECT
public:
    explicit CustomMode(QWidget *parent = nullptr);
    ~CustomMode() override;

    void init();                // the tiles, brought up to date
    void lcd_para_init();       // the information lines of the selected slot
    void image_para_init();     // the preview of its windows and display menu
    void syncUpdate();          // refresh from para_sync (no code)
    void language_changed();
    void color_fill(QLabel *label, char index);

public slots:
    void on_Button_delete_clicked();
    void on_Button_use_clicked();
    void qel_button_mode_clicked();
    void on_Button_back_clicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void build_tiles();
    void ensure_frames(int upTo);   // frames 0..upTo
    void ensure_tiles();            // every frame and the buttons
    void refresh_tiles();
    void refresh_tile(int i);
    void place_badge();
    void show_slot();           // information lines and preview of the selected slot
    void move_focus(QPushButton *button);
    void add_window_row(QWidget *box, unsigned char *payload, int w);
    void add_osd(QWidget *box, int slot);

    Ui::CustomMode *ui;
    QPointer<QScrollArea> m_scroll;
    QPointer<QWidget> m_preview;
    QLabel *m_badge = nullptr;
    QPushButton *m_tile_buttons[16] = {};
    QFrame *m_frames[16] = {};  // this screen's tiles, as set in g_frame
    QPointer<QWidget> m_content;
    int m_built = 0;            // frames made so far
    int m_current = 0;          // the current mode at the last refresh
    QFont m_font;               // 10 point: preview rows
    QFont m_name_font;          // 20 px: tile names
};

#endif
