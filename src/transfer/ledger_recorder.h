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

    // The writes that follow program this plan row: their entries carry the plan's name, the
    // row's number and label, the row is claimed in the ledger before anything is written, and
    // the duplicate-capcode question is left to the plan's own check when it was opened
    // (its group codes are shared by design). Empty plan: ordinary writes again.
    void setPlanRow(const QString &plan, int row, const QString &label);
    // Before a write of image (prompts in PC codes): false when the user, asked about capcodes
    // already in other pagers, said No (the refusal is recorded), or when the plan row is
    // already another write's (rowTaken() says whose; nothing is recorded).
    bool beforeWrite(const PagerImage &image);
    // The write that holds the plan row the last beforeWrite found taken.
    const std::optional<LedgerEntry> &rowTaken() const { return m_rowTaken; }
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
    QString m_plan;
    int m_planRow = 0;
    QString m_planLabel;
    std::optional<LedgerEntry> m_rowTaken;
    bool m_warned = false;
};

} // namespace zr730
