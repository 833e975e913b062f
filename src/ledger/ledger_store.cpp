#include "ledger/ledger_store.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace zr730 {

namespace {

QAtomicInt g_connections;

constexpr const char *kEntryColumns = "e.id, e.uid, e.time_ms, e.station, e.outcome, e.band, e.frequency, e.table_file, "
                                      "e.plan_name, e.plan_row, e.plan_label";
constexpr int kEntryColumnCount = 11; // the image follows when a statement asks for it
constexpr const char *kCapcodeColumns = "c.entry_uid, c.number, c.capcode, c.enabled, c.functions";

// The first line of a driver's message: libpq adds hints on further lines.
QString first_line(const QString &text)
{
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        QString l = line.trimmed();
        while (l.endsWith(QLatin1Char('.'))) l.chop(1);
        if (!l.isEmpty()) return l;
    }
    return {};
}

QString reason(const QSqlError &error)
{
    const QString db = first_line(error.databaseText());
    return db.isEmpty() ? first_line(error.driverText()) : db;
}

// Texts are never NULL in the ledger: a null QString would be bound as one.
QString text(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

qint64 day_start_ms(const QDate &d) { return d.startOfDay(Qt::UTC).toMSecsSinceEpoch(); }

// The condition that selects entries (alias e) by the filter; values are bound by bind().
QString where(const LedgerFilter &f)
{
    QStringList parts;
    if (f.capcode)
        parts << QStringLiteral(
            "e.uid IN (SELECT entry_uid FROM entry_capcodes WHERE capcode = :capcode AND enabled = 1)");
    if (f.from.isValid()) parts << QStringLiteral("e.time_ms >= :from");
    if (f.to.isValid()) parts << QStringLiteral("e.time_ms < :to");
    if (!f.station.isEmpty()) parts << QStringLiteral("e.station = :station");
    if (f.outcome) parts << QStringLiteral("e.outcome = :outcome");
    if (!f.plan.isEmpty()) parts << QStringLiteral("e.plan_name = :plan");
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

void bind(QSqlQuery &q, const LedgerFilter &f)
{
    if (f.capcode) q.bindValue(QStringLiteral(":capcode"), qint64(*f.capcode));
    if (f.from.isValid()) q.bindValue(QStringLiteral(":from"), day_start_ms(f.from));
    if (f.to.isValid()) q.bindValue(QStringLiteral(":to"), day_start_ms(f.to.addDays(1)));
    if (!f.station.isEmpty()) q.bindValue(QStringLiteral(":station"), f.station);
    if (f.outcome) q.bindValue(QStringLiteral(":outcome"), outcome_text(*f.outcome));
    if (!f.plan.isEmpty()) q.bindValue(QStringLiteral(":plan"), f.plan);
}

// The condition with one more part joined on.
QString also(const QString &condition, const QString &part)
{
    return condition + (condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ")) + part;
}

} // namespace

LedgerStore::LedgerStore(Kind kind, const QString &place, const LedgerSettings &settings)
    : m_kind(kind), m_place(place),
      m_connection(QStringLiteral("zr730-ledger-%1").arg(g_connections.fetchAndAddRelaxed(1)))
{
    QSqlDatabase d = QSqlDatabase::addDatabase(
        kind == Kind::Sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_connection);
    if (kind == Kind::Sqlite) {
        d.setDatabaseName(place);
        // Another program on this station may hold the file for a moment.
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        return;
    }
    d.setHostName(settings.server);
    d.setPort(settings.port);
    d.setDatabaseName(settings.database);
    d.setUserName(settings.user);
    d.setPassword(settings.password);
    // A server that does not answer must not hold the window for long: a short connection
    // timeout, and a connection whose sent data goes unacknowledged is given up after 5 s. The
    // server's notices ("already exists, skipping") are not for the user's terminal.
    d.setConnectOptions(QStringLiteral("connect_timeout=3;tcp_user_timeout=5000;application_name=zr730;"
                                       "options='-c client_min_messages=error'"));
    m_place = QStringLiteral("%1:%2").arg(settings.server).arg(settings.port);
}

LedgerStore::~LedgerStore()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase LedgerStore::db() const { return QSqlDatabase::database(m_connection, false); }

QString LedgerStore::name() const
{
    return m_kind == Kind::Sqlite ? QStringLiteral("The programming ledger file %1").arg(m_place)
                                  : QStringLiteral("The programming ledger on %1").arg(m_place);
}

void LedgerStore::close()
{
    QSqlDatabase d = db();
    if (d.isOpen()) d.close();
}

QString LedgerStore::failure(const char *what, const QString &error) const
{
    const QString why = first_line(error);
    return why.isEmpty() ? QStringLiteral("%1 cannot be %2").arg(name(), QLatin1String(what))
                         : QStringLiteral("%1 cannot be %2 (%3)").arg(name(), QLatin1String(what), why);
}

bool LedgerStore::exec(const QString &sql, QString &error)
{
    QSqlQuery q(db());
    if (q.exec(sql)) return true;
    error = reason(q.lastError());
    // SQLITE_CORRUPT (11) or SQLITE_NOTADB (26): the file holds no usable database.
    const int code = q.lastError().nativeErrorCode().toInt() & 0xff;
    if (m_kind == Kind::Sqlite && (code == 11 || code == 26)) m_damaged = true;
    return false;
}

void LedgerStore::rollback()
{
    QString ignored;
    exec(QStringLiteral("ROLLBACK"), ignored);
}

QString LedgerStore::open()
{
    QSqlDatabase d = db();
    if (d.isOpen()) {
        // A file that a statement found damaged stays so (for the ledger to move it aside); a
        // server that went away leaves an open connection that no longer works.
        QString error;
        if (m_kind == Kind::Sqlite) {
            if (!m_damaged) return {};
            d.close();
            return failure("used", QStringLiteral("it is damaged"));
        }
        if (exec(QStringLiteral("SELECT 1"), error)) return {};
        d.close();
    }
    m_damaged = false;
    if (m_kind == Kind::Sqlite) QDir().mkpath(QFileInfo(m_place).absolutePath());
    if (!d.open()) return failure(m_kind == Kind::Sqlite ? "opened" : "reached", reason(d.lastError()));
    const QString problem = makeSchema();
    if (!problem.isEmpty()) d.close();
    return problem;
}

int LedgerStore::schemaVersion()
{
    QSqlQuery q(db());
    if (q.exec(QStringLiteral("SELECT MAX(version) FROM ledger_schema")) && q.next()) return q.value(0).toInt();
    return 0;
}

QString LedgerStore::makeSchema()
{
    const bool pg = m_kind == Kind::Postgres;
    QString error;
    // Two stations meeting a new server at once must not both create it.
    if (!exec(pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), error)
        || (pg && !exec(QStringLiteral("SELECT pg_advisory_xact_lock(730730)"), error))
        || !exec(QStringLiteral("CREATE TABLE IF NOT EXISTS ledger_schema (version INTEGER NOT NULL)"), error)) {
        rollback();
        return failure("used", error);
    }
    const int version = schemaVersion();
    if (version == kLedgerSchemaVersion) {
        if (!addPlanColumns(error)) {
            rollback();
            return failure("set up", error);
        }
        if (!exec(QStringLiteral("COMMIT"), error)) return failure("used", error);
        return {};
    }
    if (version > kLedgerSchemaVersion) {
        rollback();
        return QStringLiteral("%1 was made by a newer version of this program (ledger version %2; this one knows %3) "
                              "and cannot be used")
            .arg(name())
            .arg(version)
            .arg(kLedgerSchemaVersion);
    }
    const QString id =
        pg ? QStringLiteral("BIGSERIAL PRIMARY KEY") : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QString blob = pg ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    const QStringList statements{
        QStringLiteral(
            "CREATE TABLE IF NOT EXISTS entries (id %1, uid TEXT NOT NULL UNIQUE, time_ms BIGINT NOT NULL, "
            "station TEXT NOT NULL, outcome TEXT NOT NULL, band INTEGER NOT NULL, frequency BIGINT NOT NULL, "
            "table_file TEXT NOT NULL, image %2, copied INTEGER NOT NULL DEFAULT 0)")
            .arg(id, blob),
        // Capcode #number of an entry: "which entries hold capcode N" is one index look-up.
        QStringLiteral("CREATE TABLE IF NOT EXISTS entry_capcodes (entry_uid TEXT NOT NULL, number INTEGER NOT NULL, "
                       "capcode BIGINT NOT NULL, enabled INTEGER NOT NULL, functions TEXT NOT NULL, "
                       "PRIMARY KEY (entry_uid, number))"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS entry_capcodes_capcode ON entry_capcodes (capcode)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS entries_time ON entries (time_ms)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS entries_copied ON entries (copied)"),
        QStringLiteral("INSERT INTO ledger_schema (version) VALUES (%1)").arg(kLedgerSchemaVersion),
    };
    for (const QString &s : statements) {
        if (!exec(s, error)) {
            rollback();
            return failure("set up", error);
        }
    }
    if (!addPlanColumns(error)) {
        rollback();
        return failure("set up", error);
    }
    if (!exec(QStringLiteral("COMMIT"), error)) return failure("set up", error);
    return {};
}

bool LedgerStore::addPlanColumns(QString &error)
{
    // The plan columns are additions that a program of the previous version writes past (its
    // statements name their columns, the defaults fill these), so the schema version stays and
    // stations of both versions can share one server while they are upgraded.
    QSqlQuery q(db());
    const bool pg = m_kind == Kind::Postgres;
    if (!q.exec(pg ? QStringLiteral("SELECT column_name FROM information_schema.columns WHERE table_schema = "
                                    "current_schema() AND table_name = 'entries'")
                   : QStringLiteral("PRAGMA table_info(entries)"))) {
        error = reason(q.lastError());
        return false;
    }
    bool present = false;
    while (q.next()) present = present || q.value(pg ? 0 : 1).toString() == QLatin1String("plan_name");
    q.finish();
    if (present) return true;
    const QStringList statements{
        QStringLiteral("ALTER TABLE entries ADD COLUMN plan_name TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE entries ADD COLUMN plan_row INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE entries ADD COLUMN plan_label TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS entries_plan ON entries (plan_name, plan_row)"),
        // A page of the listing is one walk along this index from the cursor.
        QStringLiteral("CREATE INDEX IF NOT EXISTS entries_time_uid ON entries (time_ms, uid)"),
    };
    for (const QString &sql : statements)
        if (!exec(sql, error)) return false;
    return true;
}

QString LedgerStore::insert(const LedgerEntry &entry, bool copied)
{
    QSqlQuery q(db());
    // A copy that arrives late must not set a finished write back to "writing".
    q.prepare(QStringLiteral(
        "INSERT INTO entries (uid, time_ms, station, outcome, band, frequency, table_file, image, copied, plan_name, "
        "plan_row, plan_label) VALUES (:uid, :time, :station, :outcome, :band, :frequency, :file, :image, :copied, "
        ":plan, :row, :label) "
        "ON CONFLICT (uid) DO UPDATE SET "
        "outcome = CASE WHEN excluded.outcome = :writing1 THEN entries.outcome ELSE excluded.outcome END, "
        "image = CASE WHEN excluded.outcome = :writing2 THEN entries.image ELSE excluded.image END, "
        "copied = excluded.copied"));
    q.bindValue(QStringLiteral(":uid"), entry.uid);
    q.bindValue(QStringLiteral(":time"), entry.time.toMSecsSinceEpoch());
    q.bindValue(QStringLiteral(":station"), text(entry.station));
    q.bindValue(QStringLiteral(":outcome"), outcome_text(entry.outcome));
    q.bindValue(QStringLiteral(":band"), entry.band);
    q.bindValue(QStringLiteral(":frequency"), qint64(entry.frequency));
    q.bindValue(QStringLiteral(":file"), text(entry.tableFile));
    q.bindValue(QStringLiteral(":image"), entry.image);
    q.bindValue(QStringLiteral(":copied"), copied ? 1 : 0);
    q.bindValue(QStringLiteral(":plan"), text(entry.plan));
    q.bindValue(QStringLiteral(":row"), entry.planRow);
    q.bindValue(QStringLiteral(":label"), text(entry.planLabel));
    q.bindValue(QStringLiteral(":writing1"), outcome_text(LedgerOutcome::Writing));
    q.bindValue(QStringLiteral(":writing2"), outcome_text(LedgerOutcome::Writing));
    if (!q.exec()) {
        const QString problem = failure("written", reason(q.lastError()));
        rollback(); // while the statement exists, so that the driver can still free it
        return problem;
    }

    QSqlQuery c(db());
    c.prepare(QStringLiteral("INSERT INTO entry_capcodes (entry_uid, number, capcode, enabled, functions) "
                             "VALUES (:uid, :number, :capcode, :enabled, :functions) "
                             "ON CONFLICT (entry_uid, number) DO UPDATE SET capcode = excluded.capcode, "
                             "enabled = excluded.enabled, functions = excluded.functions"));
    for (std::size_t i = 0; i < entry.capcodes.size(); ++i) {
        const LedgerCapcode &cap = entry.capcodes[i];
        c.bindValue(QStringLiteral(":uid"), entry.uid);
        c.bindValue(QStringLiteral(":number"), int(i) + 1);
        c.bindValue(QStringLiteral(":capcode"), qint64(cap.capcode));
        c.bindValue(QStringLiteral(":enabled"), cap.enabled ? 1 : 0);
        c.bindValue(QStringLiteral(":functions"), text(cap.functions));
        if (!c.exec()) {
            const QString problem = failure("written", reason(c.lastError()));
            rollback();
            return problem;
        }
    }
    return {};
}

QString LedgerStore::put(const LedgerEntry &entry, bool copied)
{
    QString error;
    // An entry and its capcodes are kept together or not at all.
    if (!exec(m_kind == Kind::Postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), error))
        return failure("written", error);
    QString problem = insert(entry, copied);
    if (problem.isEmpty() && !exec(QStringLiteral("COMMIT"), error)) problem = failure("written", error);
    if (!problem.isEmpty()) rollback();
    return problem;
}

QString LedgerStore::begin(const LedgerEntry &entry, bool checkDuplicates, QList<LedgerDuplicate> &duplicates,
                          std::optional<LedgerEntry> &rowTaken)
{
    duplicates.clear();
    rowTaken.reset();
    const bool pg = m_kind == Kind::Postgres;
    QString error;
    // The check and the record are one transaction that no other writer can interleave with:
    // SQLite takes the file's write lock at BEGIN IMMEDIATE, PostgreSQL a table lock that
    // conflicts with itself (a stuck writer is not waited for long).
    if (!exec(pg ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"), error)
        || (pg && !exec(QStringLiteral("SET LOCAL lock_timeout = '5s'"), error))
        || (pg && !exec(QStringLiteral("LOCK TABLE entries IN SHARE ROW EXCLUSIVE MODE"), error))) {
        rollback();
        return failure("written", error);
    }
    if (!entry.plan.isEmpty()) {
        // A plan's row goes into one pager: another write that holds it wins, wherever it runs.
        QSqlQuery rows(db());
        rows.prepare(QStringLiteral("SELECT %1 FROM entries e WHERE e.plan_name = :plan AND e.plan_row = :row "
                                    "AND e.plan_label = :label AND e.uid <> :uid AND (e.outcome = :verified OR "
                                    "(e.outcome = :writing AND e.time_ms >= :recent)) "
                                    "ORDER BY e.time_ms DESC, e.uid DESC LIMIT 1")
                         .arg(QLatin1String(kEntryColumns)));
        rows.bindValue(QStringLiteral(":plan"), entry.plan);
        rows.bindValue(QStringLiteral(":row"), entry.planRow);
        rows.bindValue(QStringLiteral(":label"), text(entry.planLabel));
        rows.bindValue(QStringLiteral(":uid"), entry.uid);
        rows.bindValue(QStringLiteral(":verified"), outcome_text(LedgerOutcome::WrittenVerified));
        rows.bindValue(QStringLiteral(":writing"), outcome_text(LedgerOutcome::Writing));
        rows.bindValue(QStringLiteral(":recent"), entry.time.addSecs(-kLedgerClaimSeconds).toMSecsSinceEpoch());
        QSqlQuery capcodes(db());
        capcodes.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c WHERE 1 = 0").arg(QLatin1String(kCapcodeColumns)));
        QList<LedgerEntry> taken;
        if (const QString problem = read(rows, capcodes, taken); !problem.isEmpty()) {
            rollback();
            return problem;
        }
        if (!taken.isEmpty()) {
            rowTaken = taken.first();
            rollback();
            return {};
        }
    }
    QStringList capcodes;
    for (const LedgerCapcode &c : entry.capcodes)
        if (c.enabled) capcodes << QString::number(c.capcode);
    if (checkDuplicates && !capcodes.isEmpty()) {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT c.capcode, e.time_ms, e.station, e.outcome FROM entry_capcodes c "
                                 "JOIN entries e ON e.uid = c.entry_uid WHERE c.enabled = 1 AND c.capcode IN (%1) "
                                 "AND e.uid <> :uid AND (e.outcome = :verified OR (e.outcome = :writing "
                                 "AND e.time_ms >= :recent)) "
                                 "ORDER BY e.time_ms DESC, e.id DESC")
                      .arg(capcodes.join(QLatin1Char(','))));
        q.bindValue(QStringLiteral(":uid"), entry.uid);
        q.bindValue(QStringLiteral(":verified"), outcome_text(LedgerOutcome::WrittenVerified));
        q.bindValue(QStringLiteral(":writing"), outcome_text(LedgerOutcome::Writing));
        q.bindValue(QStringLiteral(":recent"), entry.time.addSecs(-kLedgerClaimSeconds).toMSecsSinceEpoch());
        if (!q.exec()) {
            error = reason(q.lastError());
            rollback();
            return failure("read", error);
        }
        QList<quint32> seen;
        while (q.next()) {
            const quint32 capcode = quint32(q.value(0).toLongLong());
            if (seen.contains(capcode)) continue; // the latest entry of each capcode
            seen << capcode;
            duplicates << LedgerDuplicate{
                capcode, QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC), q.value(2).toString(),
                outcome_from_text(q.value(3).toString()).value_or(LedgerOutcome::WrittenVerified)};
        }
        q.finish();
        if (!duplicates.isEmpty()) {
            rollback();
            return {};
        }
    }
    LedgerEntry writing = entry;
    writing.outcome = LedgerOutcome::Writing;
    QString problem = insert(writing, false);
    if (problem.isEmpty() && !exec(QStringLiteral("COMMIT"), error)) problem = failure("written", error);
    if (!problem.isEmpty()) rollback();
    return problem;
}

