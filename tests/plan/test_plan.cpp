// Capcode plans: reading and checking the CSV file, a row applied to the base configuration,
// and each row's progress as an SQLite ledger records it.
#include <QTemporaryDir>
#include <QtTest>

#include "image/capcodes.h"
#include "image/defaults.h"
#include "ledger/ledger.h"
#include "plan/capcode_plan.h"

using namespace zr730;

class TestPlan : public QObject {
    Q_OBJECT
private slots:
    void goodPlansReadAlikeWhateverTheSpreadsheetWrote_data();
    void goodPlansReadAlikeWhateverTheSpreadsheetWrote();
    void everyProblemIsListedAtOnceWithItsLineAndColumn_data();
    void everyProblemIsListedAtOnceWithItsLineAndColumn();
    void aRowChangesOnlyTheCapcodesItNames();
    void rowStatesAndTheNextRowComeFromTheLedger();
    void capcodesAlreadyInOtherPagersAreNamedButNotTheRowsOwn();

private:
    QTemporaryDir m_dir;
};

void TestPlan::goodPlansReadAlikeWhateverTheSpreadsheetWrote_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("commas, LF") << QByteArray("label,capcode1,capcode2,enable2\nP-01,800,16,yes\n\"Pager, \"\"two\"\"\",808,,no\n");
    QTest::newRow("semicolons, CRLF, BOM, spaced names")
        << QByteArray("\xEF\xBB\xBFLabel ; Capcode #1;CAPCODE_2; Enable 2\r\nP-01;0000800;16;Y\r\n\"Pager, \"\"two\"\"\";808;;off\r\n");
    QTest::newRow("notes column, blank rows, no final line end")
        << QByteArray("notes,label,capcode1,capcode2,enabled2\n,,,,\nbench,P-01,800,16,1\n , ,,,\n,\"Pager, \"\"two\"\"\",808, ,false");
    QTest::newRow("capcodes with many leading zeros")
        << QByteArray("label,capcode1,capcode2,enable2\nP-01,0000000000800,000000000016,yes\n\"Pager, \"\"two\"\"\",808,,no\n");
}

void TestPlan::goodPlansReadAlikeWhateverTheSpreadsheetWrote()
{
    QFETCH(QByteArray, bytes);
    const CapcodePlan plan = parse_capcode_plan(bytes, "site.csv");
    QStringList problems;
    for (const PlanProblem &p : plan.problems) problems << plan_problem_text(p);
    QVERIFY2(plan.ok(), qPrintable(problems.join('\n')));
    QCOMPARE(plan.rows.size(), 2);
    QCOMPARE(plan.rows[0].label, QString("P-01"));
    QCOMPARE(plan.rows[0].capcodes[0], std::optional<quint32>(800));
    QCOMPARE(plan.rows[0].capcodes[1], std::optional<quint32>(16));
    QCOMPARE(plan.rows[0].enabled[1], std::optional<bool>(true));
    QCOMPARE(plan.rows[1].label, QString("Pager, \"two\""));
    QCOMPARE(plan.rows[1].number, 2);
    QCOMPARE(plan.rows[1].capcodes[1], std::optional<quint32>()); // empty: as in the base
    QCOMPARE(plan.rows[1].enabled[1], std::optional<bool>(false));
    QCOMPARE(plan.rows[1].capcodes[2], std::optional<quint32>()); // no such column
}

