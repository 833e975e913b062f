// read, write and verify through the programmer board, as the window's Pager menu does them.
#include <QFileInfo>

#include <QSet>

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
#include "plan/capcode_plan.h"
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

// Waits for Enter; false at the end of input.
bool enter_pressed()
{
    std::string line;
    return bool(std::getline(std::cin, line));
}

QString row_name(const PlanRow &row)
{
    return row.label.isEmpty() ? QStringLiteral("row %1").arg(row.number)
                               : QStringLiteral("row %1 (\"%2\")").arg(row.number).arg(row.label);
}

// The plan's remaining rows (or row o.row alone), one pager each, Enter between pagers. The
// next row is taken from the ledger before each pager, so a row another station has begun is
// passed over, and a row that failed here is offered again. The base is a copy: each pager's
// image is made in state.image, and a capcode a row leaves empty must come from the base
// configuration, not from the row written before it.
int write_plan(const Options &o, const CapcodePlan &plan, const PagerImage base, ProgramState &state,
               TransferProcedures &procedures, LedgerRecorder &recorder, Ledger &book, TerminalMessages &messages,
               TerminalProgress &progress)
{
    int last = kExitOk;      // the status of the last pager tried
    int attempts = 0;        // pagers put on the board
    int written = 0;
    QSet<int> passedOver;    // rows another write held when this run reached them
    bool asked = false;      // about a ledger seen only in part
    for (;;) {
        const PlanProgress now = plan_progress(plan, book);
        // Which rows are done is the ledger's to say: without all of it, rows written elsewhere
        // (or, without this station's file, here) would be written again.
        if (now.reach != LedgerReach::Whole && !asked) {
            asked = true;
            if (!now.problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + now.problem);
            if (messages.show(QString::fromLatin1(text::kPlanLedgerPartial), MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
                return kExitRefused;
        }
        const PlanRow *row = nullptr;
        if (o.row > 0) {
            const qsizetype i = plan.row(o.row) - plan.rows.constData();
            const PlanRowProgress &s = now.rows[i];
            if (s.state == PlanRowState::Written || s.state == PlanRowState::Writing) {
                if (attempts > 0 && s.state == PlanRowState::Written) return kExitOk;
                err_line(QStringLiteral("zr730-cli write: %1 is %2 (%3, %4); nothing was written")
                             .arg(row_name(plan.rows[i]), plan_row_state_text(s.state), s.entry.station,
                                  ledger_when(s.entry.time)));
                return kExitRefused;
            }
            if (attempts > 0) return last; // --row: one attempt
            row = &plan.rows[i];
        } else if (now.next > 0) {
            row = plan.row(now.next);
        }
        if (!row) {
            qsizetype done = 0;
            for (const PlanRowProgress &s : now.rows) done += s.state == PlanRowState::Written ? 1 : 0;
            err_line(QStringLiteral("%1: %2 of %3 rows written and verified (%4 by this run)%5")
                         .arg(plan.name)
                         .arg(done)
                         .arg(plan.rows.size())
                         .arg(written)
                         .arg(done < plan.rows.size() ? QStringLiteral("; the others are being written elsewhere")
                                                      : QString()));
            return kExitOk;
        }
        state.image = apply_plan_row(base, *row);
        err_line(QStringLiteral("Plan %1, %2 of %3: %4").arg(plan.name, row_name(*row)).arg(plan.rows.size()).arg(capcodes_line(state.image)));
        if (attempts > 0) {
            err_line(last == kExitOk ? QStringLiteral("Put the next pager on the board and press Enter.")
                                     : QStringLiteral("Put a pager on the board and press Enter to try again."));
            if (!enter_pressed()) {
                err_line(QStringLiteral("Plan stopped at %1; %2 written and verified by this run.").arg(row_name(*row)).arg(written));
                return last == kExitOk ? kExitRefused : last;
            }
        }
        messages.forget();
        recorder.setPlanRow(plan.name, row->number, row->label);
        procedures.write_one_pager();
        progress.endLine();
        if (const auto &taken = recorder.rowTaken()) {
            // Nothing was written: the pager on the board waits for the next row.
            err_line(QStringLiteral("%1 is already %2 at %3; passed over.")
                         .arg(row_name(*row),
                              plan_row_state_text(taken->outcome == LedgerOutcome::Writing ? PlanRowState::Writing
                                                                                          : PlanRowState::Written),
                              taken->station));
            if (o.row > 0) return kExitRefused;
            // A row seen taken twice in a row is waited on by no one here: stop rather than spin.
            if (passedOver.contains(row->number)) return kExitRefused;
            passedOver.insert(row->number);
            continue;
        }
        ++attempts;
        last = state.transfer_result == 0 ? kExitOk : failure_status(messages);
        if (last == kExitOk) {
            ++written;
            err_line(QStringLiteral("%1 written and verified.").arg(row_name(*row)));
        } else if (last == kExitRefused || last == kExitNotZr730 || last == kExitNoBoard) {
            return last;
        } else {
            err_line(QStringLiteral("%1 was not programmed.").arg(row_name(*row)));
        }
    }
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
    if ((!o.plan.isEmpty() || o.row > 0) && command != QLatin1String("write")) {
        err_line(QStringLiteral("zr730-cli %1: --plan and --row belong to write").arg(command));
        return kExitUsage;
    }
    if (o.row > 0 && o.plan.isEmpty()) {
        err_line(QStringLiteral("zr730-cli write: --row N belongs to --plan PLAN.csv"));
        return kExitUsage;
    }
    if (!o.plan.isEmpty() && o.series > 0) {
        err_line(QStringLiteral("zr730-cli write: --plan and --series do not go together (the plan gives each pager its capcodes)"));
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

    // A plan is checked whole before the board is looked for: nothing is written from a plan with problems.
    Ledger book(state.settings.ledger);
    std::optional<CapcodePlan> plan;
    if (!o.plan.isEmpty()) {
        plan = open_plan(o.plan, book, messages, status);
        if (!plan) return status;
        if (o.row > 0 && !plan->row(o.row)) {
            err_line(QStringLiteral("zr730-cli write: the plan has no row %1 (rows 1 … %2)").arg(o.row).arg(plan->rows.size()));
            return kExitUsage;
        }
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

    if (plan) return write_plan(o, *plan, state.image, state, procedures, recorder, book, messages, progress);

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