QString LedgerStore::finish(const QString &uid, LedgerOutcome outcome, const QByteArray &image, bool copied,
                            bool &found)
{
    found = false;
    QSqlQuery q(db());
    q.prepare(
        QStringLiteral("UPDATE entries SET outcome = :outcome, image = :image, copied = :copied WHERE uid = :uid"));
    q.bindValue(QStringLiteral(":outcome"), outcome_text(outcome));
    q.bindValue(QStringLiteral(":image"), image);
    q.bindValue(QStringLiteral(":copied"), copied ? 1 : 0);
    q.bindValue(QStringLiteral(":uid"), uid);
    if (!q.exec()) return failure("written", reason(q.lastError()));
    found = q.numRowsAffected() > 0;
    return {};
}

QString LedgerStore::read(QSqlQuery &rows, QSqlQuery &capcodes, QList<LedgerEntry> &entries)
{
    entries.clear();
    if (!rows.exec()) return failure("read", reason(rows.lastError()));
    const bool withImage = rows.record().count() > kEntryColumnCount;
    QHash<QString, qsizetype> byUid;
    while (rows.next()) {
        LedgerEntry e;
        e.id = rows.value(0).toLongLong();
        e.uid = rows.value(1).toString();
        e.time = QDateTime::fromMSecsSinceEpoch(rows.value(2).toLongLong(), Qt::UTC);
        e.station = rows.value(3).toString();
        // A text this program does not know (a later version's) reads as still running.
        e.outcome = outcome_from_text(rows.value(4).toString()).value_or(LedgerOutcome::Writing);
        e.band = rows.value(5).toInt();
        e.frequency = rows.value(6).toLongLong();
        e.tableFile = rows.value(7).toString();
        e.plan = rows.value(8).toString();
        e.planRow = rows.value(9).toInt();
        e.planLabel = rows.value(10).toString();
        if (withImage) e.image = rows.value(kEntryColumnCount).toByteArray();
        byUid.insert(e.uid, entries.size());
        entries << e;
    }
    rows.finish();
    if (entries.isEmpty()) return {};
    if (!capcodes.exec()) return failure("read", reason(capcodes.lastError()));
    while (capcodes.next()) {
        const auto it = byUid.constFind(capcodes.value(0).toString());
        const int n = capcodes.value(1).toInt();
        if (it == byUid.constEnd()) continue;
        auto &caps = entries[*it].capcodes;
        if (n < 1 || n > int(caps.size())) continue;
        LedgerCapcode &cap = caps[std::size_t(n - 1)];
        cap.capcode = quint32(capcodes.value(2).toLongLong());
        cap.enabled = capcodes.value(3).toInt() != 0;
        cap.functions = capcodes.value(4).toString();
    }
    capcodes.finish();
    return {};
}

