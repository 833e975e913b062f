#pragma once
// The alert and status options that are more than one bit field: the alert-length summary on
// "Code and Features" (with the dialog Form6), and on "Alerts and Status" the battery gauge,
// the out-of-range and lockout timers, the menu of the pager with its tone, the screen contrast
// and the pager password. Form1 owns the page and calls its decode steps from init_ctl.
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

class Form1;
class ctlEBSlider;

class AlertsPage : public QObject {
    Q_OBJECT
public:
    AlertsPage(ProgramState &state, Form1 &main);

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
    void cmdAlert_Click();
    void cboBatLev_Click(int i);
    void cboORC_Click();
    void cboSLC_Click();
    void cboTone_Click();
    void chkMenu_Click(int i);
    void Slider1_Changed();
    // The personal alert length changed in Form6: summary and "Manual Alert Override" box follow.
    void personal_alert_changed();

    // Controls, by their names.
    QPushButton *cmdAlert = nullptr;
    std::array<QLabel *, 6> lblLength{};
    QLabel *lblPersonal = nullptr;
    std::array<QLabel *, kMailDropCount> lblMail{};
    std::array<QComboBox *, kBatteryListCount> cboBatLev{};
    QComboBox *cboORC = nullptr, *cboSLC = nullptr, *cboTone = nullptr;
    std::array<QCheckBox *, kMenuItemCount> chkMenu{};
    ctlEBSlider *Slider1 = nullptr;
    QLabel *lblValue = nullptr, *lblContrast = nullptr;
    QLineEdit *txtPass = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtPass_KeyUp();
    void setContrastGrey(int grey);

    ProgramState &m_state;
    Form1 &m_main;
};

} // namespace zr730
