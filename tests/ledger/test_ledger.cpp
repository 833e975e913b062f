#include <QtTest>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>

#include "image/capcodes.h"
#include "image/defaults.h"
#include "ledger/ledger.h"
#include "support/postgres_server.h"
#include "support/settings.h"

using namespace zr730;

namespace {

// The factory image with only capcode #1 set (enabled or not); the others are 0 and disabled.
PagerImage pager(quint32 capcode, bool enabled = true)
{
    PagerImage image = default_image();
    for (int i = 0; i < kCapcodeCount; ++i) {
        capcode_set(image, i, 0);
        image.field_set(kCapcodeBase + 3 * i, 7, 0, 1);
    }
    capcode_set(image, 0, capcode);
    image.field_set(kCapcodeBase, 7, enabled ? 1 : 0, 1);
    return image;
}

QDateTime utc(int y, int m, int d, int h = 12, int min = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s, ms), Qt::UTC);
}

} // namespace

class TestLedger : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listingsFilterByCapcodeDateStationAndOutcome_data() { drivers(); }
    void listingsFilterByCapcodeDateStationAndOutcome();
    void earlierWritesOfACapcodeAreReported_data();
    void earlierWritesOfACapcodeAreReported();
    void twoStationsRacingForOneCapcodeGetOneClaim_data();
    void twoStationsRacingForOneCapcodeGetOneClaim();
    void aClaimWaitsForAnotherStationsClaimAndSeesIt_data() { drivers(); }
    void aClaimWaitsForAnotherStationsClaimAndSeesIt();
    void entriesMadeWhileTheServerIsAwayAreCopiedOnce();
    void aLedgerThatCannotBeWrittenSaysSoAndGoesOn();
    void anEntryIsNamedByItsUidWhereverItIsListed_data() { drivers(); }
    void anEntryIsNamedByItsUidWhereverItIsListed();
    void aDamagedLedgerFileIsMovedAsideAndANewOneStarted();
    void pagesWalkTheFilteredListingInOrderAndCountIt_data() { drivers(); }
    void pagesWalkTheFilteredListingInOrderAndCountIt();
    void twoStationsRunningOnePlanNeverProgramARowTwice_data() { drivers(); }
    void twoStationsRunningOnePlanNeverProgramARowTwice();
    void aLedgerOfThePreviousVersionOpensWithItsEntries_data() { drivers(); }
    void aLedgerOfThePreviousVersionOpensWithItsEntries();

private:
    // One ledger's storage: an SQLite file, or a fresh database on the test server.
    struct Storage {
        QString driver, file, database;
    };
    static void drivers()
    {
        QTest::addColumn<QString>("driver");
        QTest::newRow("sqlite") << QString("sqlite");
        QTest::newRow("postgres") << QString("postgres");
    }
    QString newStorage(const QString &driver, Storage &s)
    {
        const int n = ++m_count;
        s = {driver, m_dir.filePath(QString("ledger-%1.sqlite").arg(n)), QString("ledger_%1").arg(n)};
        if (driver == QLatin1String("sqlite")) return {};
        if (!m_pg.running() && !m_pg.start()) return m_pg.error();
        return m_pg.createDatabase(s.database) ? QString() : m_pg.error();
    }
    // The settings of one station on the storage: SQLite stations share the file; server
    // stations each have their own local file.
    LedgerSettings settings(const Storage &s, const QString &station) const
    {
        LedgerSettings l;
        l.station = station;
        l.file = s.file;
        if (s.driver == QLatin1String("postgres")) {
            l.server = m_pg.host();
            l.port = m_pg.port();
            l.database = s.database;
            l.user = m_pg.user();
            l.file = m_dir.filePath(QString("%1-%2.sqlite").arg(s.database, station));
        }
        return l;
    }
    // A connection of the test's own to the storage (or to a station's local file).
    QSqlDatabase direct(const Storage &s, const QString &localFile = {})
    {
        const QString name = QString("direct-%1").arg(++m_count);
        const bool pg = localFile.isEmpty() && s.driver == QLatin1String("postgres");
        QSqlDatabase db = QSqlDatabase::addDatabase(pg ? QString("QPSQL") : QString("QSQLITE"), name);
        db.setDatabaseName(pg ? s.database : localFile.isEmpty() ? s.file : localFile);
        if (pg) db.setHostName(m_pg.host()), db.setPort(m_pg.port()), db.setUserName(m_pg.user());
        db.open();
        return db;
    }
    static int count(const QSqlDatabase &db, const QString &sql)
    {
        QSqlQuery q(db);
        return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
    }

    QTemporaryDir m_dir;
    testing::PostgresServer m_pg;
    int m_count = 0;
};

