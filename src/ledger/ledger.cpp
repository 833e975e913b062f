#include "ledger/ledger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QUuid>

#include <algorithm>
#include <iterator>

#include "image/capcodes.h"
#include "image/pll.h"
#include "ledger/ledger_store.h"

namespace zr730 {

namespace {

struct OutcomeName {
    LedgerOutcome outcome;
    const char *text;
};
constexpr OutcomeName kOutcomes[] = {
    {LedgerOutcome::WrittenVerified, "written and verified"},
    {LedgerOutcome::VerifyError, "verify error"},
    {LedgerOutcome::WriteError, "write error"},
    {LedgerOutcome::Refused, "refused"},
    {LedgerOutcome::Read, "read"},
    {LedgerOutcome::Writing, "writing"},
};

// What happens instead when the server fails, when this station's file fails too, and when
// only this station's file fails.
struct Fallback {
    const char *instead;
    const char *lost;
    const char *serverOnly;
};
constexpr Fallback kRecording{"entries are kept on this station until it can", "the entry is not recorded",
                              "the entry is kept on the server only"};
constexpr Fallback kShowing{"this station's entries are shown instead", "no entries can be shown",
                            "this station's entries not yet copied to the server are not shown"};

// A file that holds no database, moved aside.
constexpr const char *kMovedAside =
    "The programming ledger file %1 is damaged; it was moved to %2 and a new ledger file was started.";

QByteArray image_bytes(const PagerImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.bytes().data()), kImageSize);
}

// One warning out of the clauses of the server and of this station's file: empty when neither
// failed; when the server has it, this station's clause and what it misses; the server's
// clause and what was done instead when only it failed; else both clauses and what was lost.
QString warning(const QString &serverClause, const QString &localClause, bool onServer, const Fallback &f)
{
    if (onServer)
        return localClause.isEmpty() ? QString()
                                     : QStringLiteral("%1; %2.").arg(localClause, QLatin1String(f.serverOnly));
    if (localClause.isEmpty())
        return serverClause.isEmpty() ? QString() : QStringLiteral("%1; %2.").arg(serverClause, QLatin1String(f.instead));
    if (serverClause.isEmpty()) return QStringLiteral("%1; %2.").arg(localClause, QLatin1String(f.lost));
    QString second = localClause;
    second[0] = second[0].toLower();
    return QStringLiteral("%1, and %2; %3.").arg(serverClause, second, QLatin1String(f.lost));
}

// A file that failed (or was started anew) outweighs a server that could not be used.
LedgerReach reach_of(bool localFailed, bool serverMissed)
{
    return localFailed ? LedgerReach::Unreadable : serverMissed ? LedgerReach::ThisStationOnly : LedgerReach::Whole;
}

// The entry as this ledger records it: its station, and a uid and time when the caller gave none.
LedgerEntry stamped(const LedgerEntry &entry, const QString &station)
{
    LedgerEntry e = entry;
    e.station = station;
    if (e.uid.isEmpty()) e.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!e.time.isValid()) e.time = QDateTime::currentDateTimeUtc();
    return e;
}

} // namespace

QString outcome_text(LedgerOutcome outcome)
{
    for (const OutcomeName &o : kOutcomes)
        if (o.outcome == outcome) return QString::fromLatin1(o.text);
    return {};
}

std::optional<LedgerOutcome> outcome_from_text(const QString &text)
{
    for (const OutcomeName &o : kOutcomes)
        if (text == QLatin1String(o.text)) return o.outcome;
    return std::nullopt;
}

LedgerEntry make_ledger_entry(const PagerImage &image, LedgerOutcome outcome, const QString &tableFile)
{
    LedgerEntry e;
    e.uid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.time = QDateTime::currentDateTimeUtc();
    e.station = QSysInfo::machineHostName();
    e.outcome = outcome;
    for (int i = 0; i < kCapcodeCount; ++i) {
        LedgerCapcode &c = e.capcodes[std::size_t(i)];
        c.capcode = capcode_get(image, i);
        c.enabled = capcode_enabled(image, i);
        if (i < 4) // capcode #1 is function-bit set 3, capcodes #2 … #4 are sets 0 … 2
            c.functions = QString::fromStdString(type_summary(image, function_bit_set(i == 0 ? 3 : i - 1)));
        else
            c.functions = QString::fromStdString(type_code(image[kTypeCap5 + i - 4]));
    }
    e.band = band_of_image(image).value_or(-1);
    e.frequency = frequency_of_image(image);
    e.tableFile = tableFile;
    e.image = image_bytes(image);
    return e;
}

