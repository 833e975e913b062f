// zr730-cli as a script runs it: a real process, real table files, the board simulator.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "image/capcodes.h"
#include "image/defaults.h"
#include "image/pll.h"
#include "image/prompts.h"
#include "ledger/ledger.h"
#include "support/board_simulator.h"
#include "support/postgres_server.h"
#include "transfer/prompt_conversion.h"
#include "transfer/table_file.h"
#include "transfer/transfer_procedures.h"

using namespace zr730;
using zr730::testing::BoardSimulator;

namespace {

struct Run {
    int status = -1;
    QString out, err;
};

PagerImage table(const QString &path)
{
    PagerImage image;
    image.bytes() = read_table_file(path).bytes;
    return image;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void init();
    void diffNamesTheFieldsAsATechnicianReadsThem();
    void infoJsonCarriesFrequencyAndCapcodes();
    void badArgumentsGiveOneLineAndWriteNothing_data();
    void badArgumentsGiveOneLineAndWriteNothing();
    void verifyListsTheFieldThatDiffers();
    void seriesProgramsPagersOneAfterTheOtherWithATrace();
    void everyWriteAndReadIsInTheLedger_data();
    void everyWriteAndReadIsInTheLedger();
    void aCapcodeInAnotherPagerIsAskedAboutOnce();
    void anUnreachableLedgerServerIsSaidOnceAndProgrammingGoesOn();
    void twoStationsShareOneLedgerOnAServer();
    void aLedgerSeenOnlyInPartSaysSoInItsStatus_data();
    void aLedgerSeenOnlyInPartSaysSoInItsStatus();
    void aPlanRunRetriesAFailedRowAndResumesAfterARestart();
    void aPlanIsCheckedAndItsLabelsPrinted();

private:
    void write(const char *name, const QByteArray &bytes)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    Run cli(const QStringList &args, const QByteArray &input = {});
    QString file(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
    void save(const char *name, const PagerImage &image) { QVERIFY(save_table_file(file(name), image).ok); }

    // The installation settings of the next runs: this test's own ledger, checks as given.
    void settings(bool checkDuplicates, const QString &extra = {}, const QString &station = QStringLiteral("bench-1"));
    QList<QStringList> ledgerRows();

    QTemporaryDir m_dir;
    PagerImage m_base;
    QString m_ledger;
};

void TestCli::settings(bool checkDuplicates, const QString &extra, const QString &station)
{
    m_ledger = m_dir.filePath(QStringLiteral("ledger-%1-%2.sqlite")
                                  .arg(QLatin1String(QTest::currentTestFunction()),
                                       QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'))));
    QDir().mkpath(m_dir.filePath(QStringLiteral("config/zr730")));
    QFile ini(m_dir.filePath(QStringLiteral("config/zr730/zr730.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(QStringLiteral("[Ledger]\nFile=%1\nStation=%2\nCheckDuplicates=%3\n%4")
                  .arg(m_ledger, station, checkDuplicates ? QStringLiteral("true") : QStringLiteral("false"), extra)
                  .toUtf8());
}

// The ledger's entries as its CSV gives them, newest first, without the header.
QList<QStringList> TestCli::ledgerRows()
{
    const Run r = cli({"ledger", "--csv"});
    QList<QStringList> rows;
    const QStringList lines = r.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) rows << lines[i].split(QLatin1Char(','));
    return rows;
}

Run TestCli::cli(const QStringList &args, const QByteArray &input)
{
    QProcess p;
    testing::endWithThisTest(p);
    // No settings of the user's own: the only adapter is the one --port names.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZR730_CLI_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void TestCli::init()
{
    QVERIFY(m_dir.isValid());
    m_base = default_image();
    capcode_set(m_base, 0, 1234567);
    capcode_set(m_base, 2, 42);
    m_base[kCapcodeBase + 6] |= 0x80; // capcode #3 on
    settings(false);
}

void TestCli::diffNamesTheFieldsAsATechnicianReadsThem()
{
    PagerImage b = m_base;
    capcode_set(b, 2, 43);
    set_display_nibble(b, function_bit_set(3), 1, 3); // capcode #1, function bit B: Ideo
    store_prompt(b, 1, PromptLine{'E', 'M', 0, 'T', 'Y'}); // as a pager may hand it back
    save("a.tbl", m_base);
    save("b.tbl", b);

    const Run same = cli({"diff", file("a.tbl"), file("a.tbl")});
    QCOMPARE(same.status, 0);
    QCOMPARE(same.out, QString());

    const Run r = cli({"diff", file("a.tbl"), file("b.tbl")});
    QCOMPARE(r.status, 1);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.size() == 5, qPrintable(r.out));
    QCOMPARE(lines[2], QString::fromUtf8("Capcode #1 function bit B display (0x0EE bits 0\u20133): A Alpha, B Ideo"));
    QCOMPARE(lines[3], QString::fromUtf8("Prompt 1 (NO PAGES) (0x114\u20130x127): A \"    NO PAGES\", B \"EM\\x00TY\""));
    QCOMPARE(lines[4], QString::fromUtf8("Capcode #3 (0x366\u20130x368): A 0000042, B 0000043"));
}

void TestCli::infoJsonCarriesFrequencyAndCapcodes()
{
    save("a.tbl", m_base);
    const Run r = cli({"info", "--json", file("a.tbl")});
    QCOMPARE(r.status, 0);
    QJsonParseError error{};
    const QJsonObject d = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(d["frequency"].toInteger(), frequency_of_image(m_base));
    QCOMPARE(d["band"].toString(), QString::fromLatin1(kBandEntries[std::size_t(*band_of_image(m_base))].data()));
    const QJsonArray caps = d["capcodes"].toArray();
    QCOMPARE(caps.size(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(caps[i]["capcode"].toInteger(), qint64(capcode_get(m_base, i)));
        QCOMPARE(caps[i]["enabled"].toBool(), capcode_enabled(m_base, i));
    }
    QCOMPARE(caps[0]["functionBits"].toArray().size(), 4);
    QCOMPARE(caps[5]["functionBits"].toArray().size(), 1);
}

void TestCli::badArgumentsGiveOneLineAndWriteNothing_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::newRow("no command") << QStringList{} << 2;
    QTest::newRow("unknown command") << QStringList{"erase", "x.tbl"} << 2;
    QTest::newRow("unknown option") << QStringList{"info", "--colour", "a.tbl"} << 2;
    QTest::newRow("diff of one file") << QStringList{"diff", "a.tbl"} << 2;
    QTest::newRow("missing file") << QStringList{"info", "missing.tbl"} << 3;
    QTest::newRow("not a table file") << QStringList{"write", "--port", "/dev/null", "junk.tbl"} << 3;
    QTest::newRow("series of none") << QStringList{"write", "--series", "0", "a.tbl"} << 2;
    QTest::newRow("increment what") << QStringList{"write", "--series", "2", "--increment", "3rd", "a.tbl"} << 2;
    QTest::newRow("no such port") << QStringList{"read", "--port", "/dev/zr730-none", "out.tbl"} << 2;
    QTest::newRow("no board") << QStringList{"read", "--port", "/dev/null", "out.tbl"} << 4;
    QTest::newRow("trace unwritable") << QStringList{"read", "--port", "/dev/null", "--trace", "/proc/zr730", "out.tbl"} << 2;
}

void TestCli::badArgumentsGiveOneLineAndWriteNothing()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    save("a.tbl", m_base);
    QFile junk(file("junk.tbl"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a pager");
    junk.close();
    for (QString &a : args)
        if (a.endsWith(QLatin1String(".tbl"))) a = file(a.toLatin1().constData());

    const Run r = cli(args);
    QCOMPARE(r.status, status);
    QVERIFY2(!r.err.trimmed().isEmpty(), "no reason given");
    if (status != 2 || !args.isEmpty()) QVERIFY2(!r.err.trimmed().contains(QLatin1Char('\n')), qPrintable(r.err));
    QVERIFY(!QFile::exists(file("out.tbl")));
    QCOMPARE(table(file("a.tbl")), m_base);
}

void TestCli::verifyListsTheFieldThatDiffers()
{
    PagerImage pager = m_base;
    pager[kCapcodeBase + 8] ^= 0x01; // capcode #3 reads 43 in the pager
    save("pager.tbl", pager);
    save("a.tbl", m_base);
    BoardSimulator sim(file("board"), {"--load", file("pager.tbl")});
    QVERIFY(sim.start());

    const Run r = cli({"verify", "--port", file("board"), file("a.tbl")});
    QCOMPARE(r.status, 1);
    QVERIFY2(r.err.contains(QStringLiteral("Verify Error!")), qPrintable(r.err));
    QCOMPARE(r.out.trimmed(), QString::fromUtf8("Capcode #3 (0x366\u20130x368): expected 0000042, read back 0000043"));
}

void TestCli::seriesProgramsPagersOneAfterTheOtherWithATrace()
{
    save("a.tbl", m_base);
    BoardSimulator sim(file("board"), {"--save", file("pager.tbl")});
    QVERIFY(sim.start());

    const Run r = cli({"write", "--port", file("board"), "--series", "2", "--increment", "1st", "--yes", "--trace",
                       file("trace.log"), file("a.tbl")},
                      "\n");
    QCOMPARE(r.status, 0);
    QVERIFY2(r.err.count(QStringLiteral("Verify Success!")) == 2, qPrintable(r.err));
    QVERIFY(r.err.contains(QStringLiteral("next: capcode #1 1234569")));
    sim.stop();
    // The second pager has the first capcode plus one; the file was not touched.
    PagerImage expected = m_base;
    capcode_set(expected, 0, 1234568);
    expected[0x3E0] = 1; // the write marker
    clean_up_capcodes(expected);
    prompt_to_pager(expected);
    QCOMPARE(table(file("pager.tbl")), expected);
    QCOMPARE(table(file("a.tbl")), m_base);

    // Every frame, both ways, stamped: two presence checks, then per pager a RoHS read, 8 writes and 8 reads.
    QFile trace(file("trace.log"));
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(trace.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QRegularExpression frame(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z COM\\d+ ([<>])\\s+(\\d+)  ([0-9A-F ]+)  \\|"));
    int sent = 0, received = 0;
    for (const QString &l : lines) {
        const auto m = frame.match(l);
        if (!m.hasMatch()) continue;
        (m.captured(1) == QLatin1String(">") ? sent : received)++;
    }
    QCOMPARE(sent, 1 + 2 * (1 + 8 + 8));
    QCOMPARE(received, sent);
}

void TestCli::everyWriteAndReadIsInTheLedger_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("verified") << QStringList{} << QStringList{"--yes"} << 0 << "written and verified";
    QTest::newRow("verify error") << QStringList{"--fault", "stuck=0x000"} << QStringList{"--yes"} << 1 << "verify error";
    QTest::newRow("RoHS refused") << QStringList{"--load", "rohs.tbl"} << QStringList{} << 6 << "refused";
    QTest::newRow("write error") << QStringList{"--fault", "wrong-ack"} << QStringList{"--yes"} << 5 << "write error";
}

void TestCli::everyWriteAndReadIsInTheLedger()
{
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, outcome);
    PagerImage rohs = m_base;
    rohs[0x3F8] = 0xAA; // a GP(RoHS) pager; the file's band is not
    save("rohs.tbl", rohs);
    save("a.tbl", m_base);
    for (QString &a : simulator)
        if (a.endsWith(QLatin1String(".tbl"))) a = file(a.toLatin1().constData());
    BoardSimulator sim(file("board"), simulator);
    QVERIFY(sim.start());

    QCOMPARE(cli(QStringList{"write", "--port", file("board")} + options + QStringList{file("a.tbl")}).status, status);
    QList<QStringList> rows = ledgerRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][2], QStringLiteral("bench-1"));
    QCOMPARE(rows[0][3], outcome);
    QCOMPARE(rows[0][6], QStringLiteral("1234567")); // capcode #1, on
    QCOMPARE(rows[0][7], QStringLiteral("yes"));
    QCOMPARE(rows[0][24], file("a.tbl"));
    if (status != 0) return;

    // A read keeps the pager's image even though nobody saves it: it comes back as a table file.
    QCOMPARE(cli({"read", "--port", file("board"), file("read.tbl")}).status, 0);
    rows = ledgerRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][3], QStringLiteral("read"));
    QCOMPARE(cli({"ledger", "--image", rows[0][0], file("again.tbl")}).status, 0);
    QCOMPARE(table(file("again.tbl")), table(file("read.tbl")));
    QCOMPARE(cli({"ledger", "--capcode", "1234567", "--outcome", "read"}).out.count(QLatin1Char('\n')), 2);
}

void TestCli::aCapcodeInAnotherPagerIsAskedAboutOnce()
{
    settings(true);
    PagerImage other = m_base;
    store_prompt(other, 1, PromptLine{'N', 'E', 'W'}); // another configuration, capcode #1 the same
    save("a.tbl", m_base);
    save("other.tbl", other);
    BoardSimulator sim(file("board"), {"--save", file("pager.tbl")});
    QVERIFY(sim.start());
    QCOMPARE(cli({"write", "--port", file("board"), "--yes", file("a.tbl")}).status, 0);
    const PagerImage first = table(file("pager.tbl"));

    // No (a script without --yes): nothing is written, and the refusal is recorded.
    const Run no = cli({"write", "--port", file("board"), file("other.tbl")});
    QCOMPARE(no.status, 6);
    // One question naming both enabled capcodes, when and where they were written.
    QCOMPARE(no.err.count(QStringLiteral("Program it into this pager too?")), 1);
    const QRegularExpression line(QStringLiteral("Capcode (\\d{7}) was written and verified into a pager on "
                                                 "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d UTC at station bench-1\\."));
    QStringList named;
    for (auto it = line.globalMatch(no.err); it.hasNext();) named << it.next().captured(1);
    named.sort();
    QCOMPARE(named, (QStringList{"0000042", "1234567"}));
    QCOMPARE(table(file("pager.tbl")), first);
    QCOMPARE(ledgerRows()[0][3], QStringLiteral("refused"));

    // Yes: written.
    QCOMPARE(cli({"write", "--port", file("board"), "--yes", file("other.tbl")}).status, 0);
    QCOMPARE(ledgerRows()[0][3], QStringLiteral("written and verified"));
}

void TestCli::anUnreachableLedgerServerIsSaidOnceAndProgrammingGoesOn()
{
    settings(true, QStringLiteral("Server=127.0.0.1\nPort=1\n")); // nothing listens there
    save("a.tbl", m_base);
    BoardSimulator sim(file("board"));
    QVERIFY(sim.start());
    const Run r = cli({"write", "--port", file("board"), "--yes", file("a.tbl")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err.count(QStringLiteral("cannot be reached")), 1);
    QVERIFY(r.err.contains(QStringLiteral("Verify Success!")));
    // The entry waits in this station's file.
    const QList<QStringList> rows = ledgerRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][3], QStringLiteral("written and verified"));
}

void TestCli::twoStationsShareOneLedgerOnAServer()
{
    testing::PostgresServer server;
    QVERIFY2(server.start() && server.createDatabase(QStringLiteral("shared")), qPrintable(server.error()));
    const QString shared = QStringLiteral("Server=%1\nPort=%2\nDatabase=shared\nUser=%3\n")
                               .arg(server.host())
                               .arg(server.port())
                               .arg(server.user());
    PagerImage other = m_base;
    store_prompt(other, 1, PromptLine{'N', 'E', 'W'});
    save("a.tbl", m_base);
    save("other.tbl", other);
    BoardSimulator sim(file("board"));
    QVERIFY(sim.start());

    settings(true, shared, QStringLiteral("bench-1"));
    QCOMPARE(cli({"write", "--port", file("board"), "--yes", file("a.tbl")}).status, 0);
    // The second bench knows the capcode from the shared ledger.
    settings(true, shared, QStringLiteral("bench-2"));
    const Run no = cli({"write", "--port", file("board"), file("other.tbl")});
    QCOMPARE(no.status, 6);
    QVERIFY2(no.err.contains(QStringLiteral("at station bench-1.")), qPrintable(no.err));
    const QList<QStringList> rows = ledgerRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE((QStringList{rows[0][2], rows[0][3], rows[1][2], rows[1][3]}),
             (QStringList{"bench-2", "refused", "bench-1", "written and verified"}));
}

void TestCli::aLedgerSeenOnlyInPartSaysSoInItsStatus_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<bool>("unreadable"); // the ledger file is a folder
    QTest::addColumn<int>("status");
    const QString away = QStringLiteral("Server=127.0.0.1\nPort=1\n"); // nothing listens there
    QTest::newRow("unreadable file") << QStringList{"ledger", "--csv"} << QString() << true << 3;
    QTest::newRow("server not reached") << QStringList{"ledger", "--csv"} << away << false << 8;
    QTest::newRow("image of a short id") << QStringList{"ledger", "--image", "0badcafe-1"} << QString() << false << 0;
    QTest::newRow("image of an unknown id") << QStringList{"ledger", "--image", "fedcba98"} << QString() << false << 3;
    QTest::newRow("image of an ambiguous id") << QStringList{"ledger", "--image", "0badcafe"} << QString() << false << 3;
    QTest::newRow("image of an entry number") << QStringList{"ledger", "--image", "1"} << QString() << false << 3;
    QTest::newRow("image, server not reached") << QStringList{"ledger", "--image", "fedcba98"} << away << false << 8;
}

