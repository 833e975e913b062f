// File menu: table files.
#include "editor/form1.h"

#include "transfer/table_commands.h"

namespace zr730 {

namespace {

// The main window as the table-file procedures see it.
class Form1TableHost : public TableFileHost {
public:
    explicit Form1TableHost(Form1 &window) : m_window(window) {}
    void select_band_from_image() override { m_window.select_band_from_image(); }
    void show_path_in_title(const QString &path) override { m_window.show_path_in_title(path); }

private:
    Form1 &m_window;
};

} // namespace

void Form1::mnuLBFF_Click()
{
    Form1TableHost host(*this);
    open_table(m_state, host);
}

void Form1::mnuSBTF_Click()
{
    Form1TableHost host(*this);
    save_table(m_state, host);
}

void Form1::mnuSA_Click()
{
    Form1TableHost host(*this);
    save_table_as(m_state, host);
}

void Form1::open_default_table()
{
    Form1TableHost host(*this);
    zr730::open_default_table(m_state, host);
}

} // namespace zr730