QString default_ledger_file()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) data = QDir::home().filePath(QStringLiteral(".local/share"));
    // One file for the window and the command line alike, whatever their application names.
    return QDir(data).filePath(QStringLiteral("zr730/ledger.sqlite"));
}

Ledger::Ledger(const LedgerSettings &settings, const QString &defaultFile)
    : m_station(settings.station.isEmpty() ? QSysInfo::machineHostName() : settings.station),
      m_localFile(settings.file.isEmpty() ? defaultFile : settings.file),
      m_local(std::make_unique<LedgerStore>(LedgerStore::Kind::Sqlite, m_localFile, settings))
{
    if (!settings.server.isEmpty())
        m_server = std::make_unique<LedgerStore>(LedgerStore::Kind::Postgres, QString(), settings);
}

Ledger::~Ledger() = default;

std::optional<QString> ledger_identity(const QString &text)
{
    const QString id = text.trimmed().toLower();
    if (id.size() < kLedgerShortIdLength || id.size() > 36) return std::nullopt;
    for (const QChar c : id)
        if (!c.isDigit() && (c < QLatin1Char('a') || c > QLatin1Char('f')) && c != QLatin1Char('-')) return std::nullopt;
    return id;
}

QString Ledger::withNotice(const QString &problem)
{
    QString out = problem;
    if (!m_notice.isEmpty()) out = out.isEmpty() ? m_notice : out + QLatin1Char(' ') + m_notice;
    m_notice.clear();
    return out;
}

QString Ledger::moveAside()
{
    m_local->close();
    QFile file(m_localFile);
    // Another program on this station may have moved it and started a new one meanwhile.
    if (file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16)) return m_localFile;
    file.close();
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd'T'HH-mm-ss'Z'"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(m_localFile, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n) aside = QStringLiteral("%1.damaged-%2-%3").arg(m_localFile, stamp).arg(n);
    if (!QFile::rename(m_localFile, aside)) return {};
    // The journal belongs to the damaged file: a new file must not take it for its own.
    for (const char *companion : {"-journal", "-wal", "-shm"})
        if (QFileInfo::exists(m_localFile + QLatin1String(companion)))
            QFile::rename(m_localFile + QLatin1String(companion), aside + QLatin1String(companion));
    return aside;
}

LedgerStore *Ledger::local(QString &problem)
{
    problem = m_local->open();
    if (!problem.isEmpty() && m_local->damaged()) {
        const QString aside = moveAside();
        if (!aside.isEmpty()) {
            if (aside != m_localFile) m_notice = QString::fromLatin1(kMovedAside).arg(m_localFile, aside);
            problem = m_local->open();
        }
    }
    return problem.isEmpty() ? m_local.get() : nullptr;
}

QString Ledger::copyPending(LedgerStore &server)
{
    // A file that cannot be read now keeps its entries for a later call.
    QString unreadable;
    LedgerStore *l = local(unreadable);
    if (!l) return {};
    QList<LedgerEntry> pending;
    if (!l->pending(pending).isEmpty()) return {};
    for (const LedgerEntry &e : pending) {
        if (const QString p = server.put(e, true); !p.isEmpty()) return p;
        // Should the mark fail, the entry is copied again later, onto its own row.
        l->markCopied(e.uid);
    }
    return {};
}

LedgerStore *Ledger::server(QString &problem)
{
    problem.clear();
    if (!m_server) return nullptr;
    // A server that let the last attempt run into its time-out is left alone for a while, so
    // a host that does not answer costs the window one wait, not one per pager.
    if (!m_quietUntil.hasExpired()) {
        problem = m_lastServerProblem;
        return nullptr;
    }
    QElapsedTimer attempt;
    attempt.start();
    problem = m_server->open();
    if (problem.isEmpty()) problem = copyPending(*m_server);
    if (problem.isEmpty()) {
        m_quietUntil = QDeadlineTimer();
        return m_server.get();
    }
    m_server->close();
    m_lastServerProblem = problem;
    if (attempt.elapsed() >= kLedgerSlowServerMs) m_quietUntil = QDeadlineTimer(kLedgerQuietMs);
    return nullptr;
}

