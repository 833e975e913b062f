// Pager menu: Read, Write and Verfy.
#include "editor/main_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTimer>

#include <utility>

#include "editor/dialogs/transfer_dialog.h"
#include "ledger/ledger.h"
#include "transfer/ledger_recorder.h"
#include "transfer/prompt_conversion.h"
#include "transfer/serial_link.h"
#include "transfer/transfer_procedures.h"

namespace zr730 {

namespace {

// The main window as the transfer procedures see it.
class MainWindowTransferHost : public TransferHost {
public:
    explicit MainWindowTransferHost(MainWindow &window) : m_window(window) {}
    void init_ctl() override { m_window.init_ctl(); }
    void read_capcode() override { m_window.read_capcode(); }
    void select_band_from_image() override { m_window.select_band_from_image(false); }
    int band_position() const override { return m_window.cboDft ? m_window.cboDft->currentIndex() : -1; }
    QString capcode_text(int index) const override
    {
        QLineEdit *box = m_window.txtAddr.at(std::size_t(index));
        return box ? box->text() : QString();
    }
    void set_capcode_text(int index, const QString &text) override
    {
        if (QLineEdit *box = m_window.txtAddr.at(std::size_t(index))) box->setText(text);
    }
    bool modify_mode() const override
    {
        return m_window.ModifyOpt ? m_window.ModifyOpt->isChecked() : !m_window.writeMode();
    }

private:
    MainWindow &m_window;
};

} // namespace

LedgerRecorder *MainWindow::ledgerRecorder()
{
    if (!m_recorder) {
        m_ledger = std::make_unique<Ledger>(m_state.settings.ledger, default_ledger_file());
        m_recorder = std::make_unique<LedgerRecorder>(m_state, *m_ledger);
    }
    return m_recorder.get();
}

Ledger &MainWindow::ledger()
{
    ledgerRecorder();
    return *m_ledger;
}

void MainWindow::readPager() { run_pager_command(0); }
void MainWindow::writePager() { run_pager_command(1); }
void MainWindow::verifyPager() { run_pager_command(2); }

PagerLink *MainWindow::transferLink()
{
    // Unless another link was set, the build's serial link moves the bytes.
    if (!m_link && m_state.link == LinkSelector::Usb) return serialLink();
    return m_link;
}

void MainWindow::run_pager_command(int mode)
{
    // While the board watch asks a new adapter for a board, the command waits for it to end
    // (the watch runs inside its own waits, so this is a later turn, not a loop here).
    if (PagerLink *link = transferLink(); link && link->busy()) {
        if (m_deferredCommand < 0)
            QTimer::singleShot(50, this, [this] {
                const int m = std::exchange(m_deferredCommand, -1);
                if (m >= 0 && !m_closing) run_pager_command(m);
            });
        m_deferredCommand = mode;
        return;
    }
    // A second Space or Pager command while one is being prepared or running is ignored.
    if (m_pagerCommandRunning) return;
    const QScopedValueRollback running(m_pagerCommandRunning, true);
    // Leaving the box in use commits its edit; a rejected frequency drops the command.
    commitFocus();
    m_state.transfer_mode = mode;
    QCoreApplication::processEvents();
    if (m_state.frequency_rejected) {
        m_state.frequency_rejected = false;
        return;
    }

    // The pager holds its prompts in its national character codes; the editor in PC codes.
    if (mode != 0) prompt_to_pager(m_state.image);
    {
        // The dialog is modal, but a screen reader's requests still reach the window: nothing
        // may change the image while it is being sent, read or compared.
        const InputHold hold(*this);
        MainWindowTransferHost host(*this);
        TransferDialog dialog(m_state, transferLink(), host, this, lptLink());
        dialog.setRecorder(ledgerRecorder());
        dialog.showModal();
    }
    if (mode != 0) prompt_to_pc(m_state.image);
    // Every control shows the image again: a disabled text box still takes a text from the
    // accessibility interface during the transfer, and that text was never stored.
    if (!m_state.program_ending) init_ctl();
}

} // namespace zr730
