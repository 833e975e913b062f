// ledger: the programming ledger's entries as a table or CSV, and a recorded image as a table file.

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_terminal.h"
#include "ledger/ledger.h"
#include "support/program_state.h"
#include "transfer/table_file.h"

#include <cstdio>

namespace zr730::cli {

int ledger(const Options &o)
{
    TerminalMessages messages(false, nullptr);
    ProgramState state(messages);
    load_installation(state);
    Ledger book(state.settings.ledger);
    QString problem;

    if (o.imageId) {
        if (o.files.size() != 1) {
            err_line(QStringLiteral("zr730-cli ledger --image ID: give the table file to write"));
            return kExitUsage;
        }
        const auto entry = book.entry(*o.imageId, &problem);
        if (!problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + problem);
        if (!entry || entry->image.size() != kImageSize) {
            err_line(QStringLiteral("zr730-cli ledger: there is no entry %1 with an image").arg(*o.imageId));
            return kExitFile;
        }
        PagerImage image;
        std::copy(entry->image.cbegin(), entry->image.cend(), reinterpret_cast<char *>(image.bytes().data()));
        const TableSaveResult saved = save_table_file(o.files[0], image);
        if (!saved.ok) {
            err_line(QStringLiteral("zr730-cli ledger: %1 was not written: %2").arg(o.files[0], saved.reason));
            return kExitFile;
        }
        return kExitOk;
    }
    if (!o.files.isEmpty()) {
        err_line(QStringLiteral("zr730-cli ledger: no file is taken (did you mean --image ID FILE?)"));
        return kExitUsage;
    }
    const QList<LedgerEntry> entries = book.list(o.filter, &problem);
    if (!problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + problem);
    const QString text = o.csv ? ledger_csv(entries) : ledger_table(entries);
    std::fputs(text.toUtf8().constData(), stdout);
    return kExitOk;
}

} // namespace zr730::cli
