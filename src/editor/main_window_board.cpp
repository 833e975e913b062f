// The programmer-board probe at start-up and the board watch.
#include <QObject>

#include <QFile>

#include "editor/main_window.h"
#include "image/defaults.h"
#include "platform/simulated_parport.h"
#include "transfer/parallel_port_link.h"
#include "support/texts.h"
#include "transfer/board_connection.h"

namespace zr730 {

// Everything the board link needs, living as long as the window.
class MainWindow::BoardLink : public QObject, public BoardStatusView {
public:
    explicit BoardLink(MainWindow &window)
        : QObject(&window), connection(window.m_state, window.m_state.settings.traceFile), link(connection.link())
    {
        setObjectName(QStringLiteral("BoardLink"));
        link.setStatusView(this);
        MainWindow *w = &window;
        link.setWatchTimer([w](bool on) {
            if (!on)
                w->boardWatchTimer.stop();
            else if (!w->m_closing)
                w->boardWatchTimer.start();
        });
        m_window = w;
    }

    void showBoardState(bool connected) override { m_window->showBoardState(connected); }

    BoardConnection connection;
    SerialLink &link;

private:
    MainWindow *m_window = nullptr;
};

ParallelPortLink *MainWindow::lptLink()
{
    if (m_state.link != LinkSelector::Lpt) return nullptr;
    if (!m_lpt) {
        const InstallationSettings &set = m_state.settings;
        if (set.lptDevice == QLatin1String(kSimulatedLpt)) {
            // The simulated board: the pager keeps its memory in the named file, else starts
            // with the factory defaults.
            SimulatedParallelPort::Memory memory = default_image().bytes();
            QFile file(set.lptSimulatedPager);
            if (!set.lptSimulatedPager.isEmpty() && file.open(QIODevice::ReadOnly)) {
                const QByteArray b = file.read(kImageSize);
                std::copy(b.begin(), b.end(), memory.begin());
            }
            auto sim = std::make_unique<SimulatedParallelPort>(memory);
            sim->setSaveFile(set.lptSimulatedPager.toStdString());
            m_portIo = std::move(sim);
        } else {
            m_portIo = make_ppdev_port_io(set.lptDevice.toStdString());
        }
        m_lpt = std::make_unique<ParallelPortLink>(m_state, *m_portIo);
    }
    return m_lpt.get();
}

SerialLink *MainWindow::serialLink()
{
    if (!m_boardLink) {
        m_boardLink = new BoardLink(*this);
        const QString problem = m_boardLink->connection.traceProblem();
        if (!problem.isEmpty())
            m_state.messages.show(QString::fromLatin1(text::kTraceCannotOpen)
                                      .arg(m_state.settings.traceFile, problem),
                                  MsgIcon::Warning);
    }
    return &m_boardLink->link;
}

void MainWindow::probe_board_at_startup()
{
    // The parallel-port probe says itself when no board answers; there is no board watch.
    if (ParallelPortLink *lpt = lptLink()) {
        const InputHold hold(*this);
        lpt->lpt_probe();
        return;
    }
    SerialLink *link = serialLink();
    // The image the load has just built stays as it is until the probe has ended.
    const InputHold hold(*this);
    link->startupProbe = true;
    link->probe_board();
    link->startupProbe = false;
}

void MainWindow::watchBoard()
{
    serialLink()->watchBoard();
}

} // namespace zr730
