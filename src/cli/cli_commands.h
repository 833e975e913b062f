#pragma once
// The commands of the command-line companion and their exit statuses.
#include <QString>
#include <QStringList>

#include <optional>

#include "ledger/ledger.h"
#include "plan/capcode_plan.h"

namespace zr730::cli {

// One exit status per outcome (the README lists them).
enum Exit : int {
    kExitOk = 0,
    kExitDifferent = 1, // diff: the files differ; verify: the pager differs from the file
    kExitUsage = 2,     // bad arguments
    kExitFile = 3,      // a file cannot be read, is no table file (or a plan with problems), or cannot be written
    kExitNoBoard = 4,   // no programmer board answers
    kExitTransfer = 5,  // the read or write failed on the way (time-out, checksum, lost board)
    kExitRefused = 6,   // a question was answered No, or a series was stopped
    kExitNotZr730 = 7,  // the pager on the board is not a ZR730
    kExitLedgerLocal = 8, // ledger: the server could not be reached; only this station's entries were looked at
};

struct Options {
    QStringList files;    // the command's file arguments
    bool json = false;    // info --json
    QString port;         // --port PATH
    QString trace;        // --trace FILE
    bool yes = false;     // --yes
    int series = 0;       // write --series N (0: one pager)
    bool increment1st = false, increment2nd = false; // --increment 1st,2nd
    LedgerFilter filter;          // ledger --capcode, --from, --to, --station, --outcome
    bool csv = false;             // ledger --csv
    std::optional<QString> imageId; // ledger --image ID
    QString plan;                   // write --plan PLAN.csv (ledger --plan NAME is in filter)
    int row = 0;                    // write --row N (0: the plan's remaining rows)
    QString rows;                   // labels --rows 1-5,8
    QString page = QStringLiteral("a4"); // labels --page a4|letter
    QString output;                 // labels -o FILE.pdf
};

int info(const Options &o);
int diff(const Options &o);
// read, write and verify through the programmer board.
int board(const QString &command, const Options &o);
// The programming ledger: a listing, or one entry's image as a table file.
int ledger(const Options &o);
// plan check PLAN.csv, plan status PLAN.csv.
int plan(const Options &o);
// labels PLAN.csv: the label sheet as PDF.
int labels(const Options &o);

class TerminalMessages;
// The plan at path, checked whole: its problems on stderr (status kExitFile), then its capcodes
// #1 already written into other pagers, asked about once (No: status kExitRefused). None when
// it cannot be used; status is set then.
std::optional<CapcodePlan> open_plan(const QString &path, Ledger &book, TerminalMessages &messages, int &status);

} // namespace zr730::cli