QString LedgerStore::select(const LedgerFilter &filter, QList<LedgerEntry> &entries, bool uncopiedOnly)
{
    QString condition = where(filter);
    if (uncopiedOnly) condition = also(condition, QStringLiteral("e.copied = 0"));
    QSqlQuery rows(db());
    rows.setForwardOnly(true);
    rows.prepare(QStringLiteral("SELECT %1 FROM entries e%2 ORDER BY e.time_ms DESC, e.id DESC")
                     .arg(QLatin1String(kEntryColumns), condition));
    bind(rows, filter);
    QSqlQuery capcodes(db());
    capcodes.setForwardOnly(true);
    capcodes.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c JOIN entries e ON e.uid = c.entry_uid%2")
                         .arg(QLatin1String(kCapcodeColumns), condition));
    bind(capcodes, filter);
    return read(rows, capcodes, entries);
}

QString LedgerStore::selectPage(const LedgerFilter &filter, const std::optional<LedgerCursor> &after, int limit,
                               QList<LedgerEntry> &entries, bool uncopiedOnly)
{
    QString condition = where(filter);
    if (uncopiedOnly) condition = also(condition, QStringLiteral("e.copied = 0"));
    if (after)
        // A row-value comparison: both databases walk the (time_ms, uid) index from the cursor.
        condition = also(condition, QStringLiteral("(e.time_ms, e.uid) < (:after_ms, :after_uid)"));
    auto bindAll = [&](QSqlQuery &q) {
        bind(q, filter);
        if (!after) return;
        q.bindValue(QStringLiteral(":after_ms"), after->time.toMSecsSinceEpoch());
        q.bindValue(QStringLiteral(":after_uid"), after->uid);
    };
    QSqlQuery rows(db());
    rows.setForwardOnly(true);
    rows.prepare(QStringLiteral("SELECT %1 FROM entries e%2 ORDER BY e.time_ms DESC, e.uid DESC LIMIT %3")
                     .arg(QLatin1String(kEntryColumns), condition)
                     .arg(qMax(0, limit)));
    bindAll(rows);
    // The capcodes of exactly the entries of the page.
    QSqlQuery capcodes(db());
    capcodes.setForwardOnly(true);
    capcodes.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c WHERE c.entry_uid IN (SELECT e.uid FROM entries e%2 "
                                    "ORDER BY e.time_ms DESC, e.uid DESC LIMIT %3)")
                         .arg(QLatin1String(kCapcodeColumns), condition)
                         .arg(qMax(0, limit)));
    bindAll(capcodes);
    return read(rows, capcodes, entries);
}