#define NEW_STORAGE(s, driver)                                                                                         \
    Storage s;                                                                                                         \
    if (const QString why = newStorage(driver, s); !why.isEmpty()) QFAIL(qPrintable(why))

void TestLedger::initTestCase() { QVERIFY(m_dir.isValid()); }

void TestLedger::listingsFilterByCapcodeDateStationAndOutcome()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    Ledger north(settings(s, QString("north")));
    Ledger south(settings(s, QString("south")));
    if (driver == QLatin1String("sqlite")) QCOMPARE(north.localFile(), south.localFile());
    QHash<QString, QString> names; // uid → letter
    auto add = [&](Ledger &at, const QString &name, const QDateTime &t, LedgerOutcome o, quint32 cap,
                   quint32 second = 0) {
        PagerImage image = pager(cap);
        capcode_set(image, 1, second); // capcode #2 stays disabled
        LedgerEntry e = make_ledger_entry(image, o, {});
        e.time = t;
        names.insert(e.uid, name);
        QCOMPARE(at.record(e), QString());
    };
    add(north, "A", utc(2026, 3, 1, 0, 0), LedgerOutcome::Read, 111);
    add(south, "B", utc(2026, 3, 1, 23, 59, 59, 999), LedgerOutcome::WrittenVerified, 222, 111);
    add(north, "C", utc(2026, 3, 2, 0, 0), LedgerOutcome::VerifyError, 222);
    add(south, "D", utc(2026, 2, 28, 23, 59, 59, 999), LedgerOutcome::Refused, 333);

    struct Case {
        const char *name;
        LedgerFilter filter;
        QStringList want; // newest first
    };
    const QDate first(2026, 3, 1);
    const QList<Case> cases{
        {"everything", {}, {"C", "B", "A", "D"}},
        {"capcode 111 (disabled in B)", {111u, {}, {}, {}, {}}, {"A"}},
        {"capcode 222", {222u, {}, {}, {}, {}}, {"C", "B"}},
        {"one whole day", {{}, first, first, {}, {}}, {"B", "A"}},
        {"from a day", {{}, first, {}, {}, {}}, {"C", "B", "A"}},
        {"to a day", {{}, {}, first, {}, {}}, {"B", "A", "D"}},
        {"station", {{}, {}, {}, QString("south"), {}}, {"B", "D"}},
        {"outcome", {{}, {}, {}, {}, LedgerOutcome::WrittenVerified}, {"B"}},
        {"capcode and station", {222u, {}, {}, QString("north"), {}}, {"C"}},
        {"nothing matches", {999u, {}, {}, {}, {}}, {}},
    };
    for (const Case &c : cases) {
        QStringList got;
        for (const LedgerEntry &e : north.list(c.filter)) got << names.value(e.uid, QString("?"));
        QVERIFY2(got == c.want, qPrintable(QString("%1: %2").arg(QLatin1String(c.name), got.join(' '))));
    }
    // The message types come back as the window names them: #4 … #6 are mail drops 3, 4 and 5.
    const LedgerEntry back = north.list({}).first();
    QCOMPARE(back.capcodes[0].functions + ' ' + back.capcodes[3].functions + ' ' + back.capcodes[4].functions + ' ' +
                 back.capcodes[5].functions,
             QString("PPPP 3333 4 5"));
}

