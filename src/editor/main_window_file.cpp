// File menu: table files and the ledger window.
#include "editor/main_window.h"

#include "editor/ledger_window.h"
#include "ledger/ledger.h"
#include "support/texts.h"
#include "transfer/table_commands.h"

namespace zr730 {

namespace {

// The main window as the table-file procedures see it.
class MainWindowTableHost : public TableFileHost {
public:
    explicit MainWindowTableHost(MainWindow &window) : m_window(window) {}
    void select_band_from_image() override { m_window.select_band_from_image(); }
    void show_path_in_title(const QString &path) override { m_window.show_path_in_title(path); }

private:
    MainWindow &m_window;
};

} // namespace

void MainWindow::openTableFile()
{
    MainWindowTableHost host(*this);
    if (open_table(m_state, host)) planBaseReplaced();
}

void MainWindow::saveTableFile()
{
    MainWindowTableHost host(*this);
    save_table(m_state, host);
}

void MainWindow::saveTableFileAs()
{
    MainWindowTableHost host(*this);
    save_table_as(m_state, host);
}

LedgerWindow *MainWindow::ledgerWindow() const { return m_ledgerWindow; }

void MainWindow::openLedgerWindow()
{
    if (inputHeld() || m_closing) return;
    if (!m_ledgerWindow) m_ledgerWindow = new LedgerWindow(*this, ledger(), this);
    m_ledgerWindow->show();
    m_ledgerWindow->raise();
    m_ledgerWindow->activateWindow();
}

void MainWindow::openLedgerImage(const LedgerEntry &entry)
{
    // Never in the middle of a transfer or a test page: they own the image until they end.
    if (inputHeld() || m_closing || entry.image.size() != kImageSize) return;
    // The ledger keeps images as table files do (prompts in PC codes), so the load is File ▸ Open's.
    std::copy(entry.image.cbegin(), entry.image.cend(), m_state.image.bytes().begin());
    MainWindowTableHost host(*this);
    host.select_band_from_image();
    host.show_path_in_title(QString::fromLatin1(text::kLedgerTitleSource).arg(entry.uid.left(kLedgerShortIdLength)));
    planBaseReplaced();
}

void MainWindow::open_default_table()
{
    MainWindowTableHost host(*this);
    zr730::open_default_table(m_state, host);
}

} // namespace zr730