LedgerBeginResult Ledger::beginWrite(const LedgerEntry &entry, bool checkDuplicates)
{
    LedgerBeginResult r;
    LedgerEntry e = stamped(entry, m_station);
    e.outcome = LedgerOutcome::Writing;
    m_claim.reset();
    QString serverClause;
    QString localClause;
    bool onServer = false;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = s->begin(e, checkDuplicates, r.duplicates, r.rowTaken);
        onServer = serverClause.isEmpty();
        if (!onServer) m_server->close();
    }
    if (onServer) {
        // This station keeps its own record of the claim the server holds.
        if (r.duplicates.isEmpty() && !r.rowTaken)
            if (LedgerStore *l = local(localClause)) localClause = l->put(e, true);
    } else if (LedgerStore *l = local(localClause)) {
        // This station's file: alone, or standing in for a server that cannot be used now.
        localClause = l->begin(e, checkDuplicates, r.duplicates, r.rowTaken);
    }
    if (r.duplicates.isEmpty() && !r.rowTaken && (onServer || localClause.isEmpty())) {
        r.uid = e.uid;
        m_claim = e;
    }
    r.problem = withNotice(warning(serverClause, localClause, onServer, kRecording));
    return r;
}

QString Ledger::finishWrite(const QString &uid, LedgerOutcome outcome, const PagerImage &image)
{
    const QByteArray bytes = image_bytes(image);
    QString serverClause;
    bool onServer = false;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = s->finish(uid, outcome, bytes, true, onServer);
        if (!serverClause.isEmpty()) m_server->close();
    }
    // This station's row follows, marked as copied when the server has the outcome.
    QString localClause;
    bool here = false;
    LedgerStore *l = local(localClause);
    if (l) localClause = l->finish(uid, outcome, bytes, onServer, here);
    const bool claimed = m_claim && m_claim->uid == uid;
    if (l && localClause.isEmpty() && !here) {
        if (claimed) {
            // The claim is not in this station's file (it could not be written then): the whole entry is kept now.
            LedgerEntry e = *m_claim;
            e.outcome = outcome;
            e.image = bytes;
            localClause = l->put(e, onServer);
        } else if (!onServer) {
            localClause = QStringLiteral("The programming ledger holds no write %1").arg(uid);
        }
    }
    if (claimed && (onServer || localClause.isEmpty())) m_claim.reset();
    return withNotice(warning(serverClause, localClause, onServer, kRecording));
}

QString Ledger::record(const LedgerEntry &entry)
{
    const LedgerEntry e = stamped(entry, m_station);
    QString serverClause;
    QString localClause;
    bool onServer = false;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = s->put(e, true);
        onServer = serverClause.isEmpty();
        if (!onServer) m_server->close();
    }
    if (LedgerStore *l = local(localClause)) localClause = l->put(e, onServer);
    return withNotice(warning(serverClause, localClause, onServer, kRecording));
}

QList<LedgerEntry> Ledger::gathered(const StoreQuery &query, QString *problem, LedgerReach *reach)
{
    QList<LedgerEntry> entries;
    QString serverClause;
    QString localClause;
    bool onServer = false;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = query(*s, entries, false);
        onServer = serverClause.isEmpty();
        if (!onServer) {
            m_server->close();
            entries.clear();
        }
    }
    // This station's entries: all of them when the server cannot be used, else those it lacks.
    QList<LedgerEntry> here;
    if (LedgerStore *l = local(localClause)) localClause = query(*l, here, onServer);
    QSet<QString> uids;
    for (const LedgerEntry &e : std::as_const(entries)) uids.insert(e.uid);
    for (const LedgerEntry &e : std::as_const(here))
        if (!uids.contains(e.uid)) entries << e;
    if (reach) *reach = reach_of(!localClause.isEmpty() || !m_notice.isEmpty(), m_server && !onServer);
    const QString p = withNotice(warning(serverClause, localClause, onServer, kShowing));
    if (problem) *problem = p;
    return entries;
}

QList<LedgerEntry> Ledger::list(const LedgerFilter &filter, QString *problem, LedgerReach *reach)
{
    QList<LedgerEntry> entries = gathered(
        [&](LedgerStore &store, QList<LedgerEntry> &out, bool uncopiedOnly) { return store.select(filter, out, uncopiedOnly); },
        problem, reach);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const LedgerEntry &a, const LedgerEntry &b) { return a.time > b.time; });
    return entries;
}

namespace {

bool newer(const LedgerEntry &a, const LedgerEntry &b) { return a.time != b.time ? a.time > b.time : a.uid > b.uid; }

} // namespace

