// Pager ▸ "Program from Plan…": a capcode plan programmed from the window through the real
// serial link to the programmer-board simulator, with its progress kept in the ledger.
#include <QtTest>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "editor/dialogs/plan_dialog.h"
#include "editor/main_window.h"
#include "image/capcodes.h"
#include "image/defaults.h"
#include "ledger/ledger.h"
#include "support/board_simulator.h"
#include "support/recording_messages.h"
#include "support/simulator_window.h"
#include "support/test_files.h"
#include "support/texts.h"
#include "transfer/link_texts.h"
#include "transfer/transfer_procedures.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

// A started window on the board, its ledger in the test's file, its file chooser scripted.
struct PlanWindow : QuietSimulatorWindow {
    PlanWindow(const QString &board, const QString &ledgerFile) : QuietSimulatorWindow(board)
    {
        state.settings.ledger.file = ledgerFile;
        state.settings.ledger.station = QStringLiteral("bench");
        state.files = &dialogs;
    }
    PlanDialog *openPlan(const QString &path)
    {
        dialogs.openAnswers.enqueue(path);
        form->mnuPlan->trigger();
        return form->planDialog();
    }
    ScriptedFileDialogs dialogs;
};

void write_file(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The states the plan window shows, one word per row.
QStringList shown_states(PlanDialog *d)
{
    QStringList states;
    const int column = d->grdPlan->columnCount() - 3;
    for (int i = 0; i < d->grdPlan->rowCount(); ++i) states << d->grdPlan->item(i, column)->text();
    return states;
}

} // namespace

class TestPlanWindow : public QObject, private TestFiles {
    Q_OBJECT
public:
    TestPlanWindow() : TestFiles("pager") {}

private slots:
    void planRunWritesEachRowRetriesAFailureAndResumesAfterARestart();
    void aSecondSpaceWhileARowIsPreparedWritesNoOtherRow();
    void aPlanIsCheckedWholeBeforeItsWindowOpens_data();
    void aPlanIsCheckedWholeBeforeItsWindowOpens();
};

