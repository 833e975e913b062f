// ledger: the programming ledger's entries as a table or CSV, and a recorded image as a table file.

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_terminal.h"
#include "ledger/ledger.h"
#include "support/program_state.h"
#include "transfer/table_file.h"

#include <cstdio>

namespace zr730::cli {

namespace {

// The status of a listing or look-up that saw only part of the ledger.
int reach_status(LedgerReach reach)
{
    return reach == LedgerReach::Unreadable ? kExitFile : reach == LedgerReach::ThisStationOnly ? kExitLedgerLocal : kExitOk;
}

// The image of the one entry the identity names, as a table file.
int save_image(Ledger &book, const QString &given, const QString &path)
{
    const std::optional<QString> identity = ledger_identity(given);
    if (!identity) {
        err_line(QStringLiteral("zr730-cli ledger: \"%1\" is not an entry's id: give the id column of a listing "
                                "(%2 or more characters) or the whole uid")
                     .arg(given)
                     .arg(kLedgerShortIdLength));
        return kExitFile;
    }
    const LedgerLookup found = book.find(*identity);
    if (!found.problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + found.problem);
    if (found.uids.size() > 1) {
        err_line(QStringLiteral("zr730-cli ledger: the id %1 names %2 entries (%3); give more of it")
                     .arg(*identity)
                     .arg(found.uids.size())
                     .arg(found.uids.join(QStringLiteral(", "))));
        return kExitFile;
    }
    if (!found.entry || found.entry->image.size() != kImageSize) {
        err_line(QStringLiteral("zr730-cli ledger: there is no entry %1 with an image").arg(*identity));
        const int status = reach_status(found.reach);
        return status == kExitOk ? kExitFile : status;
    }
    PagerImage image;
    std::copy(found.entry->image.cbegin(), found.entry->image.cend(), reinterpret_cast<char *>(image.bytes().data()));
    const TableSaveResult saved = save_table_file(path, image);
    if (!saved.ok) {
        err_line(QStringLiteral("zr730-cli ledger: %1 was not written: %2").arg(path, saved.reason));
        return kExitFile;
    }
    return kExitOk;
}

} // namespace

int ledger(const Options &o)
{
    TerminalMessages messages(false, nullptr);
    ProgramState state(messages);
    load_installation(state);
    Ledger book(state.settings.ledger);

    if (o.imageId) {
        if (o.files.size() != 1) {
            err_line(QStringLiteral("zr730-cli ledger --image ID: give the table file to write"));
            return kExitUsage;
        }
        return save_image(book, *o.imageId, o.files[0]);
    }
    if (!o.files.isEmpty()) {
        err_line(QStringLiteral("zr730-cli ledger: no file is taken (did you mean --image ID FILE?)"));
        return kExitUsage;
    }
    QString problem;
    LedgerReach reach = LedgerReach::Whole;
    const QList<LedgerEntry> entries = book.list(o.filter, &problem, &reach);
    if (!problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + problem);
    // A listing that could not be read is no listing: a script must not take it for an empty ledger.
    if (reach == LedgerReach::Unreadable && entries.isEmpty()) return kExitFile;
    const QString text = o.csv ? ledger_csv(entries) : ledger_table(entries);
    std::fputs(text.toUtf8().constData(), stdout);
    return reach_status(reach);
}

} // namespace zr730::cli
