#include "platform/simulated_parport.h"

#include <fstream>

namespace zr730 {

namespace {
constexpr auto kWriteCycle = std::chrono::milliseconds(5);
}

SimulatedParallelPort::SimulatedParallelPort(const Memory &memory, int base, bool boardPresent)
    : m_memory(memory), m_base(base), m_present(boardPresent)
{}

bool SimulatedParallelPort::busy() const { return std::chrono::steady_clock::now() < m_busyUntil; }

int SimulatedParallelPort::Inp32(int port)
{
    if (!m_present || (port & ~3) != m_base) return 0xFF; // nothing connected: the status pins float high
    if (port == m_base) return m_data;
    // Status bit 3 is 1 while SDA is low (the board inverts the line).
    return 0x70 | (sdaLine() ? 0 : 0x08);
}

void SimulatedParallelPort::Out32(int port, int value)
{
    if (!m_present || port != m_base) return;
    m_data = value & 0xFF;
    const bool scl = (m_data & 1) == 0, sda = (m_data & 2) == 0;
    const bool oldScl = m_scl, oldSda = sdaLine();
    m_masterSda = sda;
    if (scl == oldScl && m_scl) {
        // SDA changing while SCL is high is a start (falling) or a stop (rising) condition.
        if (oldSda && !sdaLine()) start();
        else if (!oldSda && sdaLine()) stop();
        return;
    }
    m_scl = scl;
    if (scl != oldScl) onScl(scl);
}

void SimulatedParallelPort::start()
{
    ++m_starts;
    m_state = State::Device;
    m_bits = 0;
    m_ackPhase = false;
    m_slaveLow = false;
}

void SimulatedParallelPort::stop()
{
    m_state = State::Idle;
    m_slaveLow = false;
    if (!m_anyPending) return;
    // The page goes into the memory with the write cycle that follows the stop.
    for (std::size_t a = 0; a < m_memory.size(); ++a)
        if (m_pendingSet[a]) m_memory[a] = m_pending[a];
    m_pendingSet.fill(false);
    m_anyPending = false;
    ++m_pages;
    m_busyUntil = std::chrono::steady_clock::now() + kWriteCycle;
    save();
}

void SimulatedParallelPort::save() const
{
    if (m_saveFile.empty()) return;
    std::ofstream f(m_saveFile, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char *>(m_memory.data()), std::streamsize(m_memory.size()));
}

void SimulatedParallelPort::onScl(bool rising)
{
    if (m_state == State::Idle || m_state == State::Ignore) return;
    if (rising) {
        if (m_ackPhase) {
            // The master's acknowledge of a byte we sent: SDA high ends the read.
            if (m_state == State::Send && sdaLine()) m_state = State::Ignore;
            return;
        }
        if (m_state == State::Send) return; // the master samples our bit
        m_shift = std::uint8_t((m_shift << 1) | (sdaLine() ? 1 : 0));
        ++m_bits;
        return;
    }
    // Falling edge: the slave changes its output.
    if (m_ackPhase) {
        m_ackPhase = false;
        m_slaveLow = false;
        m_bits = 0;
        if (m_state == State::Send) {
            m_address = (m_address + 1) & 0x3FF;
            m_shift = m_memory[std::size_t(m_address)];
            m_slaveLow = (m_shift & 0x80) == 0;
            m_bits = 1;
        }
        return;
    }
    if (m_state == State::Send) {
        if (m_bits < 8) {
            m_slaveLow = ((m_shift << m_bits) & 0x80) == 0;
            ++m_bits;
        } else {
            m_slaveLow = false; // release for the master's acknowledge
            m_ackPhase = true;
        }
        return;
    }
    if (m_bits == 8) byteReceived();
}

void SimulatedParallelPort::byteReceived()
{
    bool ack = m_ackLimit < 0 || m_acks < m_ackLimit;
    switch (m_state) {
    case State::Device:
        if ((m_shift & 0xF0) != 0xA0 || busy()) {
            ack = false;
        } else {
            m_reading = (m_shift & 1) != 0;
            m_address = ((m_address & 0xFF) | ((m_shift & 0x0E) << 7)) & 0x3FF;
        }
        m_state = !ack ? State::Ignore : m_reading ? State::Send : State::Word;
        break;
    case State::Word:
        m_address = (m_address & 0x300) | m_shift;
        m_state = State::Data;
        break;
    case State::Data: {
        m_pending[std::size_t(m_address)] = m_shift;
        m_pendingSet[std::size_t(m_address)] = true;
        m_anyPending = true;
        m_address = (m_address & ~0x0F) | ((m_address + 1) & 0x0F); // wraps within the page
        break;
    }
    default:
        break;
    }
    if (ack) ++m_acks;
    m_slaveLow = ack;
    m_ackPhase = true;
    if (m_state == State::Send && ack) {
        // After the acknowledge clock the first data bit goes out (see the falling edge).
        m_shift = m_memory[std::size_t(m_address)];
        m_address = (m_address - 1) & 0x3FF; // the ack's falling edge advances to the address
    }
}

} // namespace zr730
