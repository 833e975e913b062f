// The serial link and board watch against the programmer-board simulator on a pseudo-terminal.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <QElapsedTimer>

#include <ctime>
#include <optional>

#include "platform/serial_port.h"
#include "platform/usb_serial_registry.h"
#include "support/board_simulator.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/registry_access.h"
#include "transfer/board_frame.h"
#include "transfer/link_texts.h"
#include "transfer/serial_link.h"

using namespace zr730;
using zr730::testing::BoardSimulator;
using zr730::testing::RecordingMessages;

namespace {

struct StatusRecorder : BoardStatusView {
    void showBoardState(bool connected) override { shown << connected; }
    QList<bool> shown;
};

struct ProgressRecorder : TransferProgress {
    void setMaximum(int m) override { maximum = m; }
    void setPosition(int p) override { positions << p; }
    void useHighlightColour() override { highlight = true; }
    void setStatus(const QString &t) override { status = t; }
    int maximum = -1;
    QList<int> positions;
    bool highlight = false;
    QString status;
};

// One program's worth of board link: state, adapter view, registry, serial ports, link.
struct Rig {
    explicit Rig(const QString &boardPath)
    {
        state.settings.adapterIds.clear(); // only the simulator counts, whatever else is plugged in
        state.settings.extraPorts = {boardPath};
        link.setStatusView(&status);
        link.setProgress(&progress);
        link.setWatchTimer([this](bool on) { timer << on; });
    }
    RecordingMessages msgs;
    ProgramState state{msgs};
    UsbSerialRegistry view{state.ports, state.settings, [] { return QList<SerialDevice>{}; }};
    RegistryAccess registry{view};
    QtSerialLibrary sio{state.ports};
    SerialLink link{state, registry, sio};
    StatusRecorder status;
    ProgressRecorder progress;
    QList<bool> timer;
};

PagerImage pattern_image(int seed)
{
    PagerImage img;
    for (int i = 0; i < kImageSize; ++i) img[i] = std::uint8_t((i * 7 + seed + (i >> 8)) & 0xFF);
    return img;
}

QByteArray bytes_of(const PagerImage &img)
{
    return QByteArray(reinterpret_cast<const char *>(img.bytes().data()), kImageSize);
}

} // namespace