void TestPlan::everyProblemIsListedAtOnceWithItsLineAndColumn_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("want"); // "line/row/column" of each problem, in order
    QTest::newRow("every cell problem of a file")
        << QByteArray("label,capcode1,capcode2,enable1\n"
                      "A,2097152,16,yes\n"   // too large
                      "B,-1,16,\n"           // not a whole number
                      "C,12.5,2097151,maybe\n" // not a number, enable neither yes nor no
                      "D,800,x1,\n"          // capcode #2 not a number
                      "E,800,16,no\n"        // capcode #1 twice
                      "F,900,16,yes,extra\n" // a cell too many
                      "G,800,,\n")           // capcode #1 a third time
        << QStringList{"2/1/capcode1", "3/2/capcode1", "4/3/capcode1", "4/3/enable1", "5/4/capcode2",
                       "6/5/capcode1", "7/6/", "8/7/capcode1"};
    QTest::newRow("capcode #1 left to the base by two rows")
        << QByteArray("label,capcode1,capcode2\nA,,5\nB,800,6\nC, ,7\n") << QStringList{"4/3/capcode1"};
    QTest::newRow("header twice a column, no capcode column")
        << QByteArray("label;Label;notes\nA;B;C\n") << QStringList{"1/0/", "1/0/label"};
    QTest::newRow("a quote never closed") << QByteArray("label,capcode1\n\"A,800\nB,801\n") << QStringList{"2/0/"};
    QTest::newRow("only a header") << QByteArray("label,capcode1\r\n") << QStringList{"0/0/"};
    QTest::newRow("not UTF-8") << QByteArray("label,capcode1\nP\xE4ger,800\n") << QStringList{"0/0/"};
}

void TestPlan::everyProblemIsListedAtOnceWithItsLineAndColumn()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, want);
    const CapcodePlan plan = parse_capcode_plan(bytes, "site.csv");
    QStringList got, texts;
    for (const PlanProblem &p : plan.problems) {
        got << QString("%1/%2/%3").arg(p.line).arg(p.row).arg(p.column);
        texts << plan_problem_text(p);
        QVERIFY(!p.text.isEmpty());
    }
    QVERIFY2(got == want, qPrintable(texts.join('\n')));
}

void TestPlan::aRowChangesOnlyTheCapcodesItNames()
{
    PagerImage base = default_image();
    capcode_set(base, 0, 111);
    capcode_set(base, 2, 333);
    base.field_set(kCapcodeBase + 3 * 2, 7, 1, 1); // #3 on
    const CapcodePlan plan = parse_capcode_plan("label,capcode1,capcode2,enable2,enable3\nA,2097151,16,yes,no\n", "p.csv");
    QVERIFY(plan.ok());
    const PagerImage image = apply_plan_row(base, plan.rows[0]);
    QCOMPARE(capcode_get(image, 0), 2097151u);
    QCOMPARE(capcode_enabled(image, 0), capcode_enabled(base, 0)); // no enable given: as in the base
    QCOMPARE(capcode_get(image, 1), 16u);
    QVERIFY(capcode_enabled(image, 1));
    QCOMPARE(capcode_get(image, 2), 333u); // empty: as in the base, switched off by the row
    QVERIFY(!capcode_enabled(image, 2));
    int differing = 0;
    for (int a = 0; a < kImageSize; ++a) differing += image[a] != base[a] ? 1 : 0;
    QVERIFY(differing <= 9); // three capcode records at most
}

