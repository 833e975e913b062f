#pragma once
// A ledger database filled fast for the benches: literal rows in batches, in one transaction,
// straight into the ledger's tables (made first by the Ledger itself).
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

#include <cstdio>

namespace zr730::bench {

// Fills the ledger's database with n entries (one in a hundred from plan "site.csv", whose rows
// match the benchmark plan), in batches of literal rows.
inline bool fill(QSqlDatabase db, int n)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("BEGIN"))) return false;
    const qint64 t0 = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
    const char *stations[] = {"bench-1", "bench-2", "bench-3"};
    const char *outcomes[] = {"written and verified", "written and verified", "verify error", "read"};
    QStringList entries, capcodes;
    auto flush = [&]() {
        if (entries.isEmpty()) return true;
        const bool ok = q.exec(QStringLiteral("INSERT INTO entries (uid, time_ms, station, outcome, band, frequency, "
                                              "table_file, image, copied, plan_name, plan_row, plan_label) VALUES ")
                               + entries.join(','))
                        && q.exec(QStringLiteral("INSERT INTO entry_capcodes VALUES ") + capcodes.join(','));
        if (!ok) std::fprintf(stderr, "bench: %s\n", qPrintable(q.lastError().text()));
        entries.clear();
        capcodes.clear();
        return ok;
    };
    for (int i = 0; i < n; ++i) {
        const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const bool planned = i % 100 == 0;
        const int row = i / 100 + 1;
        entries << QStringLiteral("('%1',%2,'%3','%4',2,15300000,'site.tbl',NULL,1,'%5',%6,'%7')")
                       .arg(uid)
                       .arg(t0 + qint64(i) * 60000)
                       .arg(QLatin1String(stations[i % 3]), QLatin1String(outcomes[i % 4]),
                            planned ? QStringLiteral("site.csv") : QString())
                       .arg(planned ? row : 0)
                       .arg(planned ? QStringLiteral("PG-%1").arg(row, 4, 10, QChar('0')) : QString());
        for (int k = 1; k <= 6; ++k)
            capcodes << QStringLiteral("('%1',%2,%3,%4,'PPPP')").arg(uid).arg(k).arg(k == 1 ? 200000 + i : 16 * k).arg(k <= 3 ? 1 : 0);
        if (entries.size() == 500 && !flush()) return false;
    }
    return flush() && q.exec(QStringLiteral("COMMIT"));
}

} // namespace zr730::bench