void TestCli::aLedgerSeenOnlyInPartSaysSoInItsStatus()
{
    QFETCH(QStringList, args);
    QFETCH(QString, settings);
    QFETCH(bool, unreadable);
    QFETCH(int, status);
    this->settings(false, settings);
    if (unreadable) QVERIFY(QDir().mkpath(m_ledger));
    Ledger book(LedgerSettings{.file = m_ledger});
    for (const char *uid : {"0badcafe-0000-4000-8000-000000000001", "0badcafe-1111-4000-8000-000000000002"}) {
        LedgerEntry e = make_ledger_entry(m_base, LedgerOutcome::Read, {});
        e.uid = QString::fromLatin1(uid);
        QCOMPARE(book.record(e).isEmpty(), !unreadable);
    }
    if (args.contains(QStringLiteral("--image"))) args << file("out.tbl");

    const Run r = cli(args);
    QCOMPARE(r.status, status);
    QCOMPARE(QFile::remove(file("out.tbl")), status == 0);
    QCOMPARE(r.err.isEmpty(), status == 0);
    // Only this station's entries are listed, and said to be; an unreadable ledger lists nothing.
    if (args.contains(QStringLiteral("--csv"))) QCOMPARE(r.out.count(QStringLiteral("\r\n")), unreadable ? 0 : 3);
}

