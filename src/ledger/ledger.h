#pragma once
// The programming ledger: every pager written (with its outcome) and every pager read, with the
// capcodes, band, frequency, table file and the whole image, so an operator knows which capcode
// went into which pager. Stored through Qt SQL: an SQLite file on this station, and, when the
// installation names one, a PostgreSQL server that several stations share. Every entry a
// station makes is kept in its local file too, marked once the server has it; entries made
// while the server cannot be reached are copied to the server later. An entry's uid names it
// on every station and server; listings show a short form of it (its first characters).
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "image/image.h"
#include "support/settings.h"

namespace zr730 {

enum class LedgerOutcome { WrittenVerified, VerifyError, WriteError, Refused, Read, Writing };
// "written and verified", "verify error", "write error", "refused", "read", "writing".
QString outcome_text(LedgerOutcome outcome);
// The outcome of one of those texts; none for any other text.
std::optional<LedgerOutcome> outcome_from_text(const QString &text);

// A write (at another station, or by another program at this one) still counts as running for
// this long after it began.
inline constexpr int kLedgerClaimSeconds = 300;
// A server attempt that took this long (a host that does not answer) is not repeated for
// kLedgerQuietMs; a server that refuses at once is tried again at every call.
inline constexpr int kLedgerSlowServerMs = 1000;
inline constexpr int kLedgerQuietMs = 60000;

// Capcode #n of an entry is capcodes[n − 1].
struct LedgerCapcode {
    quint32 capcode = 0; // 21 bits
    bool enabled = false;
    QString functions; // #1 … #4: the four function bits' types ("P", "G", mail-drop number); #5, #6: their one type
};

struct LedgerEntry {
    qint64 id = 0;  // given by the database that holds the entry: its order there, never shown
    QString uid;    // the entry's identity, the same on every station and server
    QDateTime time; // UTC
    QString station;
    LedgerOutcome outcome = LedgerOutcome::Read;
    std::array<LedgerCapcode, 6> capcodes{};
    int band = -1;           // 0 … 3, -1 when the image names none
    long long frequency = 0; // 10 Hz units
    QString tableFile;       // the table file in use, empty for none
    QByteArray image;        // 1024 bytes; empty in listings (entry() reads it)
    // A write from a capcode plan: the plan's name (its file name), the row's number (1 is the
    // first row after the header) and its label. Empty and 0 for any other entry.
    QString plan;
    int planRow = 0;
    QString planLabel;
};

// An entry for image, now, at this host, with a new uid (the ledger sets its own station).
LedgerEntry make_ledger_entry(const PagerImage &image, LedgerOutcome outcome, const QString &tableFile);

// An earlier entry holding a capcode that is about to be written.
struct LedgerDuplicate {
    quint32 capcode = 0;
    QDateTime time;
    QString station;
    LedgerOutcome outcome = LedgerOutcome::WrittenVerified; // or Writing by another write
};

struct LedgerBeginResult {
    QString uid;                       // the entry recorded as "writing"; empty when nothing was recorded
    QList<LedgerDuplicate> duplicates; // the latest entry per capcode; nothing is recorded when there are any
    // A plan write whose row another write already holds (written and verified, or being written
    // within kLedgerClaimSeconds, at any station): that entry; nothing is recorded then.
    std::optional<LedgerEntry> rowTaken;
    QString problem;                   // the one warning to show; empty when all went well
};

struct LedgerFilter {
    std::optional<quint32> capcode; // entries holding it enabled
    QDate from, to;                 // inclusive, UTC; null for open
    QString station;
    std::optional<LedgerOutcome> outcome;
    QString plan; // entries written from the capcode plan of this name (file name); empty for any
};

// Where a page of a listing begins: after the entry with this time and uid (listings are
// ordered newest first, then by uid, the same on every database).
struct LedgerCursor {
    QDateTime time;
    QString uid;
};
LedgerCursor ledger_cursor(const LedgerEntry &entry);

// How much of the ledger a listing or look-up saw.
enum class LedgerReach {
    Whole,            // the server (with this station's entries not yet copied), or the file when there is no server
    ThisStationOnly,  // the server could not be used: this station's own entries only
    Unreadable,       // this station's file could not be read (or was damaged and started anew)
};

// A listing shows at least this many leading characters of a uid; --image takes no fewer.
inline constexpr int kLedgerShortIdLength = 8;
// The identity a user gave, in lower case; none unless it is kLedgerShortIdLength or more
// characters of a uid (hexadecimal digits and dashes).
std::optional<QString> ledger_identity(const QString &text);

// An entry looked up by its identity (a uid, or its leading characters).
struct LedgerLookup {
    std::optional<LedgerEntry> entry; // with its image, when the identity names exactly one entry
    QStringList uids;                 // every uid the identity names (more than one: ambiguous)
    QString problem;                  // the one warning to show; empty when all went well
    LedgerReach reach = LedgerReach::Whole;
};

// $XDG_DATA_HOME/zr730/ledger.sqlite (usually ~/.local/share/zr730/ledger.sqlite).
QString default_ledger_file();

class LedgerStore;

// One station's view of the ledger. Each object has its own database connections and is used
// on the thread that made it. No call throws; each tries the server at most once.
class Ledger {
public:
    // defaultFile: the local file when the settings name none.
    explicit Ledger(const LedgerSettings &settings, const QString &defaultFile = default_ledger_file());
    ~Ledger();
    Ledger(const Ledger &) = delete;
    Ledger &operator=(const Ledger &) = delete;