void TestPlanWindow::planRunWritesEachRowRetriesAFailureAndResumesAfterARestart()
{
    const QString board = boardPath();
    const QString ledgerFile = file("ledger.sqlite");
    const QString plan = file("site.csv");
    // Capcode #1 per pager, #2 the group code all share; #3 left as on screen.
    write_file(plan, "Label;Capcode #1;Capcode #2\nP-1;8;5000\nP-2;16;5000\nP-3;24;5000\n");
    // The first pager has a worn cell in capcode #1's low byte that keeps 0x08: row 1 (8)
    // verifies there, row 2 (16) does not.
    PagerImage worn = default_image();
    worn[kCapcodeBase + 2] = 0x08;
    write_table_file(file("worn.tbl"), worn);
    BoardSimulator sim(board, {"--load", file("worn.tbl"), "--save", file("pager.tbl"), "--fault", "stuck=0x362"});
    QVERIFY(sim.start());

    std::unique_ptr<PlanWindow> w = std::make_unique<PlanWindow>(board, ledgerFile);
    capcode_set(w->state.image, 2, 777); // capcode #3 of the base configuration
    w->form->init_ctl();
    PlanDialog *d = w->openPlan(plan);
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->nextRow(), 1);
    QCOMPARE(shown_states(d), (QStringList{"to do", "to do", "to do"}));
    // The capcodes on screen are the next row's before anything is written.
    QCOMPARE(w->form->txtAddr[0]->text(), QStringLiteral("0000008"));
    QCOMPARE(w->form->txtAddr[1]->text(), QStringLiteral("0005000"));

    w->form->WriteOpt->setChecked(true);
    QTest::keyClick(d->grdPlan, Qt::Key_Space); // Space in the plan window writes row 1
    QCOMPARE(w->messages.texts(), QStringList{text::kVerifySuccess});
    QCOMPARE(d->nextRow(), 2);
    QCOMPARE(w->form->txtAddr[0]->text(), QStringLiteral("0000016"));

    w->messages.clear();
    d->cmdPlanWrite->click(); // row 2 into the worn pager: the verify fails, the row stays
    QCOMPARE(w->messages.texts(), QStringList{text::kVerifyError});
    QCOMPARE(d->nextRow(), 2);
    QCOMPARE(shown_states(d), (QStringList{"written and verified", "failed", "to do"}));

    // Another pager on the board: row 2 again.
    sim.kill();
    w->form->watchBoard();
    BoardSimulator good(board, {"--load", file("worn.tbl"), "--save", file("pager.tbl")});
    QVERIFY(good.start());
    w->form->watchBoard();
    w->messages.clear();
    QTest::keyClick(w->form->WriteOpt, Qt::Key_Space); // Space in the main window too
    QCOMPARE(w->messages.texts(), QStringList{text::kVerifySuccess});
    QCOMPARE(d->nextRow(), 3);
    const PagerImage second = readTable(file("pager.tbl"));
    QCOMPARE(capcode_of(second, 0), 16);
    QCOMPARE(capcode_of(second, 1), 5000);
    QCOMPARE(capcode_of(second, 2), 777);

    // The program ends and starts again on the same ledger: the plan resumes at row 3.
    w.reset();
    w = std::make_unique<PlanWindow>(board, ledgerFile);
    d = w->openPlan(plan);
    QVERIFY(d);
    QCOMPARE(shown_states(d), (QStringList{"written and verified", "written and verified", "to do"}));
    QCOMPARE(d->nextRow(), 3);
    QCOMPARE(w->form->txtAddr[0]->text(), QStringLiteral("0000024"));
    w->form->WriteOpt->setChecked(true);
    d->cmdPlanWrite->click();
    QCOMPARE(w->messages.texts(), QStringList{text::kVerifySuccess});
    QCOMPARE(d->nextRow(), 0);
    QVERIFY(!d->cmdPlanWrite->isEnabled());
    QCOMPARE(d->lblPlanNext->text(), QString::fromUtf8(text::kPlanAllWritten).arg(QFileInfo(plan).fileName()));
    QCOMPARE(capcode_of(readTable(file("pager.tbl")), 0), 24);

    // The ledger holds each write with the plan's name and row; the failure too.
    Ledger ledger(w->state.settings.ledger);
    QStringList rows;
    for (const LedgerEntry &e : ledger.list({})) rows << QStringLiteral("%1:%2:%3").arg(e.planRow).arg(e.planLabel, outcome_text(e.outcome));
    QCOMPARE(rows, (QStringList{"3:P-3:written and verified", "2:P-2:written and verified", "2:P-2:verify error",
                                "1:P-1:written and verified"}));

    // Labels… saves the sheet of the rows selected (".pdf" added to the name given).
    d->grdPlan->selectRow(0);
    d->grdPlan->selectionModel()->select(d->grdPlan->model()->index(2, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->dialogs.saveAnswers.enqueue(file("labels"));
    w->messages.clear();
    d->cmdPlanLabels->click();
    QCOMPARE(w->messages.texts(), QStringList{QString::fromUtf8(text::kLabelsWritten).arg(2).arg(file("labels.pdf"))});
    QVERIFY(QFile(file("labels.pdf")).size() > 0);

    // Closing the plan puts the capcodes from before it back on screen.
    d->cmdPlanClose->click();
    QTRY_VERIFY(!w->form->planDialog());
    QCOMPARE(w->form->txtAddr[0]->text(), QString::fromStdString(capcode_text(capcode_get(default_image(), 0))));
}

void TestPlanWindow::aSecondSpaceWhileARowIsPreparedWritesNoOtherRow()
{
    const QString board = boardPath();
    const QString plan = file("pair.csv");
    write_file(plan, "Label;Capcode #1\nA;8\nB;16\n");
    BoardSimulator sim(board, {"--save", file("pager.tbl")});
    QVERIFY(sim.start());
    PlanWindow w(board, file("ledger.sqlite"));
    PlanDialog *d = w.openPlan(plan);
    QVERIFY(d);
    w.form->WriteOpt->setChecked(true);
    // Two Spaces queued at once: the second arrives while the first commits the edit in progress.
    for (int i = 0; i < 2; ++i)
        QCoreApplication::postEvent(d->grdPlan, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" ")));
    QTRY_COMPARE(w.messages.texts(), QStringList{text::kVerifySuccess});
    QTest::qWait(50);
    QCOMPARE(w.messages.texts(), QStringList{text::kVerifySuccess});
    QCOMPARE(d->nextRow(), 2);
    QCOMPARE(capcode_of(readTable(file("pager.tbl")), 0), 8);
}