LedgerCursor ledger_cursor(const LedgerEntry &entry) { return {entry.time, entry.uid}; }

QList<LedgerEntry> Ledger::page(const LedgerFilter &filter, const std::optional<LedgerCursor> &after, int limit,
                                QString *problem, LedgerReach *reach)
{
    // Each store's first limit entries after the cursor, merged in order: the first limit of them are this page.
    QList<LedgerEntry> entries = gathered(
        [&](LedgerStore &store, QList<LedgerEntry> &out, bool uncopiedOnly) {
            return store.selectPage(filter, after, limit, out, uncopiedOnly);
        },
        problem, reach);
    std::sort(entries.begin(), entries.end(), newer);
    if (entries.size() > limit) entries.resize(qMax(0, limit));
    return entries;
}

qint64 Ledger::count(const LedgerFilter &filter, QString *problem, LedgerReach *reach)
{
    qint64 there = 0, here = 0;
    QString serverClause;
    QString localClause;
    bool onServer = false;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = s->count(filter, there);
        onServer = serverClause.isEmpty();
        if (!onServer) {
            m_server->close();
            there = 0;
        }
    }
    if (LedgerStore *l = local(localClause)) localClause = l->count(filter, here, onServer);
    if (reach) *reach = reach_of(!localClause.isEmpty() || !m_notice.isEmpty(), m_server && !onServer);
    const QString p = withNotice(warning(serverClause, localClause, onServer, kShowing));
    if (problem) *problem = p;
    return there + here;
}

QList<LedgerEntry> Ledger::writtenWith(const QList<quint32> &capcodes, QString *problem)
{
    QList<LedgerEntry> entries = gathered(
        [&](LedgerStore &store, QList<LedgerEntry> &out, bool uncopiedOnly) {
            return store.writtenWith(capcodes, out, uncopiedOnly);
        },
        problem, nullptr);
    std::sort(entries.begin(), entries.end(), newer);
    return entries;
}

QList<LedgerEntry> Ledger::planWrites(const QString &plan, QString *problem, LedgerReach *reach)
{
    return gathered(
        [&](LedgerStore &store, QList<LedgerEntry> &out, bool uncopiedOnly) { return store.planWrites(plan, out, uncopiedOnly); },
        problem, reach);
}

LedgerLookup Ledger::find(const QString &identity)
{
    LedgerLookup r;
    QString serverClause;
    QString localClause;
    bool onServer = false;
    QStringList there;
    if (LedgerStore *s = server(serverClause)) {
        serverClause = s->uidsStartingWith(identity, there);
        onServer = serverClause.isEmpty();
        if (!onServer) m_server->close();
    }
    QStringList here;
    LedgerStore *l = local(localClause);
    if (l) localClause = l->uidsStartingWith(identity, here);
    r.uids = there;
    for (const QString &uid : std::as_const(here))
        if (!r.uids.contains(uid)) r.uids << uid;
    if (r.uids.size() == 1) {
        const QString &uid = r.uids.first();
        if (there.contains(uid)) serverClause = m_server->byUid(uid, r.entry);
        if (!r.entry && l && here.contains(uid)) localClause = l->byUid(uid, r.entry);
    }
    r.reach = reach_of(!localClause.isEmpty() || !m_notice.isEmpty(), m_server && !onServer);
    r.problem = withNotice(warning(serverClause, localClause, onServer, kShowing));
    return r;
}

// ---- listings -------------------------------------------------------------------------------

namespace {

QString csv_field(const QString &s)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(s.begin(), s.end(), [](QChar c) { return special.contains(c); })) return s;
    return QLatin1Char('"') + QString(s).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString capcode7(quint32 c) { return QString::fromStdString(capcode_text(c)); }

QString band_name(int band)
{
    return band >= 0 && band < kBandCount ? QString::fromLatin1(kBandEntries[std::size_t(band)].data(),
                                                                qsizetype(kBandEntries[std::size_t(band)].size()))
                                          : QString();
}

// 10 Hz units as megahertz with five decimals: 93101250 → "931.01250".
QString megahertz(long long f)
{
    const QString sign = f < 0 ? QStringLiteral("-") : QString();
    const long long a = f < 0 ? -f : f;
    return sign + QStringLiteral("%1.%2").arg(a / 100000).arg(a % 100000, 5, 10, QLatin1Char('0'));
}

