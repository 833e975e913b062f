// plan check / plan status / labels: a capcode plan's problems, its progress in the ledger and
// its label sheet.
#include <QFileInfo>

#include "cli/cli_commands.h"
#include "cli/cli_files.h"
#include "cli/cli_terminal.h"
#include "plan/plan_labels.h"
#include "support/program_state.h"

namespace zr730::cli {

namespace {

// A plan file's problems, one line each on stdout (the plan's name first on each, as compilers do).
void print_problems(const CapcodePlan &plan, const QList<PlanProblem> &problems)
{
    for (const PlanProblem &p : problems) out_line(QStringLiteral("%1: %2").arg(plan.name, plan_problem_text(p)));
}

QString capcode_or_dash(const std::optional<quint32> &c)
{
    return c ? QString::fromStdString(capcode_text(*c)) : QStringLiteral("-");
}

} // namespace

std::optional<CapcodePlan> open_plan(const QString &path, Ledger &book, TerminalMessages &messages, int &status)
{
    CapcodePlan plan = read_capcode_plan(path);
    if (!plan.ok()) {
        print_problems(plan, plan.problems);
        err_line(QStringLiteral("zr730-cli: the plan %1 has %2 problem(s); nothing was written").arg(path).arg(plan.problems.size()));
        status = kExitFile;
        return std::nullopt;
    }
    QString ledgerProblem;
    const QList<PlanProblem> written = check_plan_against_ledger(plan, book, &ledgerProblem);
    if (!ledgerProblem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + ledgerProblem);
    if (!written.isEmpty()) {
        print_problems(plan, written);
        const QString question = QStringLiteral("%1 capcode(s) #1 of the plan are already in other pagers (listed above). "
                                                "Program them anyway?")
                                     .arg(written.size());
        if (messages.show(question, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
            status = kExitRefused;
            return std::nullopt;
        }
    }
    status = kExitOk;
    return plan;
}

int plan(const Options &o)
{
    const QString sub = o.files.value(0);
    if (o.files.size() != 2 || (sub != QLatin1String("check") && sub != QLatin1String("status"))) {
        err_line(QStringLiteral("zr730-cli plan: give check PLAN.csv or status PLAN.csv"));
        return kExitUsage;
    }
    const CapcodePlan p = read_capcode_plan(o.files[1]);
    TerminalMessages messages(o.yes, nullptr);
    ProgramState state(messages);
    load_installation(state);
    Ledger book(state.settings.ledger);

    if (sub == QLatin1String("check")) {
        QList<PlanProblem> problems = p.problems;
        QString ledgerProblem;
        // Capcodes already in other pagers count as problems here: a check is asked before a run.
        if (p.ok()) problems << check_plan_against_ledger(p, book, &ledgerProblem);
        if (!ledgerProblem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + ledgerProblem);
        print_problems(p, problems);
        if (!problems.isEmpty()) {
            err_line(QStringLiteral("zr730-cli plan check: %1 problem(s) in %2").arg(problems.size()).arg(o.files[1]));
            return kExitFile;
        }
        err_line(QStringLiteral("%1: %2 rows, no problems").arg(p.name).arg(p.rows.size()));
        return kExitOk;
    }

    if (!p.ok()) {
        print_problems(p, p.problems);
        return kExitFile;
    }
    const PlanProgress progress = plan_progress(p, book);
    if (!progress.problem.isEmpty()) err_line(QStringLiteral("zr730-cli: ") + progress.problem);
    out_line(QStringLiteral("row  label                 capcode #1  state                 station           time (UTC)"));
    for (qsizetype i = 0; i < p.rows.size(); ++i) {
        const PlanRow &r = p.rows[i];
        const PlanRowProgress &s = progress.rows[i];
        const bool seen = !s.entry.uid.isEmpty();
        QString line = QStringLiteral("%1  %2  %3     %4  %5  %6")
                           .arg(QString::number(r.number).rightJustified(3), r.label.left(20).leftJustified(20),
                                capcode_or_dash(r.capcodes[0]), plan_row_state_text(s.state).leftJustified(20),
                                (seen ? s.entry.station : QString()).left(16).leftJustified(16),
                                seen ? s.entry.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString());
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        if (r.number == progress.next) line += QStringLiteral("  <- next");
        out_line(line);
    }
    return progress.reach == LedgerReach::Whole ? kExitOk
           : progress.reach == LedgerReach::ThisStationOnly ? kExitLedgerLocal
                                                            : kExitFile;
}

int labels(const Options &o)
{
    if (o.files.size() != 1 || o.output.isEmpty()) {
        err_line(QStringLiteral("zr730-cli labels: give one plan and -o LABELS.pdf"));
        return kExitUsage;
    }
    const auto page = label_page_from_text(o.page);
    if (!page) {
        err_line(QStringLiteral("zr730-cli labels: --page takes a4 or letter, not \"%1\"").arg(o.page));
        return kExitUsage;
    }
    const CapcodePlan p = read_capcode_plan(o.files[0]);
    if (!p.ok()) {
        print_problems(p, p.problems);
        err_line(QStringLiteral("zr730-cli labels: the plan %1 has %2 problem(s); no labels were written")
                     .arg(o.files[0])
                     .arg(p.problems.size()));
        return kExitFile;
    }
    QList<int> rows;
    if (!o.rows.isEmpty()) {
        QString problem;
        const auto chosen = plan_row_selection(p, o.rows, &problem);
        if (!chosen) {
            err_line(QStringLiteral("zr730-cli labels: --rows: ") + problem);
            return kExitUsage;
        }
        rows = *chosen;
    }
    if (const QString problem = write_label_sheet(p, rows, *page, o.output); !problem.isEmpty()) {
        err_line(QStringLiteral("zr730-cli labels: ") + problem);
        return kExitFile;
    }
    const qsizetype n = rows.isEmpty() ? p.rows.size() : rows.size();
    err_line(QStringLiteral("%1 label(s) written to %2").arg(n).arg(o.output));
    return kExitOk;
}

} // namespace zr730::cli