void TestLedger::earlierWritesOfACapcodeAreReported_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<int>("earlier");     // its outcome
    QTest::addColumn<QString>("station"); // where it was made; this write is at "north"
    QTest::addColumn<int>("age");         // seconds before this write
    QTest::addColumn<bool>("enabledThere");
    QTest::addColumn<bool>("enabledHere");
    QTest::addColumn<bool>("check");
    QTest::addColumn<bool>("found");
    const int wv = int(LedgerOutcome::WrittenVerified), writing = int(LedgerOutcome::Writing);
    for (const char *d : {"sqlite", "postgres"}) {
        auto row = [d](const char *name) -> QTestData & { return QTest::addRow("%s: %s", d, name) << d; };
        row("verified elsewhere") << wv << "south" << 86400 << true << true << true << true;
        row("verified here") << wv << "north" << 3600 << true << true << true << true;
        row("disabled in the earlier pager") << wv << "south" << 3600 << false << true << true << false;
        row("disabled in this pager") << wv << "south" << 3600 << true << false << true << false;
        row("verify error") << int(LedgerOutcome::VerifyError) << "south" << 3600 << true << true << true << false;
        row("write error") << int(LedgerOutcome::WriteError) << "south" << 3600 << true << true << true << false;
        row("refused") << int(LedgerOutcome::Refused) << "south" << 3600 << true << true << true << false;
        row("read") << int(LedgerOutcome::Read) << "south" << 3600 << true << true << true << false;
        row("being written elsewhere") << writing << "south" << 60 << true << true << true << true;
        row("being written by another program here") << writing << "north" << 60 << true << true << true << true;
        row("written elsewhere long ago") << writing << "south" << 900 << true << true << true << false;
        row("check off") << wv << "south" << 3600 << true << true << false << false;
    }
}

void TestLedger::earlierWritesOfACapcodeAreReported()
{
    QFETCH(QString, driver);
    QFETCH(int, earlier);
    QFETCH(QString, station);
    QFETCH(int, age);
    QFETCH(bool, enabledThere);
    QFETCH(bool, enabledHere);
    QFETCH(bool, check);
    QFETCH(bool, found);
    NEW_STORAGE(s, driver);
    Ledger there(settings(s, station));
    Ledger here(settings(s, QString("north")));
    LedgerEntry before = make_ledger_entry(pager(424242, enabledThere), LedgerOutcome(earlier), {});
    before.time = QDateTime::currentDateTimeUtc().addSecs(-age);
    if (LedgerOutcome(earlier) == LedgerOutcome::Writing)
        QVERIFY(!there.beginWrite(before, false).uid.isEmpty());
    else
        QCOMPARE(there.record(before), QString());

    const LedgerBeginResult r =
        here.beginWrite(make_ledger_entry(pager(424242, enabledHere), LedgerOutcome::Writing, {}), check);
    QCOMPARE(r.problem, QString());
    QCOMPARE(r.uid.isEmpty(), found);
    QCOMPARE(here.list({}).size(), found ? 1 : 2); // nothing is recorded when it finds one
    if (!found) {
        QVERIFY(r.duplicates.isEmpty());
        return;
    }
    QCOMPARE(r.duplicates.size(), 1);
    QCOMPARE(r.duplicates[0].capcode, 424242u);
    QCOMPARE(r.duplicates[0].station, station);
    QCOMPARE(r.duplicates[0].time, before.time);
    QCOMPARE(int(r.duplicates[0].outcome), earlier);
}

void TestLedger::twoStationsRacingForOneCapcodeGetOneClaim_data()
{
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QStringList>("stations");
    for (const char *d : {"sqlite", "postgres"}) {
        QTest::addRow("%s: two stations", d) << d << QStringList{"east", "west"};
        QTest::addRow("%s: two boards at one station", d) << d << QStringList{"east", "east"};
    }
}

void TestLedger::twoStationsRacingForOneCapcodeGetOneClaim()
{
    QFETCH(QString, driver);
    QFETCH(QStringList, stations);
    NEW_STORAGE(s, driver);
    for (int round = 0; round < 4; ++round) {
        const quint32 capcode = 50000 + round;
        LedgerBeginResult results[2];
        std::latch ready(2);
        auto station = [&](int k) {
            Ledger ledger(settings(s, stations[k])); // connections belong to the thread that makes them
            ledger.list({});                         // connected and set up (both at once the first time)
            ready.arrive_and_wait();
            results[k] = ledger.beginWrite(make_ledger_entry(pager(capcode), LedgerOutcome::Writing, {}), true);
        };
        std::thread a(station, 0), b(station, 1);
        a.join();
        b.join();
        QCOMPARE(results[0].problem + results[1].problem, QString());
        QVERIFY2(results[0].uid.isEmpty() != results[1].uid.isEmpty(), "exactly one station claims the capcode");
        const int winner = results[0].uid.isEmpty() ? 1 : 0;
        const LedgerBeginResult &loser = results[1 - winner];
        QCOMPARE(loser.duplicates.size(), 1);
        QCOMPARE(loser.duplicates[0].capcode, capcode);
        QCOMPARE(loser.duplicates[0].outcome, LedgerOutcome::Writing);
        QCOMPARE(loser.duplicates[0].station, stations[winner]);
    }
    QCOMPARE(Ledger(settings(s, QString("check"))).list({}).size(), 4);
}

