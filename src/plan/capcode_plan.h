#pragma once
// A capcode plan: a CSV file with one row per pager (its label, the sticker text, and the
// capcodes and enable switches it receives on top of a base configuration), checked as a
// whole when opened, and its progress as the programming ledger records it. Used alike by the
// command line and the window; no widget here.
//
// The file: UTF-8 (a byte-order mark is skipped), a header row, then one row per pager; the
// separator is "," or ";", whichever the header uses more; fields may be quoted ("" inside
// quotes is one "); lines end in CRLF or LF. Header names are compared without case, spaces,
// "#", "_" and "-", so "Capcode #1", "capcode_1" and "CAPCODE1" are one column:
//   label               the sticker text (may be empty)
//   capcode1 … capcode6 a whole number 0 … 2097151; empty: as in the base configuration
//   enable1 … enable6   yes or no (also y/n, 1/0, on/off, true/false; x is yes);
//                       empty or absent: as in the base configuration ("enabled1" is taken too)
// Other columns (notes) are ignored. Rows whose cells are all empty are skipped. Rows are
// numbered 1, 2, … from the first row after the header; problems name the file line as well.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "image/capcodes.h"
#include "image/image.h"
#include "ledger/ledger.h"

namespace zr730 {

// One pager of the plan.
struct PlanRow {
    int number = 0; // 1 is the first row after the header
    int line = 0;   // the file line the row begins on (the header is line 1)
    QString label;
    std::array<std::optional<quint32>, kCapcodeCount> capcodes{}; // none: as in the base configuration
    std::array<std::optional<bool>, kCapcodeCount> enabled{};     // none: as in the base configuration
};

// One thing wrong with a plan.
struct PlanProblem {
    int line = 0;   // file line; 0 for the file as a whole
    int row = 0;    // plan row number; 0 for the header or the whole file
    QString column; // the column's name as this program spells it ("capcode1"); empty for a whole row
    QString text;
};
// "line 4 (row 3), capcode1: …" (or "line 1 (header): …", or the text alone).
QString plan_problem_text(const PlanProblem &problem);

struct CapcodePlan {
    QString name; // the file's name without its folder: what the ledger records
    QString path; // as given
    QList<PlanRow> rows;
    QList<PlanProblem> problems; // every problem the file has, in line order; none: the plan can be used
    bool ok() const { return problems.isEmpty(); }
    // The row numbered n; null when there is none.
    const PlanRow *row(int n) const;
    // The capcode records (0 … 5) that any row sets, capcode or enable switch, in order.
    QList<int> capcodeSlots() const;
};

// Reads and checks the plan file (a file that cannot be read is one problem). The checks: each
// capcode a whole number 0 … 2097151, each enable a yes or no, capcode #1 unique across rows,
// no row longer than the header, a header with a label or capcode column and no column twice.
CapcodePlan read_capcode_plan(const QString &path);
// The same on the file's bytes; name is what the plan is called.
CapcodePlan parse_capcode_plan(const QByteArray &bytes, const QString &name);

// The plan's capcodes #1 that the ledger holds as written and verified into a pager that is not
// this plan's same row: one problem each, for the caller to show and let the user confirm.
// ledgerProblem receives the ledger's warning (unreachable …), empty when it was read whole.
QList<PlanProblem> check_plan_against_ledger(const CapcodePlan &plan, Ledger &ledger, QString *ledgerProblem = nullptr);

// The base configuration with the row's capcodes and enable switches put in (through
// capcode_set, so each capcode's enable bit is kept unless the row sets it).
PagerImage apply_plan_row(const PagerImage &base, const PlanRow &row);

// The entry the ledger records for a write of this row (image and outcome as for any write).
void mark_plan_entry(LedgerEntry &entry, const CapcodePlan &plan, const PlanRow &row);

// The state of one row, from the ledger.
enum class PlanRowState {
    ToDo,     // no write of it yet (or only refused ones)
    Written,  // "written and verified"
    Failed,   // its latest write failed ("verify error", "write error") and none verified
    Writing,  // a write of it began less than kLedgerClaimSeconds ago (at this or another station)
};
// "to do", "written and verified", "failed", "being written".
QString plan_row_state_text(PlanRowState state);

struct PlanRowProgress {
    PlanRowState state = PlanRowState::ToDo;
    LedgerEntry entry; // the entry the state comes from (no image); empty uid for ToDo without one
};

struct PlanProgress {
    QList<PlanRowProgress> rows; // rows[i] belongs to plan.rows[i]
    int next = 0;                // number of the first row to do or failed (not written, not being written); 0: none
    QString problem;             // the ledger's warning, empty when it was read whole
    LedgerReach reach = LedgerReach::Whole;
};

// A row is the ledger's entries with the plan's name, the row's number and its label (a row
// whose label changed, or rows moved in the file, are rows to do again: the check against the
// ledger then names their capcodes #1 already written). now: for claims that have run out.
PlanProgress plan_progress(const CapcodePlan &plan, const QList<LedgerEntry> &planEntries,
                           const QDateTime &now = QDateTime::currentDateTimeUtc());
// The same, reading the plan's entries from the ledger (one query per database).
PlanProgress plan_progress(const CapcodePlan &plan, Ledger &ledger);

// The row numbers a text such as "1-5,8" names, in order, each once; none when the text is
// malformed or names a row the plan does not have (problem says which).
std::optional<QList<int>> plan_row_selection(const CapcodePlan &plan, const QString &text, QString *problem = nullptr);

// The meaning of an enable cell: yes/no, y/n, 1/0, on/off, true/false, x (yes), without case.
std::optional<bool> plan_switch(const QString &cell);

} // namespace zr730