void TestCli::aPlanRunRetriesAFailedRowAndResumesAfterARestart()
{
    save("base.tbl", m_base);
    // Row 2 adds a group capcode #2 that rows 1 and 3 leave as in the base configuration.
    write("plan.csv", "label,capcode1,enable1,capcode2,enable2\r\nP-1,256,yes,,\r\nP-2,257,yes,16,yes\r\n"
                      "P-3,512,yes,,\r\n");
    PagerImage start = m_base;
    capcode_set(start, 0, 256);
    save("start.tbl", start);
    // A worn cell keeps the low byte of capcode #1 (0): rows 1 and 3 verify, row 2 (257) cannot.
    BoardSimulator worn(file("board"), {"--load", file("start.tbl"), "--save", file("pager.tbl"), "--fault", "stuck=0x362"});
    QVERIFY(worn.start());
    const QStringList args{"write", "--port", file("board"), "--yes", file("base.tbl"), "--plan", file("plan.csv")};
    // Row 1, Enter, row 2 fails, Enter, row 2 fails again, end of input.
    Run r = cli(args, "\n\n");
    QVERIFY2(r.status == 1, qPrintable(r.err));
    QCOMPARE(r.err.count(QStringLiteral("row 1 (\"P-1\") written and verified.")), 1);
    QCOMPARE(r.err.count(QStringLiteral("row 2 (\"P-2\") was not programmed.")), 2);
    QVERIFY2(r.err.contains(QStringLiteral("Plan stopped at row 2")), qPrintable(r.err));
    worn.stop();

    // A new board, a new run: it begins at row 2 and ends with row 3.
    BoardSimulator good(file("board"), {"--load", file("pager.tbl"), "--save", file("pager.tbl")});
    QVERIFY(good.start());
    r = cli(args, "\n");
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY2(r.err.startsWith(QStringLiteral("Plan plan.csv, row 2 (\"P-2\") of 3")), qPrintable(r.err));
    QVERIFY(!r.err.contains(QStringLiteral("row 1 (")));
    QVERIFY2(r.err.contains(QStringLiteral("plan.csv: 3 of 3 rows written and verified (2 by this run)")), qPrintable(r.err));

    // The ledger names each write's plan, row and label; other entries are not listed.
    const Run listed = cli({"ledger", "--csv", "--plan", "plan.csv"});
    QCOMPARE(listed.status, 0);
    const QStringList lines = listed.out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QStringList header = lines.value(0).split(',');
    QStringList got; // oldest first: "row outcome"
    for (qsizetype i = lines.size() - 1; i >= 1; --i) {
        const QStringList cells = lines[i].split(',');
        got << cells[header.indexOf("plan_row")] + ' ' + cells[header.indexOf("plan_label")] + ' '
                   + cells[header.indexOf("outcome")];
    }
    QCOMPARE(got, (QStringList{"1 P-1 written and verified", "2 P-2 verify error", "2 P-2 verify error",
                               "2 P-2 written and verified", "3 P-3 written and verified"}));
    // Once all rows are written, a run writes nothing.
    r = cli(args, "\n");
    QCOMPARE(r.status, 0);
    QVERIFY2(!r.err.contains(QStringLiteral("Verify")), qPrintable(r.err));
    good.stop();
    const PagerImage last = table(file("pager.tbl"));
    QCOMPARE(capcode_get(last, 0), 512u);
    QCOMPARE(capcode_get(last, 1), capcode_get(m_base, 1)); // row 3 after row 2: the base's #2
    QCOMPARE(capcode_enabled(last, 1), capcode_enabled(m_base, 1));
}

