#ifndef QEL_UI_ADVANCED_MACHINESTATE_H
#define QEL_UI_ADVANCED_MACHINESTATE_H

#include <QDialog>

class QFrame;

namespace Ui {
class MachineState;
}

// Device status (page 2): serial number, output-port links, input signals
// and versions. It only shows; it writes nothing.
class MachineState : public QDialog
{
    Q_OBJECT
public:
    explicit MachineState(QWidget *parent = nullptr);
    ~MachineState() override;

    static const char *const MCU_VERSION;

    void version_changed();
    void initWlan();
    void source_check();
    void language_changed();
    // Refresh from the shell while page 2 is shown.
    void syncUpdate(int code);

public slots:
    void on_Button_back_clicked();

private:
    Ui::MachineState *ui;
    QFrame *ports_frame = nullptr;
};

#endif
