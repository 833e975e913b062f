// bench_plan: how long a 1 000-row capcode plan takes to open and check, and how the ledger
// listing a window pages through behaves with 100 000 entries, on an SQLite file and (with
// --postgres, using the test suite's own server fixture) on PostgreSQL. A program to run by
// hand, not a test: timings depend on the machine.
//
//   bench_plan [--entries N] [--postgres]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "image/defaults.h"
#include "ledger/ledger.h"
#include "plan/capcode_plan.h"
#include "bench_support/bench_ledgers.h"
#include "bench_support/ledger_fill.h"
#include "support/postgres_server.h"

using namespace zr730;

namespace {

constexpr int kPlanRows = 1000;

// The median of runs of f, in milliseconds.
double median_ms(int runs, const std::function<void()> &f)
{
    QList<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        f();
        t << timer.nsecsElapsed() / 1e6;
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

QByteArray plan_csv()
{
    QByteArray csv = "label,capcode1,capcode2,capcode3,enable1,enable2,enable3\r\n";
    for (int n = 1; n <= kPlanRows; ++n)
        csv += QStringLiteral("PG-%1,%2,16,24,yes,yes,yes\r\n").arg(n, 4, 10, QChar('0')).arg(100000 + 8 * n).toUtf8();
    return csv;
}

void measure(const char *where, const LedgerSettings &settings, const std::function<QSqlDatabase()> &direct, int n)
{
    Ledger ledger(settings);
    QString problem;
    ledger.count({}, &problem); // makes the tables
    if (!problem.isEmpty()) {
        std::printf("%s: %s\n", where, qPrintable(problem));
        return;
    }
    QElapsedTimer t;
    t.start();
    if (!bench::fill(direct(), n)) return;
    std::printf("%s: %d entries made in %.1f s\n", where, n, t.elapsed() / 1000.0);

    LedgerFilter all, byPlan, byCapcode, byStation;
    byPlan.plan = QStringLiteral("site.csv");
    byCapcode.capcode = 200000 + n / 2;
    byStation.station = QStringLiteral("bench-2");
    const auto first = ledger.page(all, std::nullopt, 100);
    // The cursor halfway down, as a window scrolled there holds it.
    std::optional<LedgerCursor> middle;
    {
        QSqlQuery q(direct());
        q.exec(QStringLiteral("SELECT time_ms, uid FROM entries ORDER BY time_ms DESC, uid DESC LIMIT 1 OFFSET %1").arg(n / 2));
        if (q.next()) middle = LedgerCursor{QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong(), Qt::UTC), q.value(1).toString()};
    }
    const CapcodePlan plan = parse_capcode_plan(plan_csv(), QStringLiteral("site.csv"));
    struct Step {
        const char *name;
        std::function<void()> f;
    };
    const QList<Step> steps{
        {"count, no filter", [&] { ledger.count(all); }},
        {"count, plan filter", [&] { ledger.count(byPlan); }},
        {"first page of 100, newest first", [&] { ledger.page(all, std::nullopt, 100); }},
        {"next page of 100 (cursor)", [&] { ledger.page(all, ledger_cursor(first.last()), 100); }},
        {"page of 100 halfway down (cursor)", [&] { ledger.page(all, middle, 100); }},
        {"first page of 100, station filter", [&] { ledger.page(byStation, std::nullopt, 100); }},
        {"first page of 100, plan filter", [&] { ledger.page(byPlan, std::nullopt, 100); }},
        {"page, capcode filter", [&] { ledger.page(byCapcode, std::nullopt, 100); }},
        {"plan rows' states (1 000-row plan)", [&] { plan_progress(plan, ledger); }},
        {"plan checked against the ledger", [&] { check_plan_against_ledger(plan, ledger); }},
        {"whole listing (list(), for comparison)", [&] { ledger.list(all); }},
    };
    for (const Step &s : steps) std::printf("%s: %-42s %8.2f ms\n", where, s.name, median_ms(5, s.f));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int entries = 100000;
    bool postgres = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--entries") && i + 1 < argc) entries = QString::fromLocal8Bit(argv[++i]).toInt();
        else if (a == QLatin1String("--postgres")) postgres = true;
        else {
            std::fprintf(stderr, "usage: bench_plan [--entries N] [--postgres]\n");
            return 2;
        }
    }

    const QByteArray csv = plan_csv();
    std::printf("plan: %d rows parsed and checked         %8.3f ms (median of 20)\n", kPlanRows,
                median_ms(20, [&] { parse_capcode_plan(csv, QStringLiteral("site.csv")); }));
    const CapcodePlan plan = parse_capcode_plan(csv, QStringLiteral("site.csv"));
    const PagerImage base = default_image();
    std::printf("plan: a row applied to the base image     %8.4f ms\n",
                median_ms(20, [&] { for (const PlanRow &r : plan.rows) (void)apply_plan_row(base, r); }) / kPlanRows);

    QTemporaryDir dir;
    const LedgerSettings sqlite = bench::sqlite_ledger(dir.path());
    measure("sqlite", sqlite, [&] { return bench::sqlite_connection(sqlite); }, entries);

    if (!postgres) return 0;
    testing::PostgresServer server;
    const std::optional<LedgerSettings> pg = bench::postgres_ledger(server, dir.path());
    if (!pg) return 1;
    measure("postgres", *pg, [&] { return bench::postgres_connection(*pg); }, entries);
    return 0;
}
