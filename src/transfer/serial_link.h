#pragma once
// The programmer board over a USB-serial adapter: finding the board, the presence check,
// block write and block read of the pager memory, the lost-board path and the board watch.
#include <QString>
#include <QStringList>

#include <functional>

#include "platform/event_wait.h"
#include "transfer/pager_link.h"

namespace zr730 {

struct ProgramState;
class SerialLibrary;
class RegistryAccess;

// The adapter driver's key listing one device instance per attached adapter, and the key
// under which each instance has its "FriendlyName".
inline constexpr const char *kAdapterEnumPath = "HKLM\\SYSTEM\\ControlSet001\\Services\\Ser2pl\\Enum";
inline constexpr const char *kDeviceEnumPath = "HKLM\\SYSTEM\\CurrentControlSet\\Enum\\";

inline constexpr int kBoardBlockSize = 128;
inline constexpr int kPresenceWaitMs = 500;
inline constexpr int kReplyWaitMs = 2000;
inline constexpr int kReadPauseMs = 300;

// Waits ms milliseconds, sleeping in the event loop so window events keep running.
void wait_ms(int ms);
// The same wait, ended early once `stop` is raised (the program is ending).
void wait_ms(int ms, const bool &stop);
// The n of a name ending in "(COMn)": the digits between "(COM" and the next ")";
// -1 when the name does not parse.
int port_from_friendly_name(const QString &name);

class SerialLink : public PagerLink {
public:
    SerialLink(ProgramState &state, const RegistryAccess &registry, SerialLibrary &sio);

    // Where the board state is shown (the main window's status line and Pager menu).
    void setStatusView(BoardStatusView *view) { m_status = view; }
    // Switches the board watch timer (boardWatchTimer) on or off.
    void setWatchTimer(std::function<void(bool enabled)> enable) { m_watchTimer = std::move(enable); }
    // The parallel-port probe, used when the link selector is not "USB".
    void setParallelProbe(std::function<bool()> probe) { m_parallelProbe = std::move(probe); }

    bool probe_board();
    bool find_board();
    bool open_port(int port);
    bool usb_block_write(const PagerImage &image, int start, int stop, int blockSize = kBoardBlockSize);
    bool usb_block_read(int start, int stop, int blockSize = kBoardBlockSize);
    // The board watch, run every 3000 ms by the main window's boardWatchTimer.
    void watchBoard();

    // PagerLink
    bool block_write(const PagerImage &image, int start, int stop, int blockSize) override;
    bool block_read(int start, int stop, int blockSize) override;
    void setProgress(TransferProgress *progress) override { m_progress = progress; }
    bool busy() const override { return m_busy; }

    // The board port number (COMn), -1 when no board is known.
    int boardPort() const { return m_boardPort; }
    // String values under the adapter key at the last look.
    int adapterValueCount() const { return m_adapterValueCount; }
    // Raised by the main window only while its start-up runs the probe.
    bool startupProbe = false;

private:
    // The string values under the adapter key; false when there is no adapter.
    bool adapters(QStringList &values) const;
    void closeIfOpen(int port);
    bool lost_board(bool reading, int port);
    // Waits like wait_until, ended early once the program is ending.
    bool wait_for(int ms, const std::function<bool()> &done) const;
    // A transfer given up because the program is ending: the port closed, nothing said.
    bool given_up(bool reading, int port);
    // Raises the busy flag for one procedure; nested calls keep it raised.
    class BusyScope;
    void showState(bool connected);
    void watchTimer(bool enabled);

    ProgramState &m_state;
    const RegistryAccess &m_registry;
    SerialLibrary &m_sio;
    BoardStatusView *m_status = nullptr;
    TransferProgress *m_progress = nullptr;
    std::function<void(bool)> m_watchTimer;
    std::function<bool()> m_parallelProbe;
    int m_boardPort = -1;
    int m_adapterValueCount = 0;
    bool m_busy = false;
};

} // namespace zr730
