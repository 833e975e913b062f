#pragma once
// A pager link without hardware: a 1024-byte pager memory, a record of the calls and
// failures on request.
#include <QStringList>

#include <algorithm>
#include <functional>

#include "support/program_state.h"
#include "transfer/pager_link.h"

namespace zr730::testing {

class FakePagerLink : public PagerLink {
public:
    explicit FakePagerLink(ProgramState &state) : m_state(state) { pager.fill(0xFF); }

    bool block_write(const PagerImage &image, int start, int stop, int blockSize) override
    {
        calls << QStringLiteral("write %1-%2/%3").arg(start).arg(stop).arg(blockSize);
        if (progress) {
            progress->setMaximum(stop - 16);
            progress->useHighlightColour();
            progress->setStatus(QStringLiteral("Writing Now......."));
        }
        if (failWrite) {
            m_state.messages.show(QStringLiteral("fake write failure"), MsgIcon::None);
            return false;
        }
        for (int a = start; a <= stop; ++a) {
            pager[std::size_t(a)] = image[a];
            if (progress && a % blockSize == 0) progress->setPosition(a);
        }
        if (progress) progress->setPosition(stop + 1);
        ++writes;
        return true;
    }

    bool block_read(int start, int stop, int blockSize) override
    {
        calls << QStringLiteral("read %1-%2/%3").arg(start).arg(stop).arg(blockSize);
        if (progress) statusDuringRead << statusProbe();
        m_state.read_buffer.assign(std::size_t(stop) + 1, 0);
        if (failReadStartingAt >= 0 && start == failReadStartingAt) {
            m_state.messages.show(QStringLiteral("fake read failure"), MsgIcon::None);
            m_state.transfer_result = -1;
            return false;
        }
        for (int a = start; a <= stop; ++a) {
            m_state.read_buffer[std::size_t(a)] = pager[std::size_t(a)];
            if (progress && a % blockSize == 0) progress->setPosition(a);
        }
        // A pager that changed after the write, for verify failures.
        if (corruptOnRead >= start && corruptOnRead <= stop) m_state.read_buffer[std::size_t(corruptOnRead)] ^= 0x01;
        return true;
    }

    void setProgress(TransferProgress *p) override { progress = p; }
    bool busy() const override { return linkBusy; }

    ImageBytes pager{};
    QStringList calls;
    int writes = 0;
    bool failWrite = false;
    bool linkBusy = false; // as while the board watch probes
    int failReadStartingAt = -1;
    int corruptOnRead = -1;
    TransferProgress *progress = nullptr;
    // What the dialog showed when each read began (set by the test).
    std::function<QString()> statusProbe = [] { return QString(); };
    QStringList statusDuringRead;

private:
    ProgramState &m_state;
};

} // namespace zr730::testing
