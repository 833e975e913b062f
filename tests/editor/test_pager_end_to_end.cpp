// Pager ▸ Read, Write and Verfy from the main window through the real serial link to the
// programmer-board simulator over a pseudo-terminal.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editor/alerts_page.h"
#include "editor/dialogs/alert_length_dialog.h"
#include "editor/main_window.h"
#include "editor/prompts_page.h"
#include "editor/slider/slider_control.h"
#include "image/defaults.h"
#include "ledger/ledger.h"
#include "support/board_simulator.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/simulator_window.h"
#include "support/test_files.h"
#include "editor/dialogs/transfer_dialog.h"
#include "transfer/link_texts.h"
#include "transfer/prompt_conversion.h"
#include "transfer/transfer_procedures.h"

using namespace zr730;
using namespace zr730::testing;

namespace {

using Window = QuietSimulatorWindow;

void setLanguage(PagerImage &image, int l)
{
    image[0x03E] = std::uint8_t((image[0x03E] & 0xF0) | l);
    image[kCharacterSetAddress] = std::uint8_t((image[kCharacterSetAddress] & 0xF0) | l);
}

} // namespace

class TestPagerEndToEnd : public QObject, private TestFiles {
    Q_OBJECT
public:
    TestPagerEndToEnd() : TestFiles("pager") {}

private slots:
    void writeLandsByteForByteInThePagerWithMarkerAndPagerCodedPrompts();
    void readReplacesTheImageAndSelectsTheBand();
    void optionsAndPromptsSetOnScreenTravelToThePagerAndBack();
    void verifyReportsSuccessAndTheFirstDifference();
    void seriesProgrammingIncrementsTheCapcodesBetweenPagers();
    void silentBoardDuringAReadLeavesTheImageUnchanged();
    void boardPulledMidWriteTurnsTheStatusRedAndComesBack();
    void readAskedWhileTheWatchLooksForTheBoardWaitsItsTurn();
};

void TestPagerEndToEnd::writeLandsByteForByteInThePagerWithMarkerAndPagerCodedPrompts()
{
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl"), "--save", file("after.tbl")});
    QVERIFY(sim.start());
    Window w(board);
    QVERIFY(w.startupMessages.isEmpty());

    PagerImage &image = w.state.image;
    setLanguage(image, 15); // Swedish
    const int record = prompt_address(2);
    image[record] = 0x40;
    image[record + 2] = 196; // Ä
    image[0x3E0] = 0;
    w.form->WriteOpt->setChecked(true);
    w.form->writePager();

    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
    sim.stop();
    PagerImage expected = image;
    prompt_to_pager(expected);
    const PagerImage pager = readTable(file("after.tbl"));
    QVERIFY(pager == expected);
    QCOMPARE(int(pager[0x3E0]), 1);
    QCOMPARE(int(pager[record]), 0x40);
    QCOMPARE(int(pager[record + 2]), 91);
    QCOMPARE(int(image[record + 2]), 196);
}

void TestPagerEndToEnd::readReplacesTheImageAndSelectsTheBand()
{
    const QString board = boardPath();
    PagerImage pager = default_image();
    pager[0x390] = 9;
    setLanguage(pager, 6); // French
    pager[prompt_address(7) + 3] = 64; // à in pager code
    pager[0x3FF] = 0x17;
    write_table_file(file("pager.tbl"), pager);
    BoardSimulator sim(board, {"--load", file("pager.tbl")});
    QVERIFY(sim.start());
    Window w(board);

    w.form->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read success!"});
    QCOMPARE(w.form->cboDft->currentIndex(), 0);
    QCOMPARE(w.state.MUTL, 5);
    QCOMPARE(int(w.state.image[prompt_address(7) + 3]), 224);
    QCOMPARE(int(w.state.image[0x3FF]), 0x17);
    PagerImage expected = pager;
    prompt_to_pc(expected);
    QVERIFY(w.state.image == expected);
}