QString LedgerStore::count(const LedgerFilter &filter, qint64 &n, bool uncopiedOnly)
{
    n = 0;
    QString condition = where(filter);
    if (uncopiedOnly) condition = also(condition, QStringLiteral("e.copied = 0"));
    QSqlQuery q(db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM entries e%1").arg(condition));
    bind(q, filter);
    if (!q.exec() || !q.next()) return failure("read", reason(q.lastError()));
    n = q.value(0).toLongLong();
    return {};
}

QString LedgerStore::writtenWith(const QList<quint32> &capcodes, QList<LedgerEntry> &entries, bool uncopiedOnly)
{
    entries.clear();
    if (capcodes.isEmpty()) return {};
    QStringList numbers;
    for (const quint32 c : capcodes) numbers << QString::number(c);
    QString condition = QStringLiteral(" WHERE e.outcome = :verified AND e.uid IN (SELECT entry_uid FROM entry_capcodes "
                                       "WHERE enabled = 1 AND capcode IN (%1))")
                            .arg(numbers.join(QLatin1Char(',')));
    if (uncopiedOnly) condition = also(condition, QStringLiteral("e.copied = 0"));
    QSqlQuery rows(db());
    rows.setForwardOnly(true);
    rows.prepare(QStringLiteral("SELECT %1 FROM entries e%2 ORDER BY e.time_ms DESC, e.uid DESC")
                     .arg(QLatin1String(kEntryColumns), condition));
    rows.bindValue(QStringLiteral(":verified"), outcome_text(LedgerOutcome::WrittenVerified));
    QSqlQuery caps(db());
    caps.setForwardOnly(true);
    caps.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c JOIN entries e ON e.uid = c.entry_uid%2")
                     .arg(QLatin1String(kCapcodeColumns), condition));
    caps.bindValue(QStringLiteral(":verified"), outcome_text(LedgerOutcome::WrittenVerified));
    return read(rows, caps, entries);
}

