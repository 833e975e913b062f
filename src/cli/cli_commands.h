#pragma once
// The commands of the command-line companion and their exit statuses.
#include <QString>
#include <QStringList>

#include <optional>

#include "ledger/ledger.h"

namespace zr730::cli {

// One exit status per outcome (the README lists them).
enum Exit : int {
    kExitOk = 0,
    kExitDifferent = 1, // diff: the files differ; verify: the pager differs from the file
    kExitUsage = 2,     // bad arguments
    kExitFile = 3,      // a file cannot be read, is no table file, or cannot be written
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
};

int info(const Options &o);
int diff(const Options &o);
// read, write and verify through the programmer board.
int board(const QString &command, const Options &o);
// The programming ledger: a listing, or one entry's image as a table file.
int ledger(const Options &o);

} // namespace zr730::cli
