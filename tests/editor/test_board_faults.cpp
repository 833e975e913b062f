// Every fault of the programmer-board simulator against Read, Write, Verfy and a series Write,
// through the main window and the real serial link.
#include <QtTest>

#include <QMenu>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "editor/dialogs/transfer_dialog.h"
#include "editor/main_window.h"
#include "image/defaults.h"
#include "support/board_simulator.h"
#include "support/simulator_window.h"
#include "support/test_files.h"
#include "transfer/link_texts.h"

using namespace zr730;
using namespace zr730::testing;
using Window = QuietSimulatorWindow;

class TestBoardFaults : public QObject, private TestFiles {
    Q_OBJECT
public:
    TestBoardFaults() : TestFiles("fault") {}

private slots:
    void everyBoardFaultEndsInOneMessageAndKeepsTheImage_data();
    void everyBoardFaultEndsInOneMessageAndKeepsTheImage();
};

void TestBoardFaults::everyBoardFaultEndsInOneMessageAndKeepsTheImage_data()
{
    // mode: 0 Read, 1 Write, 2 Verfy, 3 a series Write; an empty message is a success.
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("lost"); // the board counts as pulled: red status, Pager menu off
    const char *names[4] = {"read", "write", "verfy", "series write"};
    for (int m = 0; m < 4; ++m) {
        // A write first reads the pager's RoHS marker, so damaged replies stop it there too.
        QTest::addRow("%s, silent board", names[m]) << "silence" << m << text::kReadTimeOut << false;
        QTest::addRow("%s, bad checksum", names[m]) << "bad-checksum" << m << text::kReadError << false;
        QTest::addRow("%s, garbage before a reply", names[m]) << "garbage" << m << text::kReadError << false;
    }
    QTest::addRow("write, wrong acknowledgement") << "wrong-ack" << 1 << text::kWriteError << false;
    QTest::addRow("series write, wrong acknowledgement") << "wrong-ack" << 3 << text::kWriteError << false;
    // Pulled after frame N, for every N of a read (identity, 8 blocks) and of a write
    // (RoHS marker, 8 blocks written, 8 read back).
    for (int n = 0; n < 9; ++n)
        QTest::addRow("read, gone after frame %d", n) << QString("disconnect-after=%1").arg(n) << 0 << text::kReadError << true;
    for (int n = 0; n < 17; ++n)
        QTest::addRow("write, gone after frame %d", n) << QString("disconnect-after=%1").arg(n) << 1
                                                     << (n >= 1 && n <= 8 ? text::kWriteError : text::kReadError) << true;
    // The time-out of a reply is the 300 ms pause plus 2000 ms.
    QTest::addRow("read, reply just before its time-out") << "delay=0:2000" << 0 << "" << false;
    QTest::addRow("read, reply just after its time-out") << "delay=0:2600" << 0 << text::kReadTimeOut << false;
    QTest::addRow("read, replies byte by byte") << "trickle=1" << 0 << "" << false;
}

void TestBoardFaults::everyBoardFaultEndsInOneMessageAndKeepsTheImage()
{
    QFETCH(QString, fault);
    QFETCH(int, mode);
    QFETCH(QString, message);
    QFETCH(bool, lost);
    const QString board = boardPath();
    write_table_file(file("pager.tbl"), default_image());
    BoardSimulator sim(board, {"--load", file("pager.tbl")});
    QVERIFY(sim.start());
    Window w(board);
    QVERIFY(w.startupMessages.isEmpty());
    w.form->watchBoard();
    w.state.image[0x3FF] = 0x44; // an edit the technician must not lose
    w.form->init_ctl();
    const PagerImage before = w.state.image;
    write_table_file(file("open.tbl"), before);
    sim.kill();
    BoardSimulator faulty(board, {"--load", file("pager.tbl"), "--fault", fault});
    QVERIFY(faulty.start());

    w.form->WriteOpt->setChecked(true);
    w.state.auto_increase_1st = mode == 3;
    int presses = 0;
    if (mode == 3) drive_series(*w.form, 1, &presses);
    switch (mode) {
    case 0: w.form->readPager(); break;
    case 2: w.form->verifyPager(); break;
    default: w.form->writePager(); break;
    }
    const QStringList success{mode == 0 ? "Read success!" : "Verify Success!"};
    QCOMPARE(w.messages.texts(), message.isEmpty() ? success : QStringList{message}); // one message
    PagerImage expected = before;
    if (mode == 1 || mode == 3) expected[0x3E0] = 1; // the write marker is set before every write
    if (message.isEmpty() && mode == 0) expected = w.state.image; // a good read replaces it
    QVERIFY(w.state.image == expected);
    QCOMPARE(readTable(file("open.tbl")), before); // no file is touched
    QVERIFY(w.form->findChild<TransferDialog *>() == nullptr); // the dialog has gone
    QCOMPARE(w.form->pagerMenu()->isEnabled(), !lost);
    QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(lost ? text::kBoardDisconnect : text::kBoardConnect));
}

QTEST_MAIN(TestBoardFaults)
#include "test_board_faults.moc"
