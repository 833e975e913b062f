// The main window's start-up probe and board watch against the programmer-board simulator.
#include <QtTest>

#include <QLabel>
#include <QMenu>
#include <QElapsedTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "editor/main_window.h"
#include "support/board_simulator.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/simulator_window.h"
#include "support/test_files.h"
#include "transfer/link_texts.h"
#include "transfer/serial_link.h"

using namespace zr730;
using zr730::testing::BoardSimulator;
using zr730::testing::RecordingMessages;
using zr730::testing::SimulatorWindow;
using zr730::testing::TestFiles;

namespace {

struct Window : SimulatorWindow {
    using SimulatorWindow::SimulatorWindow;
    QColor labelColour() const { return form->statusLabel()->palette().color(QPalette::WindowText); }
};

} // namespace

class TestMainWindowBoard : public QObject, private TestFiles {
    Q_OBJECT
public:
    TestMainWindowBoard() : TestFiles("board") {}

private slots:
    void startupFindsTheBoardQuietlyAndStartsTheWatch()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Window w(sim.linkPath());
        QVERIFY(w.messages.shown.isEmpty());
        QVERIFY(w.form->boardWatchTimer.isActive());
        QCOMPARE(w.form->boardWatchTimer.interval(), 3000);
        QVERIFY(w.form->serialLink()->boardPort() > 0);
        QVERIFY(w.form->statusLabel()->text() != QString::fromLatin1(text::kBoardConnect)); // until the first tick

        w.form->watchBoard();
        QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));
        QCOMPARE(w.labelColour(), QColor(0, 0, 0));
        QVERIFY(w.form->pagerMenu()->isEnabled());
        QVERIFY(w.form->boardWatchTimer.isActive());
    }
    void traceSettingLogsTheProbeFrames()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        const QString trace = file(QStringLiteral("trace.log"));
        Window w(sim.linkPath(), trace);
        QVERIFY(w.messages.shown.isEmpty());
        QFile f(trace);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString log = QString::fromUtf8(f.readAll());
        QVERIFY2(log.contains(QRegularExpression(QStringLiteral("Z COM\\d+ >  18  4B 65 "))), qPrintable(log));
        QVERIFY2(log.contains(QRegularExpression(QStringLiteral("Z COM\\d+ <  17  4B 65 "))), qPrintable(log));
    }
    void closingDuringTheStartupProbeEndsTheProgramAtOnce()
    {
        // Twelve ports whose terminals answer nothing: the probe would wait 500 ms on each.
        std::vector<int> silent;
        RecordingMessages messages;
        ProgramState state(messages);
        state.settings.adapterIds.clear();
        for (int i = 0; i < 12; ++i) {
            const int fd = posix_openpt(O_RDWR | O_NOCTTY);
            QVERIFY(fd >= 0 && grantpt(fd) == 0 && unlockpt(fd) == 0);
            silent.push_back(fd);
            state.settings.extraPorts << QString::fromLocal8Bit(ptsname(fd));
        }
        const auto closeAll = qScopeGuard([&] { for (int fd : silent) ::close(fd); });
        state.application_folder = path();
        MainWindow form(state);
        form.show();
        // As in the program: the load runs inside the application's loop, and the user closes
        // the window while the probe waits on the second port.
        QElapsedTimer sinceClose;
        QTimer::singleShot(0, &form, [&] { form.startUp(); });
        QTimer::singleShot(700, &form, [&] {
            sinceClose.start();
            form.close();
        });
        QTimer::singleShot(10000, &form, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0); // ended by the window, not by the guard
        QVERIFY2(sinceClose.elapsed() < 1000, qPrintable(QString::number(sinceClose.elapsed())));
        QVERIFY(!form.isVisible());
        QVERIFY(!state.window_ready);   // the rest of the start-up did not run
        QVERIFY(messages.shown.isEmpty());
    }
    void startupWithoutBoardSaysNotRespondingAndTheWatchShowsDisconnect()
    {
        Window w(boardPath());
        QCOMPARE(w.messages.texts(), QStringList{text::kBoardNotResponding});
        QCOMPARE(w.messages.shown.first().icon, MsgIcon::Warning);
        QVERIFY(w.form->boardWatchTimer.isActive());
        w.form->watchBoard();
        QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardDisconnect));
        QCOMPARE(w.labelColour(), QColor(255, 0, 0));
        QVERIFY(!w.form->pagerMenu()->isEnabled());
    }
    void unpluggingAndPluggingTheBoardIsFollowedByTheWatch()
    {
        BoardSimulator sim(boardPath());
        QVERIFY(sim.start());
        Window w(sim.linkPath());
        w.form->watchBoard();
        QVERIFY(w.form->pagerMenu()->isEnabled());
        sim.stop();
        w.form->watchBoard();
        QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardDisconnect));
        QVERIFY(!w.form->pagerMenu()->isEnabled());
        QVERIFY(sim.start());
        w.form->watchBoard();
        QCOMPARE(w.form->statusLabel()->text(), QString::fromLatin1(text::kBoardConnect));
        QVERIFY(w.form->pagerMenu()->isEnabled());
        QVERIFY(w.messages.shown.isEmpty());
    }
};

QTEST_MAIN(TestMainWindowBoard)
#include "test_main_window_board.moc"