void TestPlan::rowStatesAndTheNextRowComeFromTheLedger()
{
    LedgerSettings s;
    s.station = "bench-1";
    s.file = m_dir.filePath("states.sqlite");
    Ledger ledger(s);
    const CapcodePlan plan = parse_capcode_plan("label,capcode1\nA,800\nB,808\nC,816\nD,824\nE,832\n", "site.csv");
    QVERIFY(plan.ok());
    QCOMPARE(plan_progress(plan, ledger).next, 1);

    auto write = [&](int n, LedgerOutcome outcome, const QString &planName = "site.csv", const QString &label = {}) {
        const PlanRow &row = plan.rows[n - 1];
        LedgerEntry e = make_ledger_entry(apply_plan_row(default_image(), row), LedgerOutcome::Writing, {});
        mark_plan_entry(e, plan, row);
        e.plan = planName;
        if (!label.isNull()) e.planLabel = label;
        const LedgerBeginResult begun = ledger.beginWrite(e, false);
        QVERIFY(!begun.uid.isEmpty());
        if (outcome != LedgerOutcome::Writing) QCOMPARE(ledger.finishWrite(begun.uid, outcome, default_image()), QString());
    };
    write(1, LedgerOutcome::WrittenVerified);
    write(2, LedgerOutcome::VerifyError);
    write(3, LedgerOutcome::Writing);                     // another program at it now
    write(4, LedgerOutcome::WrittenVerified, "other.csv"); // another plan's row 4
    write(5, LedgerOutcome::WrittenVerified, "site.csv", "E-old"); // the row had another label then

    PlanProgress p = plan_progress(plan, ledger);
    QCOMPARE(p.problem, QString());
    QList<PlanRowState> states;
    for (const PlanRowProgress &r : p.rows) states << r.state;
    QCOMPARE(states, (QList<PlanRowState>{PlanRowState::Written, PlanRowState::Failed, PlanRowState::Writing,
                                          PlanRowState::ToDo, PlanRowState::ToDo}));
    QCOMPARE(p.next, 2); // a failed row is the next one again
    QCOMPARE(p.rows[0].entry.station, QString("bench-1"));

    // The failed row written after all; the claim on row 3 runs out.
    write(2, LedgerOutcome::WrittenVerified);
    QCOMPARE(plan_progress(plan, ledger).next, 4);
    LedgerFilter filter;
    filter.plan = "site.csv";
    p = plan_progress(plan, ledger.list(filter), QDateTime::currentDateTimeUtc().addSecs(kLedgerClaimSeconds + 1));
    QCOMPARE(p.rows[2].state, PlanRowState::ToDo);
    QCOMPARE(p.next, 3);

    // A row another write holds is not claimed again; nothing is recorded for the attempt.
    LedgerEntry again = make_ledger_entry(default_image(), LedgerOutcome::Writing, {});
    mark_plan_entry(again, plan, plan.rows[0]);
    const LedgerBeginResult r = ledger.beginWrite(again, false);
    QVERIFY(r.uid.isEmpty());
    QVERIFY(r.rowTaken);
    QCOMPARE(r.rowTaken->outcome, LedgerOutcome::WrittenVerified);
    QCOMPARE(ledger.count(filter), qint64(5));
}

void TestPlan::capcodesAlreadyInOtherPagersAreNamedButNotTheRowsOwn()
{
    LedgerSettings s;
    s.station = "bench-2";
    s.file = m_dir.filePath("check.sqlite");
    Ledger ledger(s);
    const CapcodePlan plan = parse_capcode_plan("label,capcode1,capcode2,enable1,enable2\nA,800,5,yes,yes\nB,808,5,yes,yes\n"
                                                "C,816,5,yes,yes\nD,824,5,yes,yes\n", "site.csv");
    QVERIFY(plan.ok());
    auto record = [&](quint32 first, bool on, LedgerOutcome outcome, const PlanRow *row) {
        PlanRow r;
        r.capcodes[0] = first;
        r.enabled[0] = on;
        LedgerEntry e = make_ledger_entry(apply_plan_row(default_image(), r), outcome, {});
        if (row) mark_plan_entry(e, plan, *row);
        QCOMPARE(ledger.record(e), QString());
    };
    record(800, true, LedgerOutcome::WrittenVerified, &plan.rows[0]); // row A itself: resumed, not a problem
    record(808, true, LedgerOutcome::WrittenVerified, nullptr);       // another pager holds B's capcode
    record(816, false, LedgerOutcome::WrittenVerified, nullptr);      // switched off there
    record(824, true, LedgerOutcome::VerifyError, nullptr);           // never verified
    QString problem;
    const QList<PlanProblem> found = check_plan_against_ledger(plan, ledger, &problem);
    QCOMPARE(problem, QString());
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].row, 2);
    QCOMPARE(found[0].column, QString("capcode1"));
    QVERIFY(found[0].text.contains("0000808"));
    QVERIFY(found[0].text.contains("bench-2"));
}

QTEST_GUILESS_MAIN(TestPlan)
#include "test_plan.moc"