void TestPagerEndToEnd::optionsAndPromptsSetOnScreenTravelToThePagerAndBack()
{
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl"), "--save", file("after.tbl")});
    QVERIFY(sim.start());
    Window w(board);
    AlertsPage &a = w.form->alerts();
    a.chkMenu[0]->setChecked(true);
    a.cboTone->setCurrentIndex(2);
    a.cboBatLev[2]->setCurrentIndex(0);
    a.cboSLC->setCurrentIndex(2);
    QTest::mousePress(a.Slider1, Qt::LeftButton, {}, QPoint(100, 10));
    {
        AlertLengthDialog dialog(w.state, a);
        dialog.cboMailAler[4]->setCurrentIndex(1);
        dialog.cboPersonal->setCurrentIndex(4);
    }
    PromptsPage &p = w.form->prompts();
    p.cboLng->setCurrentIndex(3); // German
    p.txtPrompt[2]->setFocus();
    p.txtPrompt[2]->setText(QString::fromUtf8("Grüße"));
    w.form->WriteOpt->setChecked(true); // Pager ▸ Write takes the focus away, which stores the box
    w.form->writePager();
    QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});
    const PagerImage pager = readTable(file("after.tbl"));
    QCOMPARE(int(pager[0xF7]), 5);
    QCOMPARE(int(pager[0xC0]), 255);
    QCOMPARE(int(pager[0x383]), 158);
    QCOMPARE(int(pager[0xE9]), 7);
    QCOMPARE(int(pager[0xD0]), 255);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&pager.bytes()[0x12A]), 5), QByteArray("Gr}~e")); // pager codes

    // Back on screen from the pager, over the factory defaults.
    w.state.image = default_image();
    w.form->init_ctl();
    w.messages.clear();
    w.form->readPager();
    QCOMPARE(w.messages.texts(), QStringList{"Read success!"});
    QVERIFY(a.chkMenu[0]->isChecked() && !a.cboTone->isHidden());
    QCOMPARE(a.cboTone->currentText(), QString("Tone 3"));
    QCOMPARE(a.cboBatLev[2]->currentText(), QString("1.58V"));
    QCOMPARE(a.cboSLC->currentText(), QString("60 seconds"));
    QCOMPARE(a.lblValue->text(), QString("7"));
    QCOMPARE(a.lblLength[0]->text() + a.lblLength[5]->text(), QString("CTBP"));
    QVERIFY(w.form->chkCtl[17]->isChecked());
    QCOMPARE(p.cboLng->currentText(), QString("German"));
    QCOMPARE(p.txtPrompt[2]->text(), QString::fromUtf8("Grüße"));
    PagerImage shown = pager;
    prompt_to_pc(shown);
    QVERIFY(w.state.image == shown);
}

void TestPagerEndToEnd::verifyReportsSuccessAndTheFirstDifference()
{
    const QString board = boardPath();
    PagerImage pager = default_image();
    write_table_file(file("pager.tbl"), pager);
    {
        BoardSimulator sim(board, {"--load", file("pager.tbl")});
        QVERIFY(sim.start());
        Window w(board);
        w.state.image = pager;
        w.form->verifyPager();
        QCOMPARE(w.messages.texts(), QStringList{"Verify Success!"});

        w.messages.clear();
        w.state.image[0x250] ^= 0x01;
        w.form->verifyPager();
        QCOMPARE(w.messages.texts(), QStringList{"Verify Error!"});
        QCOMPARE(w.state.transfer_result, -1);
    }
}

