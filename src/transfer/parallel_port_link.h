#pragma once
// ParallelPortLink: the parallel-port programmer board. The program drives the pager EEPROM's I2C bus bit
// by bit through the port's data register (bit 0 pulls SCL low, bit 1 pulls SDA low) and reads
// SDA back on status bit 3 (1 while SDA is low).
#include <cstdint>
#include <optional>

#include <QString>

#include "image/image.h"
#include "platform/parallel_port.h"

namespace zr730 {

struct ProgramState;
class TransferProgress;

inline constexpr int kLptBases[3] = {888, 632, 956};
inline constexpr int kLptPatternIdle = 252;     // both lines high
inline constexpr int kLptPatternSdaLow = 254;   // SCL high, SDA low
inline constexpr int kLptPatternBothLow = 255;
inline constexpr int kLptReadAttempts = 9;
inline constexpr int kLptAckPollMs = 500;
inline constexpr int kLptPageSleepMs = 10;
inline constexpr int kEepromPage = 16;

// Device byte for writing address a (address bits 8–10 in bits 1–3); + 1 for reading.
constexpr int lpt_device_byte(int address) { return 0xA0 | ((address & 0x700) >> 7); }
constexpr int lpt_word_address(int address) { return address & 0xFF; }

class ParallelPortLink {
public:
    ParallelPortLink(ProgramState &state, PortIo &io);

    // Timing
    void calibrate_delay();
    // Busy-waits strictly more than 25 µs.
    void wait_25us();
    long loopCount() const { return m_loops; }
    // Uses the calibrated loop instead of the monotonic clock (a system without one).
    void useLoopDelay(bool on) { m_loopDelay = on; }

    // Lines and bus conditions
    void sda_high();
    void sda_low();
    void scl_high();
    void scl_low();
    void i2c_start();
    void i2c_stop();
    void i2c_release();

    // Bytes
    bool i2c_write_byte(int value);
    int i2c_read_byte(bool notAcknowledge);
    // Random read of one byte; on failure "Read error!", the transfer result flag −1, and none.
    std::optional<std::uint8_t> lpt_read_byte(int address);

    // Discovery: the first of the three bases with a board becomes the data port.
    bool lpt_probe();
    bool lpt_probe_port(int base);
    int dataPort() const { return m_data; }

    // The bus loops of the transfer procedures; each reports its own failure ("Write error!",
    // "Read error!", "Verify Error!" / "Verify Success!") and sets the flag.
    bool page_write(const PagerImage &image, int strt, int stp, TransferProgress *progress);
    bool sequential_read(PagerImage &image, int strt, int stp, TransferProgress *progress);
    bool compare(const PagerImage &image, int strt, int stp, TransferProgress *progress);

    // Bus statistics: half-step waits and page sleeps since construction.
    long halfSteps() const { return m_halfSteps; }
    long pageSleeps() const { return m_pageSleeps; }

private:
    void out(int value);
    // One clock with SDA set to the bit: three half-steps.
    void clock_bit(bool high);
    int status();
    // Step 7.1 and the rest of the read addressing: device byte (up to 9 tries), word address,
    // repeated start, read device byte. On failure the bus is released and "Read error!" shown.
    bool address_for_read(int address);
    // Waits for the EEPROM's write cycle after a write: polls its acknowledge for up to 500 ms.
    void wait_write_cycle(int address);
    // Shows the message (with its details section when there are details) and ends the transfer.
    bool fail(const char *message, const QString &details = {});

    ProgramState &m_state;
    PortIo &m_io;
    int m_data = kLptBases[0];
    int m_shadow = kLptPatternIdle;
    long m_loops = 25;
    bool m_loopDelay = false;
    long m_halfSteps = 0;
    long m_pageSleeps = 0;
};

} // namespace zr730
