#pragma once
// The two ledgers the benches measure: station "bench-1" on an SQLite file, and on a
// PostgreSQL server of the bench's own (the test suite's server fixture, database "bench"),
// each with the bench's own connection to fill it through.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <cstdio>
#include <optional>

#include "ledger/ledger.h"
#include "support/postgres_server.h"

namespace zr730::bench {

// The station's settings with only its file, in folder.
inline LedgerSettings sqlite_ledger(const QString &folder)
{
    LedgerSettings s;
    s.station = QStringLiteral("bench-1");
    s.file = folder + QStringLiteral("/ledger.sqlite");
    return s;
}

// The bench's connection to the file of s.
inline QSqlDatabase sqlite_connection(const LedgerSettings &s)
{
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("bench-sqlite"), false);
    if (!db.isValid()) db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-sqlite"));
    db.setDatabaseName(s.file);
    db.open();
    return db;
}

// Starts the server with its database "bench" and gives the station's settings on it (its own
// file in folder); none, said on standard output, when the server does not start.
inline std::optional<LedgerSettings> postgres_ledger(testing::PostgresServer &server, const QString &folder)
{
    if (!server.start() || !server.createDatabase(QStringLiteral("bench"))) {
        std::printf("postgres: %s\n", qPrintable(server.error()));
        return std::nullopt;
    }
    LedgerSettings s;
    s.station = QStringLiteral("bench-1");
    s.file = folder + QStringLiteral("/station.sqlite");
    s.server = server.host();
    s.port = server.port();
    s.database = QStringLiteral("bench");
    s.user = server.user();
    return s;
}

// The bench's connection to the server of s, its planner statistics brought up to date.
inline QSqlDatabase postgres_connection(const LedgerSettings &s)
{
    QSqlDatabase db = QSqlDatabase::database(QStringLiteral("bench-pg"), false);
    if (!db.isValid()) db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("bench-pg"));
    db.setHostName(s.server);
    db.setPort(s.port);
    db.setDatabaseName(s.database);
    db.setUserName(s.user);
    db.open();
    QSqlQuery(db).exec(QStringLiteral("ANALYZE"));
    return db;
}

} // namespace zr730::bench
