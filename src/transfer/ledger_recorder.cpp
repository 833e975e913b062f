#include "transfer/ledger_recorder.h"

#include "image/capcodes.h"
#include "support/program_state.h"
#include "support/texts.h"

namespace zr730 {

LedgerRecorder::LedgerRecorder(ProgramState &state, Ledger &ledger) : m_state(state), m_ledger(ledger) {}

LedgerEntry LedgerRecorder::entry(const PagerImage &image, LedgerOutcome outcome) const
{
    LedgerEntry e = make_ledger_entry(image, outcome, m_state.current_table_path);
    e.plan = m_plan;
    e.planRow = m_plan.isEmpty() ? 0 : m_planRow;
    e.planLabel = m_plan.isEmpty() ? QString() : m_planLabel;
    return e;
}

void LedgerRecorder::setPlanRow(const QString &plan, int row, const QString &label)
{
    m_plan = plan;
    m_planRow = row;
    m_planLabel = label;
}

void LedgerRecorder::report(const QString &problem)
{
    if (problem.isEmpty()) {
        m_warned = false;
        return;
    }
    if (m_warned || m_state.program_ending) return;
    m_warned = true;
    m_state.messages.show(problem, MsgIcon::Warning);
}

bool LedgerRecorder::beforeWrite(const PagerImage &image)
{
    m_claim.clear();
    m_rowTaken.reset();
    const LedgerEntry claim = entry(image, LedgerOutcome::Writing);
    LedgerBeginResult begun = m_ledger.beginWrite(claim, m_state.settings.ledger.checkDuplicates && m_plan.isEmpty());
    report(begun.problem);
    if (begun.rowTaken) {
        m_rowTaken = begun.rowTaken;
        return false;
    }
    if (!begun.duplicates.isEmpty()) {
        QStringList lines;
        for (const LedgerDuplicate &d : begun.duplicates) {
            const QString when = ledger_when(d.time);
            const QString capcode = QString::fromStdString(capcode_text(d.capcode));
            lines << (d.outcome == LedgerOutcome::Writing
                          ? QString::fromLatin1(text::kLedgerBeingWritten).arg(capcode, d.station, when)
                          : QString::fromLatin1(text::kLedgerWrittenBefore).arg(capcode, when, d.station));
        }
        lines << QString::fromLatin1(text::kLedgerProgramAgain);
        if (m_state.messages.show(lines.join(QLatin1Char('\n')), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
            report(m_ledger.record(entry(image, LedgerOutcome::Refused)));
            return false;
        }
        begun = m_ledger.beginWrite(claim, false);
        report(begun.problem);
    }
    m_claim = begun.uid;
    return true;
}

void LedgerRecorder::afterWrite(const PagerImage &image, LedgerOutcome outcome)
{
    if (m_claim.isEmpty()) {
        report(m_ledger.record(entry(image, outcome)));
        return;
    }
    report(m_ledger.finishWrite(m_claim, outcome, image));
    m_claim.clear();
}

void LedgerRecorder::afterRead(const PagerImage &image) { report(m_ledger.record(entry(image, LedgerOutcome::Read))); }

} // namespace zr730