QString LedgerStore::planWrites(const QString &plan, QList<LedgerEntry> &entries, bool uncopiedOnly)
{
    QString condition = QStringLiteral(" WHERE e.plan_name = :plan AND e.outcome IN (:v, :ve, :we, :w)");
    if (uncopiedOnly) condition = also(condition, QStringLiteral("e.copied = 0"));
    QSqlQuery rows(db());
    rows.setForwardOnly(true);
    rows.prepare(QStringLiteral("SELECT %1 FROM entries e%2").arg(QLatin1String(kEntryColumns), condition));
    rows.bindValue(QStringLiteral(":plan"), plan);
    rows.bindValue(QStringLiteral(":v"), outcome_text(LedgerOutcome::WrittenVerified));
    rows.bindValue(QStringLiteral(":ve"), outcome_text(LedgerOutcome::VerifyError));
    rows.bindValue(QStringLiteral(":we"), outcome_text(LedgerOutcome::WriteError));
    rows.bindValue(QStringLiteral(":w"), outcome_text(LedgerOutcome::Writing));
    QSqlQuery none(db());
    none.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c WHERE 1 = 0").arg(QLatin1String(kCapcodeColumns)));
    return read(rows, none, entries);
}

QString LedgerStore::uidsStartingWith(const QString &prefix, QStringList &uids)
{
    uids.clear();
    QSqlQuery q(db());
    q.setForwardOnly(true);
    // A comparison of the leading characters, which no collation or LIKE wildcard can bend.
    q.prepare(QStringLiteral("SELECT uid FROM entries WHERE LOWER(SUBSTR(uid, 1, %1)) = :prefix").arg(prefix.size()));
    q.bindValue(QStringLiteral(":prefix"), prefix);
    if (!q.exec()) return failure("read", reason(q.lastError()));
    while (q.next()) uids << q.value(0).toString();
    return {};
}