void TestPagerEndToEnd::seriesProgrammingIncrementsTheCapcodesBetweenPagers()
{
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl"), "--save", file("after.tbl")});
    QVERIFY(sim.start());
    Window w(board);
    PagerImage &image = w.state.image;
    image[0x0ED] = 0x0F;
    image[0x38C] = 0x0F;
    image[0x360] = 0x80; image[0x361] = 0x30; image[0x362] = 0x39; // 12345
    image[0x363] = 0x80; image[0x364] = 0x00; image[0x365] = 0x08; // 8
    w.form->init_ctl();
    w.state.auto_increase_1st = true;
    w.state.auto_increase_2nd = true;
    w.state.settings.ledger.file = file("ledger.sqlite");
    w.form->WriteOpt->setChecked(true);

    QList<int> written; // capcode #1 in the pager after each press
    int presses = 0;
    auto *driver = new QTimer(w.form.get());
    connect(driver, &QTimer::timeout, driver, [&] {
        auto *d = w.form->findChild<TransferDialog *>();
        if (!d || !d->isVisible() || !d->cmdWrite->isEnabled()) return;
        if (presses > 0 && written.size() < presses) written << capcode_of(readTable(file("after.tbl")), 0);
        if (presses < 3) {
            ++presses;
            d->cmdWrite->click();
        } else {
            d->cmdExit->click();
            driver->stop();
        }
    });
    driver->start(0);
    w.form->writePager();

    QCOMPARE(presses, 3);
    QCOMPARE(w.messages.texts(), (QStringList{"Verify Success!", "Verify Success!", "Verify Success!"}));
    QCOMPARE(written, (QList<int>{12345, 12346, 12347}));
    QCOMPARE(w.form->txtAddr[0]->text(), QStringLiteral("0012348"));
    QCOMPARE(w.form->txtAddr[1]->text(), QStringLiteral("0000011"));
    sim.stop();
    const PagerImage last = readTable(file("after.tbl"));
    QCOMPARE(capcode_of(last, 1), 10);
    QCOMPARE(int(last[0x363] & 0x80), 0x80);

    // Each pager is in the programming ledger with the capcodes it received.
    Ledger ledger(w.state.settings.ledger);
    QList<int> recorded;
    for (const LedgerEntry &e : ledger.list({})) {
        QCOMPARE(e.outcome, LedgerOutcome::WrittenVerified);
        recorded.prepend(int(e.capcodes[0].capcode));
    }
    QCOMPARE(recorded, written);
}

void TestPagerEndToEnd::silentBoardDuringAReadLeavesTheImageUnchanged()
{
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl")});
    QVERIFY(sim.start());
    Window w(board);
    w.state.image[0x3FF] = 0x33;
    const PagerImage before = w.state.image;
    sim.kill();
    BoardSimulator silent(board, {"--load", file("pager.tbl"), "--fault", "silence"});
    QVERIFY(silent.start());
    w.form->readPager();
    QCOMPARE(w.messages.shown.size(), 1);
    QVERIFY(w.messages.texts().first() != QStringLiteral("Read success!"));
    QVERIFY(w.state.image == before);
    QCOMPARE(w.state.transfer_result, -1);
}

void TestPagerEndToEnd::boardPulledMidWriteTurnsTheStatusRedAndComesBack()
{
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl"), "--pace"});
    QVERIFY(sim.start());
    Window w(board);
    w.form->watchBoard();
    QVERIFY(w.form->pagerMenu()->isEnabled());
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));

    QTimer::singleShot(700, [&] { sim.kill(); }); // pulled during the write
    w.form->WriteOpt->setChecked(true);
    w.form->writePager();
    QCOMPARE(w.messages.texts(), QStringList{text::kWriteError});
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardDisconnect));
    QVERIFY(!w.form->pagerMenu()->isEnabled());

    // Plugged in again: the next tick of the watch finds the board.
    QVERIFY(sim.start());
    w.form->watchBoard();
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));
    QVERIFY(w.form->pagerMenu()->isEnabled());
}

void TestPagerEndToEnd::readAskedWhileTheWatchLooksForTheBoardWaitsItsTurn()
{
    const QString board = boardPath();
    PagerImage pager = default_image();
    pager[0x3FF] = 0x5A;
    write_table_file(file("pager.tbl"), pager);
    Window w(board); // no board yet
    QCOMPARE(w.startupMessages, QStringList{text::kBoardNotResponding});

    BoardSimulator sim(board, {"--load", file("pager.tbl"), "--pace"});
    QVERIFY(sim.start());
    // Read is asked for while the watch's probe of the new adapter waits for its reply.
    QTimer::singleShot(0, w.form.get(), [&] { w.form->readPager(); });
    w.form->watchBoard();
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));
    QTRY_COMPARE_WITH_TIMEOUT(w.messages.texts(), QStringList{QStringLiteral("Read success!")}, 10000);
    QCOMPARE(int(w.state.image[0x3FF]), 0x5A);
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));
}

QTEST_MAIN(TestPagerEndToEnd)
#include "test_pager_end_to_end.moc"
