// File menu: table files.
#include "editor/main_window.h"

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
    open_table(m_state, host);
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

void MainWindow::open_default_table()
{
    MainWindowTableHost host(*this);
    zr730::open_default_table(m_state, host);
}

} // namespace zr730