    // Before a write, in one transaction: with checkDuplicates, the earlier entries that hold one
    // of the entry's enabled capcodes as written and verified (or being written by another write,
    // at this station or another), and nothing recorded when there are any; otherwise the entry
    // is recorded as "writing". So two writes of one capcode at the same moment (two stations,
    // or two boards at one station) cannot both miss it.
    LedgerBeginResult beginWrite(const LedgerEntry &entry, bool checkDuplicates);
    // The outcome of the write begun under uid, with the image as written. Returns the problem.
    QString finishWrite(const QString &uid, LedgerOutcome outcome, const PagerImage &image);
    // One finished entry (a read, a refused write). Returns the problem, empty when recorded.
    QString record(const LedgerEntry &entry);

    // Entries matching the filter, newest first, without their images, each uid once. With a
    // server: the server's and this station's not yet copied there, or this station's alone
    // when the server cannot be used (problem and reach say so).
    QList<LedgerEntry> list(const LedgerFilter &filter, QString *problem = nullptr, LedgerReach *reach = nullptr);
    // One page of the listing: up to limit entries matching the filter after the cursor (from the
    // start when none), in the order (time, uid) newest first, looked up where list() looks. For
    // a window that fetches rows as they are scrolled to: pass ledger_cursor() of the last entry
    // it holds. Each page costs one indexed query per database, however deep into the ledger.
    QList<LedgerEntry> page(const LedgerFilter &filter, const std::optional<LedgerCursor> &after, int limit,
                            QString *problem = nullptr, LedgerReach *reach = nullptr);
    // How many entries match the filter (where list() looks; an entry copied to the server whose
    // copy was not marked yet may count twice).
    qint64 count(const LedgerFilter &filter, QString *problem = nullptr, LedgerReach *reach = nullptr);
    // Every entry, written and verified, that holds one of the capcodes enabled (without images;
    // their plan and row say which pager each was), where list() looks.
    QList<LedgerEntry> writtenWith(const QList<quint32> &capcodes, QString *problem = nullptr);
    // The writes of the capcode plan of this name (every outcome but "read" and "refused"),
    // without capcodes or images, in no particular order, where list() looks: what a plan's
    // row states are made of, at a cost that stays small per pager of a plan run.
    QList<LedgerEntry> planWrites(const QString &plan, QString *problem = nullptr, LedgerReach *reach = nullptr);
    // The entry that identity (from ledger_identity) names, looked up where list() looks.
    LedgerLookup find(const QString &identity);

    QString station() const { return m_station; }
    // True when a server is named.
    bool shared() const { return bool(m_server); }
    // The local SQLite file.
    QString localFile() const { return m_localFile; }

private:
    // The server, ready, with the entries made meanwhile copied to it; null (and the problem
    // set) when it cannot be used now, or when there is none.
    LedgerStore *server(QString &problem);
    QString copyPending(LedgerStore &server);
    // This station's file, open; null (and the problem set) when it cannot be opened. A file
    // that holds no database is moved aside and a new one started (the notice says where).
    LedgerStore *local(QString &problem);
    QString moveAside();
    // The problem, with the notice of a file moved aside since the last call, once.
    QString withNotice(const QString &problem);
    // Runs the query on the server, when it answers, and on this station's file (for every
    // entry without the server, else for those not yet copied to it: the query's last
    // argument), and gives each entry once, the server's first.
    using StoreQuery = std::function<QString(LedgerStore &, QList<LedgerEntry> &, bool uncopiedOnly)>;
    QList<LedgerEntry> gathered(const StoreQuery &query, QString *problem, LedgerReach *reach);

    QString m_station;
    QString m_localFile;
    std::unique_ptr<LedgerStore> m_local;
    std::unique_ptr<LedgerStore> m_server;
    std::optional<LedgerEntry> m_claim; // the write begun last, should it have to be kept locally
    QDeadlineTimer m_quietUntil;        // the server is not tried before then (expired: try it)
    QString m_lastServerProblem;
    QString m_notice;
};

// When an entry was made, as messages name it: "2026-03-31 14:05 UTC".
QString ledger_when(const QDateTime &time);

// The listings name each entry by its id: the shortest leading part of its uid, at least
// kLedgerShortIdLength characters, that tells the listed entries apart.
// The entries as CSV (RFC 4180: CRLF lines, quoted where needed), one header line; the whole
// uid in the last column.
QString ledger_csv(const QList<LedgerEntry> &entries);
// The entries as a fixed-column table for a terminal.
QString ledger_table(const QList<LedgerEntry> &entries);

} // namespace zr730
