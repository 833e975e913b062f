#pragma once
// One database of the programming ledger over one Qt SQL connection: the schema (created on
// first use, with its version), and the statements the ledger runs. The same schema serves
// SQLite and PostgreSQL; times are whole milliseconds since 1970 in UTC, so they compare as
// numbers whatever the database's collation.
#include <QSqlDatabase>
#include <QString>

#include "ledger/ledger.h"

class QSqlQuery;

namespace zr730 {

inline constexpr int kLedgerSchemaVersion = 1;

// Every method returns the problem as a clause ("The programming ledger on db:5432 cannot be
// reached (Connection refused)") for the ledger to finish; empty when it worked.
class LedgerStore {
public:
    enum class Kind { Sqlite, Postgres };
    // Sqlite: place is the file; Postgres: the settings name the server.
    LedgerStore(Kind kind, const QString &place, const LedgerSettings &settings);
    ~LedgerStore();
    LedgerStore(const LedgerStore &) = delete;
    LedgerStore &operator=(const LedgerStore &) = delete;

    // Opens the connection (again when it was lost) and makes the schema.
    QString open();
    // True when open() or a statement since found an SQLite file that is not a database (or a
    // damaged one); open() then fails until the file is opened anew.
    bool damaged() const { return m_damaged; }
    void close();
    // "The programming ledger file /path" or "The programming ledger on host:port".
    QString name() const;

    // In one transaction that no other writer interleaves with: the duplicates of the entry's
    // enabled capcodes (when asked), and the entry recorded as "writing" when there are none.
    // A plan write whose row another write holds records nothing either (rowTaken is that write).
    QString begin(const LedgerEntry &entry, bool checkDuplicates, QList<LedgerDuplicate> &duplicates,
                  std::optional<LedgerEntry> &rowTaken);
    // The entry, or a newer state of it (same uid): one row per uid whatever happens, and a
    // finished outcome is never set back to "writing".
    QString put(const LedgerEntry &entry, bool copied);
    // Sets outcome and image of the entry uid; found tells whether it is here.
    QString finish(const QString &uid, LedgerOutcome outcome, const QByteArray &image, bool copied, bool &found);
    // With uncopiedOnly, only the entries not yet copied to the server.
    QString select(const LedgerFilter &filter, QList<LedgerEntry> &entries, bool uncopiedOnly = false);
    // Up to limit entries after the cursor, newest first (time, then uid); with uncopiedOnly as above.
    QString selectPage(const LedgerFilter &filter, const std::optional<LedgerCursor> &after, int limit,
                       QList<LedgerEntry> &entries, bool uncopiedOnly = false);
    QString count(const LedgerFilter &filter, qint64 &n, bool uncopiedOnly = false);
    // Written and verified entries holding one of the capcodes enabled; with uncopiedOnly as above.
    QString writtenWith(const QList<quint32> &capcodes, QList<LedgerEntry> &entries, bool uncopiedOnly = false);
    // The writes of a plan (every outcome but "read" and "refused"), without capcodes or images.
    QString planWrites(const QString &plan, QList<LedgerEntry> &entries, bool uncopiedOnly = false);
    // The uids that begin with prefix (lower case).
    QString uidsStartingWith(const QString &prefix, QStringList &uids);
    // One entry with its image; none when it is not here.
    QString byUid(const QString &uid, std::optional<LedgerEntry> &entry);
    // Entries not yet copied to the server, oldest first, with their images.
    QString pending(QList<LedgerEntry> &entries);
    QString markCopied(const QString &uid);
    // The schema version the database records (0 when none).
    int schemaVersion();

private:
    QSqlDatabase db() const;
    QString failure(const char *what, const QString &error) const;
    QString makeSchema();
    // Adds what this version keeps beyond the first layout (the plan columns, the paging index)
    // when the database lacks it, inside makeSchema's transaction.
    bool addPlanColumns(QString &error);
    bool exec(const QString &sql, QString &error);
    void rollback();
    QString insert(const LedgerEntry &entry, bool copied);
    // Runs rows (entry columns, the image ninth when wanted), then capcodes (the capcode rows of
    // the same entries), and puts the two together.
    QString read(QSqlQuery &rows, QSqlQuery &capcodes, QList<LedgerEntry> &entries);

    Kind m_kind;
    QString m_place;
    QString m_connection;
    bool m_damaged = false;
};

} // namespace zr730