void TestLedger::aClaimWaitsForAnotherStationsClaimAndSeesIt()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    const bool pg = driver == QLatin1String("postgres");
    std::latch connected(2), claimed(2);
    std::atomic<bool> done = false;
    LedgerBeginResult result;
    std::thread east([&] {
        Ledger ledger(settings(s, QString("east")));
        ledger.list({});
        connected.arrive_and_wait();
        claimed.arrive_and_wait();
        result = ledger.beginWrite(make_ledger_entry(pager(777), LedgerOutcome::Writing, {}), true);
        done = true;
    });
    connected.arrive_and_wait();
    // Another station in the middle of its claim, holding the lock a claim takes.
    QSqlDatabase west = direct(s);
    QSqlQuery q(west);
    QVERIFY(q.exec(pg ? QString("BEGIN") : QString("BEGIN IMMEDIATE")));
    QVERIFY(!pg || q.exec(QString("LOCK TABLE entries IN SHARE ROW EXCLUSIVE MODE")));
    QVERIFY(q.exec(QString("INSERT INTO entries (uid, time_ms, station, outcome, band, frequency, table_file) "
                           "VALUES ('w1', %1, 'west', 'writing', 0, 0, '')")
                       .arg(QDateTime::currentMSecsSinceEpoch())));
    QVERIFY(q.exec(QString("INSERT INTO entry_capcodes VALUES ('w1', 1, 777, 1, 'PPPP')")));
    claimed.arrive_and_wait();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const bool early = done;
    const bool committed = q.exec(QString("COMMIT"));
    east.join();
    QVERIFY2(!early && committed, "a claim waits for the claim in progress");
    QCOMPARE(result.problem, QString());
    QVERIFY(result.uid.isEmpty());
    QCOMPARE(result.duplicates.size(), 1);
    QCOMPARE(result.duplicates[0].station, QString("west"));
}

void TestLedger::entriesMadeWhileTheServerIsAwayAreCopiedOnce()
{
    NEW_STORAGE(s, QString("postgres"));
    const LedgerSettings config = settings(s, QString("north"));
    Ledger ledger(config);
    const LedgerEntry r1 = make_ledger_entry(pager(1), LedgerOutcome::Read, {});
    QCOMPARE(ledger.record(r1), QString());
    const QString w1 = ledger.beginWrite(make_ledger_entry(pager(2), LedgerOutcome::Writing, {}), true).uid;
    QVERIFY(!w1.isEmpty());

    m_pg.stop();
    QElapsedTimer timer;
    timer.start();
    QString problem = ledger.finishWrite(w1, LedgerOutcome::WrittenVerified, pager(2));
    QVERIFY2(problem.startsWith(QString("The programming ledger on 127.0.0.1:%1 cannot be reached").arg(m_pg.port()))
                 && problem.endsWith(QString("entries are kept on this station until it can.")),
             qPrintable(problem));
    QVERIFY(!problem.contains('\n'));
    const LedgerEntry r2 = make_ledger_entry(pager(3), LedgerOutcome::Read, {});
    QVERIFY(!ledger.record(r2).isEmpty());
    const LedgerBeginResult w2 = ledger.beginWrite(make_ledger_entry(pager(4), LedgerOutcome::Writing, {}), true);
    QVERIFY(!w2.uid.isEmpty() && !w2.problem.isEmpty());
    LedgerReach reach = LedgerReach::Whole;
    const QList<LedgerEntry> here = ledger.list({}, &problem, &reach);
    QVERIFY2(problem.endsWith(QString("this station's entries are shown instead.")), qPrintable(problem));
    QCOMPARE(reach, LedgerReach::ThisStationOnly);
    QCOMPARE(here.size(), 4); // this station's own record: r1 from before the outage too
    QVERIFY2(timer.elapsed() < 8000, "an unreachable server holds no call for long");

    QVERIFY2(m_pg.start(), qPrintable(m_pg.error()));
    QCOMPARE(ledger.finishWrite(w2.uid, LedgerOutcome::VerifyError, pager(4)), QString());
    const QStringList uids{r1.uid, w1, r2.uid, w2.uid};
    auto checkServer = [&] {
        QSqlDatabase db = direct(s);
        QCOMPARE(count(db, QString("SELECT COUNT(*) FROM entries")), uids.size());
        for (const QString &uid : uids)
            QCOMPARE(count(db, QString("SELECT COUNT(*) FROM entries WHERE uid = '%1'").arg(uid)), 1);
        QCOMPARE(count(db, QString("SELECT COUNT(*) FROM entries WHERE outcome = 'writing'")), 0);
    };
    checkServer();
    QSqlDatabase local = direct(s, config.file);
    QCOMPARE(count(local, QString("SELECT COUNT(*) FROM entries WHERE copied = 0")), 0);

    // Copied again, and once as a stale "writing" row: still one row each, outcomes kept.
    QVERIFY(QSqlQuery(local).exec(QString("UPDATE entries SET copied = 0, outcome = 'writing'")));
    QCOMPARE(ledger.list({}, &problem, &reach).size(), uids.size());
    QCOMPARE(problem, QString());
    QCOMPARE(reach, LedgerReach::Whole);
    checkServer();
    const QList<LedgerEntry> finished = ledger.list({{}, {}, {}, {}, LedgerOutcome::VerifyError});
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished[0].uid, w2.uid);
}