QString time_text(const QDateTime &t) { return t.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

// A column of the terminal table: cut to its width, padded on the right (numbers on the left).
QString column(const QString &text, int width, bool right = false)
{
    const QString cut = text.left(width);
    return right ? cut.rightJustified(width) : cut.leftJustified(width);
}

// The shortest leading part of the uids, kLedgerShortIdLength characters or more, that tells
// the entries apart (a cut never ends on a dash).
int short_id_length(const QList<LedgerEntry> &entries)
{
    for (int n = kLedgerShortIdLength;; ++n) {
        QSet<QString> cuts;
        bool longer = false; // some uid goes on beyond n characters
        for (const LedgerEntry &e : entries) {
            cuts.insert(e.uid.left(n));
            longer = longer || e.uid.size() > n;
        }
        if (cuts.size() < entries.size() && longer) continue;
        const bool dash = std::any_of(entries.begin(), entries.end(),
                                      [n](const LedgerEntry &e) { return e.uid.size() > n && e.uid[n - 1] == '-'; });
        return dash ? n + 1 : n;
    }
}

QString table_row(const QStringList &cells, int idWidth)
{
    static constexpr int kWidths[] = {0, 19, 16, 20, 19, 11};
    QStringList out;
    for (int i = 0; i < cells.size(); ++i)
        out << (i < int(std::size(kWidths)) ? column(cells[i], i == 0 ? idWidth : kWidths[i], i == 5) : cells[i]);
    QString line = out.join(QStringLiteral("  "));
    while (line.endsWith(QLatin1Char(' '))) line.chop(1);
    return line + QLatin1Char('\n');
}

} // namespace

QString ledger_when(const QDateTime &time) { return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'")); }

QString ledger_csv(const QList<LedgerEntry> &entries)
{
    QStringList header{QStringLiteral("id"),      QStringLiteral("time"), QStringLiteral("station"),
                       QStringLiteral("outcome"), QStringLiteral("band"), QStringLiteral("frequency_mhz")};
    for (int n = 1; n <= kCapcodeCount; ++n)
        header << QStringLiteral("capcode%1").arg(n) << QStringLiteral("enabled%1").arg(n)
               << QStringLiteral("functions%1").arg(n);
    header << QStringLiteral("table_file") << QStringLiteral("plan") << QStringLiteral("plan_row")
           << QStringLiteral("plan_label") << QStringLiteral("uid");
    QString out = header.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    const int idLength = short_id_length(entries);
    for (const LedgerEntry &e : entries) {
        QStringList row{e.uid.left(idLength),
                        e.time.toUTC().toString(Qt::ISODateWithMs),
                        e.station,
                        outcome_text(e.outcome),
                        band_name(e.band),
                        megahertz(e.frequency)};
        for (const LedgerCapcode &c : e.capcodes)
            row << capcode7(c.capcode) << (c.enabled ? QStringLiteral("yes") : QStringLiteral("no")) << c.functions;
        row << e.tableFile << e.plan << (e.plan.isEmpty() ? QString() : QString::number(e.planRow)) << e.planLabel
            << e.uid;
        for (QString &f : row) f = csv_field(f);
        out += row.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return out;
}

QString ledger_table(const QList<LedgerEntry> &entries)
{
    const int idLength = short_id_length(entries);
    QString out = table_row({QStringLiteral("id"), QStringLiteral("time (UTC)"), QStringLiteral("station"),
                             QStringLiteral("outcome"), QStringLiteral("band"), QStringLiteral("MHz"),
                             QStringLiteral("capcodes enabled")},
                            idLength);
    for (const LedgerEntry &e : entries) {
        QStringList on;
        for (std::size_t i = 0; i < e.capcodes.size(); ++i)
            if (e.capcodes[i].enabled) on << QStringLiteral("#%1 %2").arg(i + 1).arg(capcode7(e.capcodes[i].capcode));
        QString capcodes = on.join(QStringLiteral(", "));
        if (!e.plan.isEmpty())
            capcodes += QStringLiteral("  (plan %1 row %2%3)")
                            .arg(e.plan)
                            .arg(e.planRow)
                            .arg(e.planLabel.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(e.planLabel));
        out += table_row({e.uid.left(idLength), time_text(e.time), e.station, outcome_text(e.outcome),
                          e.band < 0 ? QStringLiteral("-") : band_name(e.band), megahertz(e.frequency), capcodes},
                         idLength);
    }
    return out;
}

} // namespace zr730