QString LedgerStore::byUid(const QString &uid, std::optional<LedgerEntry> &entry)
{
    entry.reset();
    QSqlQuery rows(db());
    rows.prepare(
        QStringLiteral("SELECT %1, e.image FROM entries e WHERE e.uid = :uid").arg(QLatin1String(kEntryColumns)));
    rows.bindValue(QStringLiteral(":uid"), uid);
    QSqlQuery capcodes(db());
    capcodes.prepare(QStringLiteral("SELECT %1 FROM entry_capcodes c WHERE c.entry_uid = :uid")
                         .arg(QLatin1String(kCapcodeColumns)));
    capcodes.bindValue(QStringLiteral(":uid"), uid);
    QList<LedgerEntry> found;
    const QString problem = read(rows, capcodes, found);
    if (!found.isEmpty()) entry = found.first();
    return problem;
}

QString LedgerStore::pending(QList<LedgerEntry> &entries)
{
    QSqlQuery rows(db());
    rows.setForwardOnly(true);
    rows.prepare(QStringLiteral("SELECT %1, e.image FROM entries e WHERE e.copied = 0 ORDER BY e.id")
                     .arg(QLatin1String(kEntryColumns)));
    QSqlQuery capcodes(db());
    capcodes.setForwardOnly(true);
    capcodes.prepare(
        QStringLiteral("SELECT %1 FROM entry_capcodes c JOIN entries e ON e.uid = c.entry_uid WHERE e.copied = 0")
            .arg(QLatin1String(kCapcodeColumns)));
    return read(rows, capcodes, entries);
}

QString LedgerStore::markCopied(const QString &uid)
{
    QSqlQuery q(db());
    q.prepare(QStringLiteral("UPDATE entries SET copied = 1 WHERE uid = :uid"));
    q.bindValue(QStringLiteral(":uid"), uid);
    if (!q.exec()) return failure("written", reason(q.lastError()));
    return {};
}

} // namespace zr730