void TestLedger::aLedgerThatCannotBeWrittenSaysSoAndGoesOn()
{
    QFile plain(m_dir.filePath(QString("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    LedgerSettings config;
    config.file = plain.fileName() + QString("/ledger.sqlite"); // under a file: no folder can be made
    Ledger alone(config);
    const QString problem = alone.record(make_ledger_entry(pager(1), LedgerOutcome::Read, {}));
    QVERIFY2(problem.startsWith(QString("The programming ledger file ")) && problem.endsWith("not recorded."),
             qPrintable(problem));
    const LedgerBeginResult begun = alone.beginWrite(make_ledger_entry(pager(1), LedgerOutcome::Writing, {}), true);
    QVERIFY(begun.uid.isEmpty() && !begun.problem.isEmpty());
    QString listed;
    QVERIFY(alone.list({}, &listed).isEmpty());
    QVERIFY(listed.endsWith(QString("no entries can be shown.")));

    QTcpServer probe; // a port where nothing listens
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    config.server = QString("127.0.0.1");
    config.port = probe.serverPort();
    probe.close();
    Ledger nowhere(config);
    const QString both = nowhere.record(make_ledger_entry(pager(1), LedgerOutcome::Read, {}));
    QVERIFY2(both.contains(QString("cannot be reached")) && both.contains(QString("and the programming ledger file"))
                 && both.endsWith(QString("not recorded.")),
             qPrintable(both));
}

void TestLedger::anEntryIsNamedByItsUidWhereverItIsListed()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    const bool pg = driver == QLatin1String("postgres");
    Ledger south(settings(s, QString("south")));
    Ledger north(settings(s, QString("north")));
    auto add = [](Ledger &at, const char *uid) {
        LedgerEntry e = make_ledger_entry(pager(1), LedgerOutcome::Read, {});
        e.uid = QString::fromLatin1(uid);
        return at.record(e);
    };
    QCOMPARE(add(south, "0badcafe-0000-4000-8000-000000000001"), QString());
    QCOMPARE(add(south, "0badcafe-1111-4000-8000-000000000002"), QString());
    if (pg) m_pg.stop(); // made during an outage: on the server only once it is back
    QCOMPARE(add(north, "12345678-0000-4000-8000-000000000003").isEmpty(), !pg);
    if (pg) QVERIFY2(m_pg.start(), qPrintable(m_pg.error()));
    // The id a listing shows names its entry, on this station and on the server alike.
    const QStringList rows = ledger_csv(north.list({})).split(QString("\r\n"), Qt::SkipEmptyParts).mid(1);
    QCOMPARE(rows.size(), 3);
    for (const QString &row : rows) {
        const QStringList cells = row.split(',');
        QCOMPARE(cells.first(), cells.last().left(10)); // the 0badcafe pair needs 10 characters
        QCOMPARE(south.find(cells.first()).entry->uid, cells.last());
    }
}

void TestLedger::aDamagedLedgerFileIsMovedAsideAndANewOneStarted()
{
    const QString path = m_dir.filePath(QString("damaged.sqlite"));
    QFile file(path);
    const QByteArray garbage = QByteArray("\x93\x07garbage, not a ledger").repeated(200);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(garbage) == garbage.size());
    file.close();
    LedgerSettings config;
    config.file = path;
    Ledger ledger(config);
    // Said once, with the new name; the entry is recorded in a new file.
    const QString problem = ledger.record(make_ledger_entry(pager(1), LedgerOutcome::Read, {}));
    const auto m = QRegularExpression(QString("^The programming ledger file %1 is damaged; it was moved to (%1\\.damaged-"
                                              "\\S+) and a new ledger file was started\\.$")
                                          .arg(QRegularExpression::escape(path)))
                       .match(problem);
    QVERIFY2(m.hasMatch(), qPrintable(problem));
    QFile aside(m.captured(1));
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), garbage);
    QCOMPARE(ledger.record(make_ledger_entry(pager(2), LedgerOutcome::Read, {})), QString());
    QCOMPARE(Ledger(config).list({}).size(), 2);
}

