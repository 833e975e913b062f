// bench_ledger_window: how long File ▸ "Ledger…" takes to open on a ledger of 100 000 entries
// (an SQLite file and, with --postgres, a PostgreSQL server started as the tests start theirs),
// and how much time a plan run adds to each pager over Pager ▸ Write itself, against the
// programmer-board simulator at full speed. A program to run by hand, not a test: timings
// depend on the machine.
//
//   bench_ledger_window [--entries N] [--pagers N] [--postgres] [--sim PATH-TO-boardsim]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench_support/bench_ledgers.h"
#include "bench_support/board_process.h"
#include "bench_support/ledger_fill.h"
#include "editor/dialogs/plan_dialog.h"
#include "editor/ledger_window.h"
#include "editor/main_window.h"
#include "ledger/ledger.h"
#include "support/postgres_server.h"
#include "support/program_state.h"
#include "support/recording_messages.h"

using namespace zr730;

namespace {

double median(QList<double> t)
{
    std::sort(t.begin(), t.end());
    return t.isEmpty() ? 0 : t[t.size() / 2];
}

double ms_of(const std::function<void()> &f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1e6;
}

// The window's first open (the ledger's connection made then too), then the median of later
// opens, a page fetched further down, and a filter applied.
void measure_window(const char *where, const LedgerSettings &settings, const std::function<QSqlDatabase()> &direct, int n)
{
    {
        Ledger maker(settings);
        QString problem;
        maker.count({}, &problem); // makes the tables
        if (!problem.isEmpty()) {
            std::printf("%s: %s\n", where, qPrintable(problem));
            return;
        }
    }
    QElapsedTimer fillTime;
    fillTime.start();
    if (!bench::fill(direct(), n)) return;
    direct(); // the server's statistics brought up to date, as its autovacuum does soon after
    std::printf("%s: %d entries made in %.1f s\n", where, n, fillTime.elapsed() / 1000.0);

    testing::RecordingMessages messages;
    ProgramState state(messages);
    state.settings.adapterIds.clear();
    state.settings.ledger = settings;
    MainWindow window(state);
    auto open = [&] {
        window.openLedgerWindow();
        QCoreApplication::processEvents(); // shown and painted
    };
    const double first = ms_of(open);
    QList<double> opens, pages, filters;
    for (int i = 0; i < 7; ++i) {
        delete window.ledgerWindow();
        opens << ms_of(open);
    }
    LedgerWindow *lw = window.ledgerWindow();
    const QString listed = lw->lblLedgerCount->text();
    QList<double> bare100, bare200;
    for (int i = 0; i < 7; ++i) {
        bare100 << ms_of([&] { window.ledger().page({}, std::nullopt, 100); });
        bare200 << ms_of([&] { window.ledger().page({}, std::nullopt, 200); });
    }
    for (int i = 0; i < 7; ++i)
        pages << ms_of([&] {
            lw->grdLedger->scrollToBottom(); // the next page, as scrolling reaches the end
            QCoreApplication::processEvents();
        });
    lw->txtLedgerPlan->setText(QStringLiteral("site.csv"));
    for (int i = 0; i < 7; ++i) filters << ms_of([&] { lw->find(); QCoreApplication::processEvents(); });
    std::printf("%s: ledger window, first open (connection made)  %8.1f ms\n", where, first);
    std::printf("%s: ledger window, open (median of 7)             %8.1f ms  (%d rows listed of %s)\n", where,
                median(opens), LedgerTableModel::kPageSize, qPrintable(listed));
    std::printf("%s: the ledger's first page of 100 / 200 alone    %8.1f / %.1f ms\n", where, median(bare100), median(bare200));
    std::printf("%s: next page reached by scrolling (median)      %8.1f ms\n", where, median(pages));
    std::printf("%s: plan filter applied (median)                 %8.1f ms\n", where, median(filters));
}

// Pager ▸ Write, then the same pagers from a plan, each timed whole (the transfer dialog shown,
// written, verified, recorded; the plan window brought up to date).
int measure_plan_run(const QString &sim, const QString &folder, int pagers)
{
    const QString boardPath = QDir(folder).filePath(QStringLiteral("board"));
    QProcess board;
    if (!bench::start_board(board, sim, {QStringLiteral("--link"), boardPath})) return 1;
    QByteArray csv = "label,capcode1,capcode2\n";
    for (int i = 1; i <= pagers; ++i) csv += QStringLiteral("P-%1,%2,16\n").arg(i).arg(300000 + 8 * i).toUtf8();
    const QString planPath = QDir(folder).filePath(QStringLiteral("run.csv"));
    QFile f(planPath);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size()) return 1;
    f.close();

    testing::RecordingMessages messages;
    testing::ScriptedFileDialogs dialogs;
    ProgramState state(messages, &dialogs);
    state.settings.adapterIds.clear();
    state.settings.extraPorts = {boardPath};
    state.settings.ledger.file = QDir(folder).filePath(QStringLiteral("run.sqlite"));
    state.application_folder = folder;
    MainWindow window(state);
    window.show();
    window.startUp();
    window.WriteOpt->setChecked(true);
    QList<double> writes, planWrites;
    for (int i = 0; i < pagers; ++i) writes << ms_of([&] { window.writePager(); });
    dialogs.openAnswers.enqueue(planPath);
    window.programFromPlan();
    if (!window.planDialog()) {
        std::fprintf(stderr, "the plan did not open: %s\n", qPrintable(messages.texts().join(QLatin1Char('\n'))));
        return 1;
    }
    for (int i = 0; i < pagers; ++i) planWrites << ms_of([&] { window.writePlanRow(); });
    const int failures = int(messages.texts().size() - messages.texts().count(QStringLiteral("Verify Success!")));
    board.terminate();
    board.waitForFinished(5000);
    std::printf("plan run: Pager > Write (median of %d)            %8.1f ms\n", pagers, median(writes));
    std::printf("plan run: the same from a plan (median of %d)      %8.1f ms\n", pagers, median(planWrites));
    std::printf("plan run: added per pager                        %8.1f ms%s\n", median(planWrites) - median(writes),
                failures ? "  (some writes failed)" : "");
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int entries = 100000, pagers = 20;
    bool postgres = false;
    QString sim = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("boardsim"));
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--entries") && i + 1 < args.size()) entries = args[++i].toInt();
        else if (args[i] == QLatin1String("--pagers") && i + 1 < args.size()) pagers = qMax(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--sim") && i + 1 < args.size()) sim = args[++i];
        else if (args[i] == QLatin1String("--postgres")) postgres = true;
        else {
            std::fprintf(stderr, "usage: bench_ledger_window [--entries N] [--pagers N] [--postgres] [--sim PATH-TO-boardsim]\n");
            return 2;
        }
    }
    QTemporaryDir dir;

    const LedgerSettings sqlite = bench::sqlite_ledger(dir.path());
    measure_window("sqlite", sqlite, [&] { return bench::sqlite_connection(sqlite); }, entries);

    if (postgres) {
        testing::PostgresServer server;
        const std::optional<LedgerSettings> pg = bench::postgres_ledger(server, dir.path());
        if (!pg) return 1;
        measure_window("postgres", *pg, [&] { return bench::postgres_connection(*pg); }, entries);
    }
    return measure_plan_run(sim, dir.path(), pagers);
}