class TestSerialLink : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_serial = 0;
    // A board path unique to this test run.
    QString boardPath() { return m_dir.filePath(QStringLiteral("board-%1-%2").arg(QCoreApplication::applicationPid()).arg(++m_serial)); }

    // A rig whose link has found a healthy simulator, which is then replaced by one started
    // with faultArgs on the same path (the board port stays known).
    void findThenSwitch(Rig &rig, BoardSimulator &sim, const QStringList &faultArgs, std::unique_ptr<BoardSimulator> &faulty)
    {
        QVERIFY(sim.start());
        QVERIFY(rig.link.find_board());
        sim.kill();
        faulty = std::make_unique<BoardSimulator>(sim.linkPath(), faultArgs);
        QVERIFY(faulty->start());
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // A second program asking for the board while a transfer runs gets the normal messages at
    // once; the running transfer goes on undisturbed.
    void aSecondProgramCannotTakeTheBoardFromARunningTransfer()
    {
        BoardSimulator sim(boardPath(), {"--pace"});
        QVERIFY(sim.start());
        Rig first(sim.linkPath()), second(sim.linkPath());
        QVERIFY(first.link.find_board());
        QVERIFY(second.link.find_board());
        bool secondRead = true;
        QTimer::singleShot(400, [&] { secondRead = second.link.block_read(0, 127, kBoardBlockSize); });
        QElapsedTimer t;
        t.start();
        QVERIFY(first.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(!secondRead);
        QCOMPARE(second.msgs.texts(), QStringList{text::kReadError});
        QVERIFY(first.msgs.shown.isEmpty());
        QVERIFY(t.elapsed() < 5000);
    }

    // --- frames ---
    void presenceRequestIsTheFixedEighteenBytes()
    {
        const QByteArray expected = QByteArray("KestraneXL") + QByteArray("\x35\x52\x03\x00\x00\x00\x00\x8A", 8);
        QCOMPARE(frame::presenceRequest(), expected);
    }
    void writeAcknowledgementIsTheFixedSixteenBytes()
    {
        const QByteArray expected = QByteArray("KestraneXL") + QByteArray("\x33\x53\x01\x06\x00\x8D", 6);
        QCOMPARE(frame::writeAcknowledgement(), expected);
    }
    void memoryRequestsCarryAddressHighByteFirstAndChecksum()
    {
        const QByteArray r = frame::memoryReadRequest(0x3E1, 14);
        QCOMPARE(r.size(), 18);
        QCOMPARE(r.mid(10, 6), QByteArray("\x33\x52\x03\x03\xE1\x0E", 6));
        const unsigned sum = 0x33 + 0x52 + 0x03 + 0x03 + 0xE1 + 0x0E;
        QCOMPARE(std::uint8_t(r.at(16)), std::uint8_t(sum >> 8));
        QCOMPARE(std::uint8_t(r.at(17)), std::uint8_t(sum & 0xFF));

        const QByteArray w = frame::memoryWriteRequest(0x380, QByteArray(128, char(0xFF)));
        QCOMPARE(w.size(), 145);
        QCOMPARE(std::uint8_t(w.at(12)), std::uint8_t(130));
        QVERIFY(frame::checksumMatches(w));
        QCOMPARE(w.mid(13, 2), QByteArray("\x03\x80", 2));
        QCOMPARE(w.at(15), char(0xFF));
    }
    void checksumIsTakenModulo65536()
    {
        const QByteArray big(300, char(0xFF)); // 300 × 255 = 76500
        QCOMPARE(frame::checksum(big, 0, 299), std::uint16_t(76500 - 65536));
    }
    void damagedFrameFailsItsChecksum()
    {
        QByteArray ack = frame::writeAcknowledgement();
        QVERIFY(frame::checksumMatches(ack));
        ack[13] = 0x15;
        QVERIFY(!frame::checksumMatches(ack));
    }
    void takeFrameSkipsBytesBeforeTheHeaderAndWaitsForTheRest()
    {
        QByteArray buf = QByteArray("\xFF\x00zz", 4) + frame::presenceRequest();
        const QByteArray whole = buf;
        buf.chop(3);
        QVERIFY(!frame::takeFrame(buf).has_value());
        buf += whole.right(3);
        const auto f = frame::takeFrame(buf);
        QVERIFY(f.has_value());
        QCOMPARE(f->channel, frame::kChannelPresence);
        QCOMPARE(f->payload, QByteArray(3, '\0'));
        QVERIFY(f->checksumOk);
        QVERIFY(buf.isEmpty());
    }
    void friendlyNamePortIsTheNumberBetweenComAndParenthesis()
    {
        QCOMPARE(port_from_friendly_name(QStringLiteral("Prolific USB-to-Serial Comm Port (COM12)")), 12);
        QCOMPARE(port_from_friendly_name(QStringLiteral("X (COM3) (COM4)")), 3);
        QCOMPARE(port_from_friendly_name(QStringLiteral("No parenthesis COM3")), -1);
        QCOMPARE(port_from_friendly_name(QStringLiteral("Broken (COM")), -1);
        QCOMPARE(port_from_friendly_name(QStringLiteral("Empty (COM)")), -1);
    }

    // --- waits ---
    void waitSleepsInTheEventLoopAndLetsTimersRun()
    {
        bool fired = false;
        QTimer::singleShot(20, [&] { fired = true; });
        QElapsedTimer t;
        t.start();
        wait_ms(120);
        QVERIFY(fired);
        QVERIFY(t.elapsed() >= 119);
        QVERIFY(t.elapsed() < 1000);
    }

    // --- presence check ---
    void startupProbeFindsTheSimulatorNamedInTheSettings()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        rig.link.startupProbe = true;
        QVERIFY(rig.link.probe_board());
        QCOMPARE(rig.link.boardPort(), rig.state.ports.portOf(sim.linkPath()));
        QVERIFY(rig.link.boardPort() >= 1);
        QCOMPARE(rig.link.adapterValueCount(), 1);
        QVERIFY(rig.msgs.shown.isEmpty());
        QCOMPARE(rig.timer, (QList<bool>{false, true}));
        QVERIFY(rig.sio.sio_lstatus(rig.link.boardPort()) < 0); // closed after the check
    }
    void startupProbeWithoutAdapterSaysNotResponding()
    {
        Rig rig(boardPath()); // nothing there
        rig.link.startupProbe = true;
        QVERIFY(!rig.link.probe_board());
        QCOMPARE(rig.msgs.texts(), QStringList{text::kBoardNotResponding});
        QCOMPARE(rig.msgs.shown.first().icon, MsgIcon::Warning);
        QCOMPARE(rig.link.boardPort(), -1);
        QCOMPARE(rig.link.adapterValueCount(), 0);
        QCOMPARE(rig.timer, (QList<bool>{false, true}));
    }
    void silentBoardAtStartupIsNotRespondingButTheAdapterIsCounted()
    {
        BoardSimulator sim(boardPath(), {QStringLiteral("--fault"), QStringLiteral("silence")});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        rig.link.startupProbe = true;
        QVERIFY(!rig.link.probe_board());
        QCOMPARE(rig.msgs.texts(), QStringList{text::kBoardNotResponding});
        QCOMPARE(rig.link.adapterValueCount(), 1);
        QCOMPARE(rig.link.boardPort(), -1);
    }
    void probeOutsideStartupStaysQuiet()
    {
        Rig rig(boardPath());
        QVERIFY(!rig.link.find_board());
        QVERIFY(rig.msgs.shown.isEmpty());
        QVERIFY(rig.timer.isEmpty());
    }
    void presenceReplyAfterGarbageIsStillFound()
    {
        BoardSimulator sim(boardPath(), {QStringLiteral("--fault"), QStringLiteral("garbage")});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
    }

    // --- transfers ---
    void fullWriteLandsByteForByteInThePagerMemory()
    {
        const QString saved = m_dir.filePath(QStringLiteral("written.bin"));
        BoardSimulator sim(boardPath(), {QStringLiteral("--save"), saved});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        const PagerImage img = pattern_image(5);
        QVERIFY(rig.link.block_write(img, 0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(rig.msgs.shown.isEmpty());
        QFile f(saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes_of(img));
        QCOMPARE(rig.progress.maximum, kImageLastIndex - 16);
        QCOMPARE(rig.progress.status, QString::fromLatin1(text::kWritingNow));
        QVERIFY(rig.progress.highlight);
        QCOMPARE(rig.progress.positions, (QList<int>{0, 128, 256, 384, 512, 640, 768, 896, 1024}));
        QVERIFY(rig.sio.sio_lstatus(rig.link.boardPort()) < 0);
    }
    void readFillsTheReadBufferAndMovesTheProgress()
    {
        const QString table = m_dir.filePath(QStringLiteral("pager.tbl"));
        const PagerImage img = pattern_image(11);
        {
            QFile f(table);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes_of(img));
        }
        BoardSimulator sim(boardPath(), {QStringLiteral("--load"), table});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        QVERIFY(rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(int(rig.state.read_buffer.size()), kImageSize);
        QVERIFY(std::equal(rig.state.read_buffer.begin(), rig.state.read_buffer.end(), img.bytes().begin()));
        QCOMPARE(rig.progress.positions, (QList<int>{128, 256, 384, 512, 640, 768, 896, 1024}));
        QVERIFY(rig.msgs.shown.isEmpty());
    }
    void partialReadLandsAtItsAddressesAndLeavesProgressAlone()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        PagerImage img;
        for (int a = 0x3E1; a <= 0x3EE; ++a) img[a] = std::uint8_t(a);
        QVERIFY(rig.link.block_write(img, 0x3E1, 0x3EE, kBoardBlockSize));
        rig.progress.positions.clear();
        rig.state.read_buffer.assign(5, 0x77);
        QVERIFY(rig.link.block_read(0x3E1, 0x3EE, kBoardBlockSize));
        QCOMPARE(int(rig.state.read_buffer.size()), 0x3EF);
        QCOMPARE(rig.state.read_buffer[0], std::uint8_t(0)); // re-dimensioned and cleared
        for (int a = 0x3E1; a <= 0x3EE; ++a) QCOMPARE(rig.state.read_buffer[size_t(a)], std::uint8_t(a));
        QVERIFY(rig.progress.positions.isEmpty());
    }
    void writeThenVerifyReadBackThroughTheSameBoardAgain()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        const PagerImage img = pattern_image(23);
        QVERIFY(rig.link.block_read(0x3F8, 0x3F8, kBoardBlockSize));
        QVERIFY(rig.link.block_write(img, 0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(std::equal(rig.state.read_buffer.begin(), rig.state.read_buffer.end(), img.bytes().begin()));
        QVERIFY(rig.msgs.shown.isEmpty());
    }

    // --- faults ---
    void wrongAcknowledgementIsAWriteErrorAndTheBoardStaysKnown()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("wrong-ack")}, faulty);
        const int port = rig.link.boardPort();
        QVERIFY(!rig.link.block_write(pattern_image(1), 0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kWriteError});
        QCOMPARE(rig.link.boardPort(), port);
        QVERIFY(rig.status.shown.isEmpty());
        QVERIFY(rig.sio.sio_lstatus(port) < 0);
    }
    void silentBoardDuringWriteIsAWriteError()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("silence")}, faulty);
        QElapsedTimer t;
        t.start();
        QVERIFY(!rig.link.block_write(pattern_image(1), 0, 127, kBoardBlockSize));
        QVERIFY(t.elapsed() >= 1900);
        QCOMPARE(rig.msgs.texts(), QStringList{text::kWriteError});
        QVERIFY(rig.link.boardPort() > 0);
    }
    void silentBoardDuringReadIsAReadTimeOut()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("silence")}, faulty);
        QElapsedTimer t;
        t.start();
        QVERIFY(!rig.link.block_read(0x3F8, 0x3F8, kBoardBlockSize));
        QVERIFY(t.elapsed() >= 2200);
        QCOMPARE(rig.msgs.texts(), QStringList{text::kReadTimeOut});
        QCOMPARE(rig.state.transfer_result, -1);
        QVERIFY(rig.sio.sio_lstatus(rig.link.boardPort()) < 0);
    }
    void badChecksumOfAReadReplyIsAReadError()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("bad-checksum")}, faulty);
        QVERIFY(!rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kReadError});
        QCOMPARE(rig.state.transfer_result, -1);
        QVERIFY(rig.status.shown.isEmpty()); // not a lost board
    }
    void badChecksumOfAnAcknowledgementIsAWriteError()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("bad-checksum")}, faulty);
        QVERIFY(!rig.link.block_write(pattern_image(2), 0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kWriteError});
    }
    void garbageBeforeAReplyFailsWriteAndRead()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("garbage")}, faulty);
        QVERIFY(!rig.link.block_write(pattern_image(3), 0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(!rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), (QStringList{text::kWriteError, text::kReadError}));
        QCOMPARE(rig.state.transfer_result, -1);
    }
    void boardGoneMidWriteTakesTheLostBoardPath()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("disconnect-after=2")}, faulty);
        QVERIFY(!rig.link.block_write(pattern_image(4), 0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kWriteError});
        QCOMPARE(rig.status.shown, QList<bool>{false});
        QCOMPARE(rig.link.boardPort(), -1);
        QCOMPARE(rig.link.adapterValueCount(), 0);
        QCOMPARE(rig.progress.positions.last(), 256); // two frames went through
    }
    void boardGoneMidReadTakesTheLostBoardPath()
    {
        BoardSimulator sim(boardPath());
        Rig rig(sim.linkPath());
        std::unique_ptr<BoardSimulator> faulty;
        findThenSwitch(rig, sim, {QStringLiteral("--fault"), QStringLiteral("disconnect-after=1")}, faulty);
        QVERIFY(!rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kReadError});
        QCOMPARE(rig.state.transfer_result, -1);
        QCOMPARE(rig.status.shown, QList<bool>{false});
        QCOMPARE(rig.link.boardPort(), -1);
    }
    void simulatorKilledMidTransferThenRestartedIsFoundByTheWatch()
    {
        BoardSimulator sim(boardPath(), {QStringLiteral("--pace")});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        rig.link.startupProbe = true;
        QVERIFY(rig.link.probe_board());
        rig.link.startupProbe = false;
        rig.link.watchBoard();
        QCOMPARE(rig.status.shown, QList<bool>{true});

        QTimer::singleShot(300, [&] { sim.kill(); });
        QVERIFY(!rig.link.block_write(pattern_image(6), 0, kImageLastIndex, kBoardBlockSize));
        QCOMPARE(rig.msgs.texts(), QStringList{text::kWriteError});
        QCOMPARE(rig.status.shown, (QList<bool>{true, false}));
        QCOMPARE(rig.link.boardPort(), -1);

        rig.link.watchBoard(); // still unplugged
        QCOMPARE(rig.status.shown.last(), false);
        QVERIFY(sim.start());
        rig.link.watchBoard(); // plugged in again: probed and found
        QCOMPARE(rig.status.shown.last(), true);
        QCOMPARE(rig.link.boardPort(), rig.state.ports.portOf(sim.linkPath()));
        QVERIFY(rig.link.block_read(0x3F8, 0x3F8, kBoardBlockSize));
        QCOMPARE(rig.msgs.shown.size(), 1);
    }

    void lostPortStopsWakingTheProgramUntilItIsClosed()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        const int port = rig.link.boardPort();
        QVERIFY(rig.link.open_port(port));
        sim.kill(); // the adapter is pulled while the port is open

        const std::clock_t cpu = std::clock();
        wait_ms(1000);
        const double used = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QVERIFY2(used < 0.2, qPrintable(QStringLiteral("%1 s of CPU in a 1 s wait").arg(used)));
        QVERIFY(rig.sio.sio_iqueue(port) < 0);
        QCOMPARE(rig.sio.sio_lstatus(port), kSioOk); // still the program's to close
        QCOMPARE(rig.sio.sio_close(port), kSioPortLost);
        QVERIFY(rig.sio.sio_lstatus(port) < 0);
    }
    void watchTickInsideATransferLeavesThePortToIt()
    {
        BoardSimulator sim(boardPath(), {QStringLiteral("--pace")});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        const int port = rig.link.boardPort();
        QTimer::singleShot(400, [&] { sim.kill(); });
        QTimer::singleShot(450, [&] {
            QVERIFY(rig.link.busy());
            rig.link.watchBoard(); // the watch's tick falls into the transfer's wait
        });
        QVERIFY(!rig.link.block_read(0, kImageLastIndex, kBoardBlockSize));
        QVERIFY(!rig.link.busy());
        QCOMPARE(rig.msgs.texts(), QStringList{text::kReadError});
        QCOMPARE(rig.status.shown, QList<bool>{false}); // said once, by the transfer
        QVERIFY(rig.sio.sio_lstatus(port) < 0);          // and its port is closed
    }
    void transferAskedInsideAProbeIsRefusedWithoutHarm()
    {
        BoardSimulator sim(boardPath(), {QStringLiteral("--pace")});
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        bool nested = true;
        QTimer::singleShot(0, [&] {
            QVERIFY(rig.link.busy());
            nested = rig.link.block_read(0x3F8, 0x3F8, kBoardBlockSize);
        });
        QVERIFY(rig.link.find_board());
        QVERIFY(!nested);
        QCOMPARE(rig.link.boardPort(), rig.state.ports.portOf(sim.linkPath()));
        QVERIFY(rig.status.shown.isEmpty());
        rig.msgs.clear();
        QVERIFY(rig.link.block_read(0x3F8, 0x3F8, kBoardBlockSize));
    }

    // --- board watch ---
    void watchShowsConnectedWhileTheAdapterOfTheKnownPortIsListed()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Rig rig(sim.linkPath());
        QVERIFY(rig.link.find_board());
        rig.timer.clear();
        rig.link.watchBoard();
        QCOMPARE(rig.status.shown, QList<bool>{true});
        QCOMPARE(rig.timer, (QList<bool>{false, true}));
        sim.stop(); // the adapter goes away
        rig.link.watchBoard();
        QCOMPARE(rig.status.shown, (QList<bool>{true, false}));
        QCOMPARE(rig.link.boardPort(), -1);
        QCOMPARE(rig.link.adapterValueCount(), 0);
    }
    void boardSwitchedOnLaterIsNotNoticedUntilTheAdapterIsReplugged()
    {
        const QString path = boardPath();
        BoardSimulator off(path, {QStringLiteral("--fault"), QStringLiteral("silence")});
        QVERIFY(off.start());
        Rig rig(path);
        rig.link.startupProbe = true;
        QVERIFY(!rig.link.probe_board());
        rig.link.startupProbe = false;
        off.kill();
        BoardSimulator on(path);
        QVERIFY(on.start()); // same adapter count as before
        rig.link.watchBoard();
        QCOMPARE(rig.status.shown, QList<bool>{false});
        on.stop();
        rig.link.watchBoard(); // unplugged
        QVERIFY(on.start());
        rig.link.watchBoard(); // replugged
        QCOMPARE(rig.status.shown, (QList<bool>{false, false, true}));
    }
    void watchDoesNothingButRestartOnTheParallelLink()
    {
        Rig rig(boardPath());
        rig.state.link = LinkSelector::Lpt;
        rig.link.watchBoard();
        QVERIFY(rig.status.shown.isEmpty());
        QCOMPARE(rig.timer, (QList<bool>{false, true}));
    }
    void probeOnTheParallelLinkAsksTheParallelProbe()
    {
        Rig rig(boardPath());
        rig.state.link = LinkSelector::Lpt;
        int asked = 0;
        rig.link.setParallelProbe([&] { ++asked; return true; });
        QVERIFY(rig.link.probe_board());
        QCOMPARE(asked, 1);
    }
};

QTEST_GUILESS_MAIN(TestSerialLink)
#include "test_serial_link.moc"
