#pragma once
// The alert and status options that are more than one bit field: the alert-length summary on
// "Code and Features" (with the dialog AlertLengthDialog), and on "Alerts and Status" the battery gauge,
// the out-of-range and lockout timers, the menu of the pager with its tone, the screen contrast
// and the pager password. MainWindow owns the page and calls its decode steps from init_ctl.
#include <QObject>
#include <array>

#include "image/alert_options.h"
#include "support/program_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zr730 {

class MainWindow;
class SliderControl;

class AlertsPage : public QObject {
    Q_OBJECT
public:
    AlertsPage(ProgramState &state, MainWindow &main);

    // Builds the controls into the frames the main window made for them.
    void buildAlertLengthFrame(QWidget *frame);
    void buildStatusControls(QWidget *alertsFrame, QWidget *menuFrame, QWidget *manualFrame);

    // Decode steps of init_ctl, in the order it calls them.
    void show_lockout();        // cboSLC
    void show_out_of_range();   // cboORC
    void show_contrast();       // Slider1, lblContrast, lblValue
    void show_menu_and_tone();  // chkMenu(0 … 6), cboTone
    void read_pass();
    void read_BatLev();
    void read_Alert();

    // Handlers
    void editAlertLengths();
    void onBatteryLevelChosen(int i);
    void onOutOfRangeTimeChosen();
    void onSequentialLockoutChosen();
    void onToneChosen();
    void onMenuItemToggled(int i);
    void onContrastChanged();
    // The personal alert length changed in AlertLengthDialog: summary and "Manual Alert Override" box follow.
    void personal_alert_changed();

    // Controls, by their names.
    QPushButton *cmdAlert = nullptr;
    std::array<QLabel *, 6> lblLength{};
    QLabel *lblPersonal = nullptr;
    std::array<QLabel *, kMailDropCount> lblMail{};
    std::array<QComboBox *, kBatteryListCount> cboBatLev{};
    QComboBox *cboORC = nullptr, *cboSLC = nullptr, *cboTone = nullptr;
    std::array<QCheckBox *, kMenuItemCount> chkMenu{};
    SliderControl *Slider1 = nullptr;
    QLabel *lblValue = nullptr, *lblContrast = nullptr;
    QLineEdit *txtPass = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onPasswordKeyUp();
    void setContrastGrey(int grey);
    // lblValue: the slider's value, announced as "Screen Contrast: v".
    void showContrastValue();

    ProgramState &m_state;
    MainWindow &m_main;
};

} // namespace zr730
