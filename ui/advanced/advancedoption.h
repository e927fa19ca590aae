#ifndef QEL_UI_ADVANCED_ADVANCEDOPTION_H
#define QEL_UI_ADVANCED_ADVANCEDOPTION_H

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "core/types.h"

class QLabel;
class QPushButton;
class PagedRows;

namespace Ui {
class AdvancedOption;
}

// Advanced settings (page 12): panel time-outs, receiving-card check and
// self-recovery, other settings (audio, switch effect, projection device,
// Wi-Fi, point-to-point), languages with the font status, the factory resets
// and the ageing log. The sources are split by page: advancedoption.cpp
// (frame, menu, settings pages, texts, refresh), advancedoption_resets.cpp,
// advancedoption_agelog.cpp and advancedoption_recovery.cpp.
class AdvancedOption : public QDialog
{
    Q_OBJECT
public:
    explicit AdvancedOption(QWidget *parent = nullptr);
    ~AdvancedOption() override;

    void para_init();
    void button_select(QPushButton *b);
    void lcd_language_deal();
    void language_changed();
    void syncUpdate(int code);

    // 1 while the receiving-card page is the chosen one
    int rcv_self_recovery_ornot();
    void rcv_self_recovery_file_list();

    // The slider's label of a return-to-home time in ticks: "30s", "1.5m", "3m".
    static QString time_text(int ticks);
    // One ageing log line as the page shows it; empty for a malformed line.
    static QString agelog_line(const QString &line);

signals:
    void sig_qround_bar_update(int value);

public slots:
    void on_Button_back_clicked();
    void confirmString(QString text);
    void ageloginit();
    void update_agelog();

private slots:
    // menu
    void on_Button_LCDshow_clicked();
    void on_Button_rcv_recovery_clicked();
    void on_Button_timeplan_clicked();
    void on_Button_other_clicked();
    void on_Button_factory_clicked();
    void on_Button_factory_age_clicked();
    // tabs
    void on_Button_plan_clicked();
    void on_Button_switch_clicked();
    void on_Button_language_clicked();
    void on_Button_reset_clicked();
    // time-outs
    void on_horizontalSlider_valueChanged(int value);
    void on_horizontalSlider_sliderReleased();
    void on_Button_5min_clicked();
    void on_Button_10min_clicked();
    void on_Button_never_clicked();
    // other settings
    void on_ImageVolume_currentIndexChanged(int index);
    void on_Button_volume_state_clicked();
    void on_Button_seamless_clicked();
    void on_Button_fade_clicked();
    void on_modeButton_clicked();
    void on_Button_wifi_state_clicked();
    void on_Button_DBD_open_clicked();
    void on_Button_DBD_close_clicked();
    // languages
    void on_Button_chinese_clicked();
    void on_Button_english_clicked();
    void on_Button_ru_clicked();
    void on_Button_vn_clicked();
    void on_Button_tn_clicked();
    // factory resets
    void on_Button_reset1_clicked();
    void on_Button_reset2_clicked();
    void on_Button_reset3_clicked();
    // ageing log
    void on_next_clicked();
    void on_pre_clicked();
    // receiving cards
    void on_Button_check_clicked();
    void on_Button_self_recovery_clicked();
    void card_row_chosen(int row);
    void qel_Button_previous_clicked();
    void qel_Button_next_clicked();
    void recovery_result(QStringList entries, int count);

private:
    enum Reset { KEEP_IP = 1, KEEP_IP_EDID = 2, RESET_ALL = 3 };

    bool menu_open(QPushButton *b, int page);
    void select_tab(QPushButton *tab, QPushButton *partner, QWidget *line, int x);
    void set_auto_lock(QPushButton *chosen);
    void choose_language(int code);
    void show_fonts();
    void show_volume_state(int position);
    int volume_window(int position) const;
    void set_switch_effect(bool fade);
    void set_point_to_point(bool on);
    void show_wifi(bool on);
    void read_recovery_count();
    bool settings_changed() const;

    void factory_reset(Reset which);
    void reset_network();
    void remove_user_modes();
    static void wifi_follow(u8 before, u8 after);

    void card_job_buttons(QPushButton *chosen);

    Ui::AdvancedOption *ui;

    u8 rcv_file_count = 0;                 // recovery files at the last language_changed()
    QPushButton *menu_selected = nullptr;
    QPushButton *reset_selected = nullptr;

    // ageing log page
    QString agelog_text;
    int agelog_page = 0;
    int agelog_open = 0;
    bool code_asked = false;               // the keypad runs for the access code

    // receiving-card list
    QPointer<PagedRows> card_list;
    QPointer<QLabel> chosen_row;
    int rcv_entry_count = 0;
    int rcv_entry_invalid = 0;
    i8 current_page = 0;
    u8 page_count = 0;
    QStringList rcv_entries;
};

#endif
