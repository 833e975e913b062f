// "Send 8648A": test pages through the GPIB signal generator for capcode #1 or every enabled
// capcode.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "editor/form1.h"
#include "platform/event_wait.h"
#include "support/texts.h"
#include "testpage/test_page.h"

namespace zr730 {

void Form1::Command1_Click()
{
    Command1->setEnabled(false);
    if (!m_instrument) m_instrument = make_instrument_layer(m_state.settings.gpib);
    if (!m_testPagePause)
        m_testPagePause = [](int ms) { wait_until(ms, [] { return false; }, UserInput::Deferred); };

    TestPage page;
    page.frequency = frequency_text(txtFreq->text().toDouble());
    page.rate = rate_text(cboCtl[9]->currentIndex());
    page.polarity = polarity_text(cboCtl[5]->currentIndex());
    page.type = "ALPH";
    std::array<bool, 6> enabled{};
    for (int k = 0; k < 6; ++k) enabled[std::size_t(k)] = chkCtl[10 + k]->isChecked();
    const std::vector<int> capcodes = capcodes_to_page(enabled, coNum->currentIndex() == 1);
    const std::string address = txtGPIB->text().toStdString();

    for (std::size_t n = 0; n < capcodes.size(); ++n) {
        const int k = capcodes[n];
        page.capcode = txtAddr[k - 1]->text().toStdString();
        page.message = test_message(k, page.capcode);
        if (!send_test_page(*m_instrument, address, page)) {
            m_state.messages.show(QString::fromUtf8(text::kTransmitErrorHead) + QString::number(k)
                                      + QString::fromUtf8(text::kTransmitErrorTail),
                                  MsgIcon::None);
            Command1->setEnabled(true);
            return;
        }
        if (n + 1 < capcodes.size()) m_testPagePause(kTestPagePauseMs);
    }
    m_state.messages.show(QString::fromUtf8(text::kTransmitSuccess), MsgIcon::None);
    Command1->setEnabled(true);
}

} // namespace zr730