void TestPlanWindow::aPlanIsCheckedWholeBeforeItsWindowOpens_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("confirm");         // the answer to the question about written capcodes
    QTest::addColumn<QString>("message");      // what is said first ("" for nothing)
    QTest::addColumn<QStringList>("details");  // the problems listed, each with its row and column
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("unreachable"); // the ledger's server cannot be reached
    QTest::newRow("every problem at once")
        << QByteArray("label,capcode1,capcode2\nA,12,3000000\nB,12,x\n") << true
        << QString::fromUtf8(text::kPlanHasProblems).arg("plan.csv").arg(3)
        << QStringList{"row 1), capcode2", "row 2), capcode1", "row 2), capcode2"} << false << false;
    QTest::newRow("capcode #1 in another pager, declined")
        << QByteArray("label,capcode1\nA,4242\nB,4243\n") << false
        << QString::fromUtf8(text::kPlanCapcodesWritten).arg(1) << QStringList{"row 1), capcode1"} << false << false;
    QTest::newRow("capcode #1 in another pager, confirmed")
        << QByteArray("label,capcode1\nA,4242\nB,4243\n") << true
        << QString::fromUtf8(text::kPlanCapcodesWritten).arg(1) << QStringList{"row 1), capcode1"} << true << false;
    QTest::newRow("a clean plan opens without a word")
        << QByteArray("label,capcode1\nA,4244\n") << true << QString() << QStringList{} << true << false;
    QTest::newRow("a ledger seen in part, declined")
        << QByteArray("label,capcode1\nA,4244\n") << false << QString::fromUtf8(text::kPlanLedgerPartial)
        << QStringList{"127.0.0.1"} << false << true;
}

void TestPlanWindow::aPlanIsCheckedWholeBeforeItsWindowOpens()
{
    QFETCH(QByteArray, csv);
    QFETCH(bool, confirm);
    QFETCH(QString, message);
    QFETCH(QStringList, details);
    QFETCH(bool, opens);
    QFETCH(bool, unreachable);
    nextCase();
    QDir().mkpath(file("plans"));
    const QString plan = file("plans") + QStringLiteral("/plan.csv");
    write_file(plan, csv);
    PlanWindow w(boardPath(), file("ledger.sqlite")); // no board: nothing is written here
    {
        // Capcode 4242 is in a pager already.
        Ledger ledger(w.state.settings.ledger);
        PagerImage image = default_image();
        capcode_set(image, 0, 4242);
        image.field_set(kCapcodeBase, 7, 1, 1);
        QCOMPARE(ledger.record(make_ledger_entry(image, LedgerOutcome::WrittenVerified, {})), QString());
    }
    if (unreachable) {
        w.state.settings.ledger.server = "127.0.0.1";
        w.state.settings.ledger.port = 1; // refused at once
    }
    w.messages.clear();
    w.messages.answers.enqueue(confirm ? MsgAnswer::Yes : MsgAnswer::No);
    PlanDialog *d = w.openPlan(plan);
    QCOMPARE(bool(d), opens);
    QCOMPARE(w.messages.texts().value(0), message);
    if (!message.isEmpty()) {
        const QString shown = w.messages.shown.first().details;
        QCOMPARE(shown.split('\n').size(), details.size());
        for (const QString &place : details) QVERIFY2(shown.contains(place), qPrintable(shown));
    }
}

QTEST_MAIN(TestPlanWindow)
#include "test_plan_window.moc"
