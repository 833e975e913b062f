#pragma once
// The alert-length dialog: the personal alert length and the five mail-drop alert lengths.
// Its lists load from the image and every change is stored at once; "OK" closes it.
#include <QDialog>
#include <array>

#include "image/alert_options.h"
#include "support/program_state.h"

class QComboBox;
class QPushButton;

namespace zr730 {

class AlertsPage;

class AlertLengthDialog : public QDialog {
    Q_OBJECT
public:
    AlertLengthDialog(ProgramState &state, AlertsPage &page, QWidget *parent = nullptr);

    QComboBox *cboPersonal = nullptr;
    std::array<QComboBox *, kMailDropCount> cboMailAler{};
    QPushButton *Command1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onPersonalAlertChosen();
    void onMailDropAlertChosen(int i);

    ProgramState &m_state;
    AlertsPage &m_page;
};

} // namespace zr730