QTEST_GUILESS_MAIN(TestLedger)
#include "test_ledger.moc"

void TestLedger::pagesWalkTheFilteredListingInOrderAndCountIt()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    Ledger north(settings(s, QString("north")));
    // 23 entries, several sharing one millisecond; every third from plan "a.csv".
    const QDateTime t0 = utc(2026, 5, 1);
    for (int i = 0; i < 23; ++i) {
        LedgerEntry e = make_ledger_entry(pager(1000 + quint32(i)), LedgerOutcome::WrittenVerified, {});
        e.time = t0.addSecs(i / 3);
        if (i % 3 == 0) e.plan = "a.csv", e.planRow = i / 3 + 1, e.planLabel = QString("A%1").arg(i);
        QCOMPARE(north.record(e), QString());
    }
    for (const QString &plan : {QString(), QString("a.csv")}) {
        LedgerFilter filter;
        filter.plan = plan;
        const QList<LedgerEntry> whole = north.list(filter);
        QList<LedgerEntry> paged;
        std::optional<LedgerCursor> after;
        for (int pages = 0; pages < 20; ++pages) {
            QString problem;
            const QList<LedgerEntry> page = north.page(filter, after, 5, &problem);
            QCOMPARE(problem, QString());
            QVERIFY(page.size() <= 5);
            if (page.isEmpty()) break;
            paged += page;
            after = ledger_cursor(page.last());
        }
        QCOMPARE(north.count(filter), qint64(whole.size()));
        QCOMPARE(paged.size(), whole.size());
        QSet<QString> uids;
        for (int i = 0; i < paged.size(); ++i) {
            uids.insert(paged[i].uid);
            QVERIFY(i == 0 || paged[i - 1].time >= paged[i].time);
            QCOMPARE(paged[i].plan, plan.isEmpty() ? paged[i].plan : plan);
            QCOMPARE(paged[i].capcodes[0].capcode >= 1000, true); // capcodes come with each page
        }
        QCOMPARE(uids.size(), whole.size());
        QCOMPARE(whole.size(), plan.isEmpty() ? 23 : 8);
    }
}

void TestLedger::twoStationsRunningOnePlanNeverProgramARowTwice()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    // Each station takes the first row not yet held and claims it, as a plan run does; a row
    // the other claimed first is passed over.
    constexpr int kRows = 12;
    QList<int> written[2];
    std::latch ready(2);
    auto station = [&](int k) {
        Ledger ledger(settings(s, k == 0 ? QString("east") : QString("west")));
        ledger.list({});
        ready.arrive_and_wait();
        QSet<int> passed;
        for (int row = 1; row <= kRows; ++row) {
            LedgerFilter filter;
            filter.plan = "fleet.csv";
            bool held = false;
            for (const LedgerEntry &e : ledger.list(filter)) held = held || e.planRow == row;
            if (held) continue;
            LedgerEntry e = make_ledger_entry(pager(9000 + quint32(row)), LedgerOutcome::Writing, {});
            e.plan = "fleet.csv", e.planRow = row, e.planLabel = QString("P%1").arg(row);
            const LedgerBeginResult r = ledger.beginWrite(e, false);
            if (!r.problem.isEmpty()) return;
            if (r.rowTaken) continue;
            if (r.uid.isEmpty()) return;
            written[k] << row;
            ledger.finishWrite(r.uid, LedgerOutcome::WrittenVerified, pager(9000 + quint32(row)));
        }
    };
    std::thread a(station, 0), b(station, 1);
    a.join();
    b.join();
    QList<int> all = written[0] + written[1];
    std::sort(all.begin(), all.end());
    QList<int> want;
    for (int row = 1; row <= kRows; ++row) want << row;
    QCOMPARE(all, want); // every row once, none twice
    LedgerFilter filter;
    filter.plan = "fleet.csv";
    QCOMPARE(Ledger(settings(s, QString("check"))).count(filter), qint64(kRows));
}

