// File ▸ "Ledger…" on an SQLite file and on a PostgreSQL server of the test's own: filters,
// rows fetched as they are scrolled to, the CSV export, an entry's image opened into the editor
// and compared with the screen, and the input hold.
#include <QtTest>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "editor/ledger_window.h"
#include "editor/main_window.h"
#include "image/capcodes.h"
#include "image/defaults.h"
#include "ledger/ledger.h"
#include "support/postgres_server.h"
#include "support/recording_messages.h"
#include "support/started_window.h"
#include "support/texts.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

QDateTime utc(int d, int h) { return QDateTime(QDate(2026, 3, d), QTime(h, 0), Qt::UTC); }

} // namespace

class TestLedgerWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void theLedgerWindowFiltersExportsAndOpensEntries_data();
    void theLedgerWindowFiltersExportsAndOpensEntries();

private:
    QTemporaryDir m_dir;
    PostgresServer m_pg;
    int m_count = 0;
};

void TestLedgerWindow::theLedgerWindowFiltersExportsAndOpensEntries_data()
{
    QTest::addColumn<QString>("driver");
    QTest::newRow("sqlite") << QString("sqlite");
    QTest::newRow("postgres") << QString("postgres");
}

void TestLedgerWindow::theLedgerWindowFiltersExportsAndOpensEntries()
{
    QFETCH(QString, driver);
    const int n = ++m_count;
    InstallationSettings settings;
    settings.ledger.file = m_dir.filePath(QString("ledger-%1.sqlite").arg(n));
    settings.ledger.station = "north";
    if (driver == "postgres") {
        if (!m_pg.running() && !m_pg.start()) QFAIL(qPrintable(m_pg.error()));
        const QString database = QString("window_%1").arg(n);
        QVERIFY2(m_pg.createDatabase(database), qPrintable(m_pg.error()));
        settings.ledger.server = m_pg.host();
        settings.ledger.port = m_pg.port();
        settings.ledger.database = database;
        settings.ledger.user = m_pg.user();
    }

    // 250 entries over ten days at two stations (more than one page), and one plan's three rows.
    {
        LedgerSettings south = settings.ledger;
        south.station = "south";
        // SQLite stations share the file; server stations each keep a file of their own.
        if (driver == "postgres") south.file = m_dir.filePath(QString("south-%1.sqlite").arg(n));
        Ledger north(settings.ledger), other(south);
        for (int i = 0; i < 250; ++i) {
            PagerImage image = default_image();
            capcode_set(image, 0, quint32(1000 + i));
            image.field_set(kCapcodeBase, 7, 1, 1);
            LedgerEntry e = make_ledger_entry(image, i % 50 == 7 ? LedgerOutcome::VerifyError : LedgerOutcome::WrittenVerified,
                                              "base.tbl");
            e.time = utc(1 + i / 25, 8).addSecs(i * 60);
            if (i >= 247) e.plan = "site.csv", e.planRow = i - 246, e.planLabel = QString("P-%1").arg(i - 246);
            QCOMPARE((i % 2 ? other : north).record(e), QString());
        }
    }

    StartedWindow w(settings);
    ScriptedFileDialogs dialogs;
    w.state.files = &dialogs;
    w.window->mnuLedger->trigger();
    LedgerWindow *lw = w.window->ledgerWindow();
    QVERIFY(lw && lw->isVisible());
    QCOMPARE(lw->model().rowCount(), LedgerTableModel::kPageSize); // the first page only
    QCOMPARE(lw->lblLedgerCount->text(), QString("250 entries"));
    QCOMPARE(lw->model().entry(0).planLabel, QString("P-3")); // newest first
    // Scrolling to the end fetches the rest.
    lw->grdLedger->scrollToBottom();
    QTRY_COMPARE(lw->model().rowCount(), 250);

    struct Case {
        const char *name;
        QString capcode, from, to, station, plan;
        int outcome; // position in the outcome list, 0 any
        int rows;    // entries listed, -1: the filter is refused
    };
    const QList<Case> cases{
        {"capcode", "1010", {}, {}, {}, {}, 0, 1},
        {"a whole day", {}, "2026-03-02", "2026-03-02", {}, {}, 0, 25},
        {"from a day on", {}, "2026-03-09", {}, {}, {}, 0, 50},
        {"station", {}, {}, {}, "south", {}, 0, 125},
        {"outcome", {}, {}, {}, {}, {}, 2, 5},
        {"plan", {}, {}, {}, {}, "site.csv", 0, 3},
        {"station and day", {}, "2026-03-01", "2026-03-01", "north", {}, 0, 13},
        {"capcode out of range", "2097152", {}, {}, {}, {}, 0, -1},
        {"malformed date", {}, "1.3.2026", {}, {}, {}, 0, -1},
    };
    for (const Case &c : cases) {
        w.messages.clear();
        lw->txtLedgerCapcode->setText(c.capcode);
        lw->txtLedgerFrom->setText(c.from);
        lw->txtLedgerTo->setText(c.to);
        lw->txtLedgerStation->setText(c.station);
        lw->txtLedgerPlan->setText(c.plan);
        lw->cboLedgerOutcome->setCurrentIndex(c.outcome);
        lw->cmdLedgerFind->click();
        if (c.rows < 0) {
            QVERIFY2(w.messages.shown.size() == 1, c.name);
            continue;
        }
        QVERIFY2(w.messages.shown.isEmpty(), c.name);
        while (lw->model().canFetchMore({})) lw->model().fetchMore({});
        QVERIFY2(lw->model().rowCount() == c.rows, qPrintable(QString("%1: %2").arg(c.name).arg(lw->model().rowCount())));
        QVERIFY2(lw->lblLedgerCount->text() == (c.rows == 1 ? QString("1 entry") : QString("%1 entries").arg(c.rows)), c.name);
    }

    // The export holds the whole filtered list, as the command line writes it.
    lw->txtLedgerCapcode->clear(), lw->txtLedgerFrom->clear(), lw->txtLedgerTo->clear(), lw->txtLedgerPlan->clear();
    lw->txtLedgerStation->setText("north");
    lw->cboLedgerOutcome->setCurrentIndex(0);
    lw->cmdLedgerFind->click();
    QCOMPARE(lw->model().rowCount(), 125);
    dialogs.saveAnswers.enqueue(m_dir.filePath(QString("north-%1").arg(n))); // ".csv" is added
    w.messages.clear();
    lw->cmdLedgerExport->click();
    QFile csv(m_dir.filePath(QString("north-%1.csv").arg(n)));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    LedgerFilter north;
    north.station = "north";
    QCOMPARE(QString::fromUtf8(csv.readAll()), ledger_csv(w.window->ledger().list(north)));
    QCOMPARE(w.messages.texts(), QStringList{QString::fromLatin1(text::kLedgerExported).arg(125).arg(csv.fileName())});

    // An entry's image into the editor; the title says where it came from.
    lw->grdLedger->setCurrentIndex(lw->model().index(3, 0));
    const LedgerEntry chosen = lw->model().entry(3);
    lw->cmdLedgerOpen->click();
    QCOMPARE(w.window->txtAddr[0]->text(), QString::fromStdString(capcode_text(chosen.capcodes[0].capcode)));
    QVERIFY2(w.window->windowTitle().endsWith(QString(" - [ledger %1]").arg(chosen.uid.left(8))),
             qPrintable(w.window->windowTitle()));

    // Compared with the screen: the same, then one field apart.
    w.messages.clear();
    lw->cmdLedgerCompare->click();
    QCOMPARE(w.messages.texts(), QStringList{QString::fromLatin1(text::kLedgerSame).arg(chosen.uid.left(8))});
    capcode_set(w.state.image, 0, 999);
    w.messages.clear();
    lw->cmdLedgerCompare->click();
    QCOMPARE(w.messages.texts(), QStringList{QString::fromLatin1(text::kLedgerDiffers).arg(chosen.uid.left(8)).arg(1)});
    QVERIFY2(w.messages.shown.first().details.startsWith("Capcode #1"), qPrintable(w.messages.shown.first().details));

    // While a transfer or a test page holds the window's input, the ledger window changes nothing.
    {
        const MainWindow::InputHold hold(*w.window);
        QVERIFY(!lw->isEnabled());
        w.window->openLedgerImage(*w.window->ledger().find(chosen.uid).entry);
        QCOMPARE(capcode_get(w.state.image, 0), 999u);
    }
    QVERIFY(lw->isEnabled());
}

QTEST_MAIN(TestLedgerWindow)
#include "test_ledger_window.moc"
