// read, write and verify through the programmer board, as the window's Pager menu does them.
#include <QFileInfo>

#include <array>
#include <iostream>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_terminal.h"
#include "image/capcodes.h"
#include "image/pll.h"
#include "support/program_state.h"
#include "support/texts.h"
#include "ledger/ledger.h"
#include "transfer/board_connection.h"
#include "transfer/ledger_recorder.h"
#include "transfer/link_texts.h"
#include "transfer/prompt_conversion.h"
#include "transfer/table_file.h"
#include "transfer/transfer_procedures.h"

namespace zr730::cli {

namespace {

// The transfer procedures' view of a configuration without a window: the band is the one the
// image belongs to, the capcode boxes are texts kept here.
class CliHost : public TransferHost {
public:
    explicit CliHost(ProgramState &state) : m_state(state)
    {
        for (int i = 0; i < kCapcodeCount; ++i)
            m_capcodes[std::size_t(i)] = QString::fromStdString(zr730::capcode_text(capcode_get(state.image, i)));
    }
    void init_ctl() override {}
    void read_capcode() override {}
    void select_band_from_image() override {}
    int band_position() const override { return band_of_image(m_state.image).value_or(-1); }
    QString capcode_text(int index) const override { return m_capcodes.at(std::size_t(index)); }
    void set_capcode_text(int index, const QString &text) override { m_capcodes.at(std::size_t(index)) = text; }
    bool modify_mode() const override { return false; }

private:
    ProgramState &m_state;
    std::array<QString, kCapcodeCount> m_capcodes;
};

// The exit status of a failed transfer, from what it told the user.
int failure_status(const TerminalMessages &messages)
{
    if (messages.refused()) return kExitRefused; // RoHS or capcode question answered No
    if (messages.saw(text::kVerifyError)) return kExitDifferent;
    if (messages.saw(text::kNotZr730)) return kExitNotZr730;
    return kExitTransfer;
}

QString capcodes_line(const PagerImage &image)
{
    return QStringLiteral("capcode #1 %1, #2 %2")
        .arg(QString::fromStdString(capcode_text(capcode_get(image, 0))),
             QString::fromStdString(capcode_text(capcode_get(image, 1))));
}

} // namespace

int board(const QString &command, const Options &o)
{
    if (o.files.size() != 1) {
        err_line(QStringLiteral("zr730-cli %1: give one table file").arg(command));
        return kExitUsage;
    }
    if (o.series > 0 && command != QLatin1String("write")) {
        err_line(QStringLiteral("zr730-cli %1: --series belongs to write").arg(command));
        return kExitUsage;
    }
    if (!o.port.isEmpty() && !QFileInfo::exists(o.port)) {
        err_line(QStringLiteral("zr730-cli: the port %1 does not exist").arg(o.port));
        return kExitUsage;
    }

    TerminalProgress progress;
    TerminalMessages messages(o.yes, &progress);
    ProgramState state(messages);
    load_installation(state);
    // --port: that device is the only adapter looked at.
    if (!o.port.isEmpty()) {
        state.settings.adapterIds.clear();
        state.settings.extraPorts = {o.port};
    }

    const bool reading = command == QLatin1String("read");
    int status = kExitOk;
    if (!reading) {
        const auto image = load_table(o.files[0], status);
        if (!image) return status;
        state.image = *image;
    } else if (const QFileInfo out(o.files[0]); !QFileInfo(out.absolutePath()).isWritable()) {
        err_line(QStringLiteral("zr730-cli read: the folder of %1 cannot be written").arg(o.files[0]));
        return kExitFile;
    }

    BoardConnection connection(state, o.trace);
    if (const QString problem = connection.traceProblem(); !problem.isEmpty()) {
        err_line(QStringLiteral("zr730-cli: the trace file %1 cannot be written (%2)").arg(o.trace, problem));
        return kExitUsage;
    }
    SerialLink &link = connection.link();
    link.setProgress(&progress);
    if (!link.find_board()) {
        messages.show(QString::fromLatin1(text::kBoardNotResponding), MsgIcon::Warning);
        return kExitNoBoard;
    }
    CliHost host(state);
    TransferProcedures procedures(state, &link, host, &progress);
    // Writes and reads go into the programming ledger, with the table file they came from or went to.
    state.current_table_path = QFileInfo(o.files[0]).absoluteFilePath();
    Ledger book(state.settings.ledger);
    LedgerRecorder recorder(state, book);
    procedures.setRecorder(&recorder);

    if (reading) {
        procedures.read_pager();
        progress.endLine();
        if (state.transfer_result != 0) return failure_status(messages);
        const TableSaveResult saved = save_table_file(o.files[0], state.image);
        if (!saved.ok) {
            err_line(QStringLiteral("zr730-cli read: %1 was not written: %2").arg(o.files[0], saved.reason));
            return kExitFile;
        }
        return kExitOk;
    }

    // The pager holds its prompts in its national character codes.
    prompt_to_pager(state.image);
    if (command == QLatin1String("verify")) {
        procedures.tbl_verify(0, kImageLastIndex);
        progress.endLine();
        return state.transfer_result == 0 ? kExitOk : failure_status(messages);
    }

    state.auto_increase_1st = o.increment1st;
    state.auto_increase_2nd = o.increment2nd;
    const int pagers = qMax(1, o.series);
    for (int n = 1; n <= pagers; ++n) {
        if (pagers > 1) {
            err_line(QStringLiteral("Pager %1 of %2: %3").arg(n).arg(pagers).arg(capcodes_line(state.image)));
            if (n > 1) {
                err_line(QStringLiteral("Put the next pager on the board and press Enter."));
                std::string line;
                if (!std::getline(std::cin, line)) {
                    err_line(QStringLiteral("Series stopped after %1 of %2 pagers.").arg(n - 1).arg(pagers));
                    return kExitRefused;
                }
            }
        }
        procedures.write_one_pager();
        progress.endLine();
        if (state.transfer_result != 0) {
            if (pagers > 1) err_line(QStringLiteral("Series stopped at pager %1 of %2.").arg(n).arg(pagers));
            return failure_status(messages);
        }
    }
    if (pagers > 1) err_line(QStringLiteral("%1 pagers programmed; next: %2").arg(pagers).arg(capcodes_line(state.image)));
    return kExitOk;
}

} // namespace zr730::cli
