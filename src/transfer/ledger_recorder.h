#pragma once
// What the transfer procedures record in the programming ledger: one entry per write (with the
// duplicate-capcode question before it when the installation asks for it) and one per
// complete read. A ledger that cannot be reached is said once and never stops programming.
#include <QString>

#include "image/image.h"
#include "ledger/ledger.h"

namespace zr730 {

struct ProgramState;

class LedgerRecorder {
public:
    LedgerRecorder(ProgramState &state, Ledger &ledger);

    // Before a write of image (prompts in PC codes): false when the user, asked about capcodes
    // already in other pagers, said No (the refusal is recorded).
    bool beforeWrite(const PagerImage &image);
    // After the write, with the image as written.
    void afterWrite(const PagerImage &image, LedgerOutcome outcome);
    void afterRead(const PagerImage &image);

private:
    LedgerEntry entry(const PagerImage &image, LedgerOutcome outcome) const;
    // One warning for a ledger that cannot be written; none again until it worked once more.
    void report(const QString &problem);

    ProgramState &m_state;
    Ledger &m_ledger;
    QString m_claim; // uid of the entry the current write was recorded under
    bool m_warned = false;
};

} // namespace zr730