void TestLedger::aLedgerOfThePreviousVersionOpensWithItsEntries()
{
    QFETCH(QString, driver);
    NEW_STORAGE(s, driver);
    const bool pg = driver == QLatin1String("postgres");
    {
        // The tables as the previous version made them, with one entry.
        QSqlDatabase db = direct(s);
        QSqlQuery q(db);
        const QString id = pg ? QString("BIGSERIAL PRIMARY KEY") : QString("INTEGER PRIMARY KEY AUTOINCREMENT");
        QVERIFY(q.exec("CREATE TABLE ledger_schema (version INTEGER NOT NULL)"));
        QVERIFY(q.exec(QString("CREATE TABLE entries (id %1, uid TEXT NOT NULL UNIQUE, time_ms BIGINT NOT NULL, "
                               "station TEXT NOT NULL, outcome TEXT NOT NULL, band INTEGER NOT NULL, frequency BIGINT "
                               "NOT NULL, table_file TEXT NOT NULL, image %2, copied INTEGER NOT NULL DEFAULT 0)")
                           .arg(id, pg ? "BYTEA" : "BLOB")));
        QVERIFY(q.exec("CREATE TABLE entry_capcodes (entry_uid TEXT NOT NULL, number INTEGER NOT NULL, capcode BIGINT "
                       "NOT NULL, enabled INTEGER NOT NULL, functions TEXT NOT NULL, PRIMARY KEY (entry_uid, number))"));
        QVERIFY(q.exec("INSERT INTO ledger_schema (version) VALUES (1)"));
        QVERIFY(q.exec(QString("INSERT INTO entries (uid, time_ms, station, outcome, band, frequency, table_file) "
                               "VALUES ('0ld00000-0000-0000-0000-000000000001', %1, 'old', 'written and verified', 2, "
                               "15300000, 'x.tbl')").arg(utc(2026, 1, 2).toMSecsSinceEpoch())));
        QVERIFY(q.exec("INSERT INTO entry_capcodes VALUES ('0ld00000-0000-0000-0000-000000000001', 1, 4321, 1, 'PPPP')"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QString("direct-%1").arg(m_count));
    Ledger ledger(settings(s, QString("new")));
    LedgerEntry planned = make_ledger_entry(pager(5555), LedgerOutcome::WrittenVerified, {});
    planned.plan = "site.csv", planned.planRow = 3, planned.planLabel = "C";
    QCOMPARE(ledger.record(planned), QString());
    QString problem;
    const QList<LedgerEntry> all = ledger.list({}, &problem);
    QCOMPARE(problem, QString());
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[1].station, QString("old"));
    QCOMPARE(all[1].capcodes[0].capcode, 4321u);
    QCOMPARE(all[1].plan, QString());
    LedgerFilter filter;
    filter.plan = "site.csv";
    const QList<LedgerEntry> fromPlan = ledger.list(filter);
    QCOMPARE(fromPlan.size(), 1);
    QCOMPARE(fromPlan[0].planRow, 3);
    QCOMPARE(fromPlan[0].planLabel, QString("C"));
    // A program of the previous version still writes into it: its statements name their columns.
    QSqlDatabase db = direct(s);
    QSqlQuery q(db);
    QVERIFY(q.exec("INSERT INTO entries (uid, time_ms, station, outcome, band, frequency, table_file) "
                   "VALUES ('0ld00000-0000-0000-0000-000000000002', 1, 'old', 'read', 2, 15300000, '')"));
    QCOMPARE(count(db, "SELECT MAX(version) FROM ledger_schema"), 1);
}
