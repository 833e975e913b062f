#pragma once
// A parallel port with the programmer board and a pager on it, for tests and for trying the
// parallel-port edition without hardware. The board inverts both lines; behind it sits a 1024-byte
// I2C EEPROM: device byte 1010 + address bits 8–10 + R/W, 16-byte write pages whose address
// wraps within the page, and a 5 ms write cycle after each stop during which it acknowledges
// nothing.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "platform/parallel_port.h"

namespace zr730 {

class SimulatedParallelPort : public PortIo {
public:
    using Memory = std::array<std::uint8_t, 1024>;

    // The board answers at `base`; with boardPresent false no board is connected at all.
    SimulatedParallelPort(const Memory &memory, int base = 888, bool boardPresent = true);

    int Inp32(int port) override;
    void Out32(int port, int value) override;

    const Memory &memory() const { return m_memory; }
    Memory &memory() { return m_memory; }
    // Written after every completed write cycle (the simulated pager keeps its memory there).
    void setSaveFile(std::string path) { m_saveFile = std::move(path); }
    // Faults: the device stops acknowledging after this many acknowledged bytes (−1: never).
    void setAcknowledgeLimit(long n) { m_ackLimit = n; }
    // Bus statistics: start conditions seen and bytes that completed a write cycle.
    long starts() const { return m_starts; }
    long pagesWritten() const { return m_pages; }

private:
    enum class State { Idle, Device, Word, Data, Send, Ignore };
    bool sdaLine() const { return m_masterSda && !m_slaveLow; } // true = high
    bool busy() const;
    void onScl(bool rising);
    void byteReceived();
    void start();
    void stop();
    void save() const;

    Memory m_memory;
    int m_base;
    bool m_present;
    int m_data = 0xFC;
    bool m_scl = true, m_masterSda = true, m_slaveLow = false;
    State m_state = State::Idle;
    int m_bits = 0;
    std::uint8_t m_shift = 0;
    bool m_ackPhase = false;   // the ninth clock of a byte
    bool m_reading = false;
    int m_address = 0;
    Memory m_pending{};
    std::array<bool, 1024> m_pendingSet{};
    bool m_anyPending = false;
    std::chrono::steady_clock::time_point m_busyUntil{};
    std::string m_saveFile;
    long m_ackLimit = -1;
    long m_acks = 0;
    long m_starts = 0;
    long m_pages = 0;
};

} // namespace zr730