void TestCli::aPlanIsCheckedAndItsLabelsPrinted()
{
    write("bad.csv", "label;capcode1;capcode2\nA;800;9\nB;800;x\nC;2097152;9\n");
    Run r = cli({"plan", "check", file("bad.csv")});
    QCOMPARE(r.status, 3);
    QCOMPARE(r.out, QString("bad.csv: line 3 (row 2), capcode1: capcode 0000800 is already row 1's capcode #1 (line 2); each pager needs its own\n"
                            "bad.csv: line 3 (row 2), capcode2: \"x\" is not a capcode (a whole number 0 … 2097151)\n"
                            "bad.csv: line 4 (row 3), capcode1: \"2097152\" is not a capcode (a whole number 0 … 2097151)\n"));
    QVERIFY(!QFile::exists(file("bad.pdf")));
    r = cli({"labels", file("bad.csv"), "-o", file("bad.pdf")});
    QCOMPARE(r.status, 3);
    QVERIFY(!QFile::exists(file("bad.pdf")));

    QByteArray plan = "label,capcode1,capcode2\n";
    for (int n = 1; n <= 26; ++n) plan += QStringLiteral("PG-%1,%2,16\n").arg(n, 3, 10, QChar('0')).arg(800 + 8 * n).toUtf8();
    write("site.csv", plan);
    QCOMPARE(cli({"plan", "check", file("site.csv")}).status, 0);
    struct Sheet {
        QStringList args;
        QList<int> rows;
    };
    for (const Sheet &sheet : {Sheet{{}, {}}, Sheet{{"--rows", "1-5,8", "--page", "letter"}, {1, 2, 3, 4, 5, 8}}}) {
        QFile::remove(file("labels.pdf"));
        r = cli(QStringList{"labels", file("site.csv"), "-o", file("labels.pdf")} + sheet.args);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QProcess text;
        text.start("pdftotext", {"-layout", file("labels.pdf"), "-"});
        QVERIFY2(text.waitForFinished(30000) && text.exitCode() == 0, "pdftotext (poppler-utils) reads the sheet");
        const QString out = QString::fromUtf8(text.readAllStandardOutput());
        for (int n = 1; n <= 26; ++n) {
            const bool wanted = sheet.rows.isEmpty() || sheet.rows.contains(n);
            QCOMPARE(out.count(QStringLiteral("PG-%1").arg(n, 3, 10, QChar('0'))), wanted ? 1 : 0);
            QCOMPARE(out.count(QStringLiteral("#1 %1").arg(800 + 8 * n, 7, 10, QChar('0'))), wanted ? 1 : 0);
        }
        QCOMPARE(out.count(QStringLiteral("#2 0000016")), sheet.rows.isEmpty() ? 26 : 6);
        QCOMPARE(out.count(QChar('\f')), sheet.rows.isEmpty() ? 2 : 1); // 24 labels a page on A4
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
