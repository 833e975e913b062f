// "Send 8648A": test pages through the GPIB signal generator for capcode #1 or every enabled
// capcode.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

#include <utility>
#include <vector>

#include "editor/main_window.h"
#include "platform/event_wait.h"
#include "support/texts.h"
#include "testpage/test_page.h"

namespace zr730 {

void MainWindow::sendTestPage()
{
    if (!m_instrument) m_instrument = make_instrument_layer(m_state.settings.gpib);
    m_instrument->setGiveUp([this] { return m_state.program_ending; });
    if (!m_testPagePause)
        m_testPagePause = [this](int ms) {
            wait_until(ms, [this] { return m_state.program_ending; }, UserInput::Deferred);
        };
    // The pauses and the generator's waits keep the window painting: it takes no input until
    // the run's message is answered, and the run is taken from it once, before the first page.
    const InputHold hold(*this);
    Command1->setEnabled(false);

    TestPage page;
    page.frequency = frequency_text(txtFreq->text().toDouble());
    page.rate = rate_text(cboCtl[9]->currentIndex());
    page.polarity = polarity_text(cboCtl[5]->currentIndex());
    page.type = "ALPH";
    std::array<bool, 6> enabled{};
    for (int k = 0; k < 6; ++k) enabled[std::size_t(k)] = chkCtl[10 + k]->isChecked();
    const std::vector<int> capcodes = capcodes_to_page(enabled, coNum->currentIndex() == 1);
    std::vector<std::string> capcodeTexts;
    for (const int k : capcodes) capcodeTexts.push_back(txtAddr[std::size_t(k - 1)]->text().toStdString());
    const std::string address = txtGPIB->text().toStdString();
    // A disabled box still takes a text from the accessibility interface (only stored by key
    // and focus events it cannot get): afterwards the boxes show again what the run sent.
    std::vector<std::pair<QPointer<QLineEdit>, QString>> shown{{txtFreq, txtFreq->text()}, {txtGPIB, txtGPIB->text()}};
    for (QLineEdit *box : txtAddr) shown.emplace_back(box, box->text());
    const auto showAgain = qScopeGuard([&shown] {
        for (const auto &[box, text] : shown)
            if (box && box->text() != text) box->setText(text);
    });

    for (std::size_t n = 0; n < capcodes.size(); ++n) {
        const int k = capcodes[n];
        page.capcode = capcodeTexts[n];
        page.message = test_message(k, page.capcode);
        const bool sent = send_test_page(*m_instrument, address, page);
        if (m_state.program_ending) return; // the window was closed: nothing more is sent or said
        if (!sent) {
            m_state.messages.show(QString::fromUtf8(text::kTransmitErrorHead) + QString::number(k)
                                      + QString::fromUtf8(text::kTransmitErrorTail),
                                  MsgIcon::None);
            Command1->setEnabled(true);
            return;
        }
        if (n + 1 < capcodes.size()) {
            m_testPagePause(kTestPagePauseMs);
            if (m_state.program_ending) return;
        }
    }
    m_state.messages.show(QString::fromUtf8(text::kTransmitSuccess), MsgIcon::None);
    Command1->setEnabled(true);
}

} // namespace zr730
