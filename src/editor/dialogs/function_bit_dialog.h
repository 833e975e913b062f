#pragma once
// The function-bit dialog: message type, display, priority and enable of function bits A … D
// of one capcode's set. Every change is stored at once.
#include <QDialog>
#include <array>

#include "image/capcodes.h"
#include "support/program_state.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace zr730 {

class MainWindow;

class FunctionBitDialog : public QDialog {
    Q_OBJECT
public:
    FunctionBitDialog(ProgramState &state, MainWindow &main, QWidget *parent = nullptr);

    std::array<QComboBox *, 4> cboType{};
    std::array<QComboBox *, 4> cboDisp{};
    std::array<QCheckBox *, 4> chkPri{};
    std::array<QCheckBox *, 4> chkFunEn{};
    QLabel *Label3 = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void done(int result) override;

private:
    void load();
    void onDisplayChosen(int k);
    void onMessageTypeChosen(int k);
    void onPriorityToggled(int k);
    void onFunctionEnableToggled(int k);

    ProgramState &m_state;
    MainWindow &m_main;
    FunctionBitSet m_set;
    bool m_loading = false;
};

} // namespace zr730
