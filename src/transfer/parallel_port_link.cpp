#include "transfer/parallel_port_link.h"

#include <QString>

#include <chrono>
#include <ctime>
#include <vector>

#include "support/program_state.h"
#include "transfer/link_texts.h"
#include "transfer/pager_link.h"
#include "support/texts.h"
#include "transfer/serial_link.h"
#include "transfer/transfer_procedures.h"

namespace zr730 {

namespace {

long long monotonic_ns()
{
    timespec t{};
    if (clock_gettime(CLOCK_MONOTONIC, &t) != 0) return -1;
    return (long long)t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

long long ms_now() { return monotonic_ns() / 1'000'000; }

} // namespace

ParallelPortLink::ParallelPortLink(ProgramState &state, PortIo &io) : m_state(state), m_io(io) {}

// ---- timing ----------------------------------------------------------------------------

void ParallelPortLink::calibrate_delay()
{
    m_loops = 25;
    const long long start = ms_now();
    volatile long long sink = 0;
    for (long i = 1;; ++i) {
        if (i % 1000 == 0) {
            sink = ms_now();
            if (sink - start > 25) {
                m_loops = i / 1000;
                return;
            }
        }
    }
}

void ParallelPortLink::wait_25us()
{
    ++m_halfSteps;
    const long long start = m_loopDelay ? -1 : monotonic_ns();
    if (start >= 0) {
        // The clock read is a call the compiler cannot drop, so the wait cannot be optimised away.
        while (monotonic_ns() - start <= 25'000) {
        }
        return;
    }
    volatile long long sink = 0;
    long i = 0;
    do {
        if (i % 1000 == 0) sink = ms_now();
    } while (++i <= m_loops);
    (void)sink;
}

// ---- lines --------------------------------------------------------------------------------

void ParallelPortLink::out(int value) { m_io.Out32(m_data, value); }
int ParallelPortLink::status() { return m_io.Inp32(m_data + 1); }

void ParallelPortLink::sda_high() { out(m_shadow &= 0xFD); }
void ParallelPortLink::sda_low() { out(m_shadow |= 0x02); }
void ParallelPortLink::scl_high() { out(m_shadow &= 0xFE); }
void ParallelPortLink::scl_low() { out(m_shadow |= 0x01); }

void ParallelPortLink::i2c_start()
{
    out(kLptPatternIdle);
    wait_25us();
    out(kLptPatternSdaLow);
    wait_25us();
    out(kLptPatternBothLow);
    wait_25us();
    m_shadow = kLptPatternBothLow;
}

void ParallelPortLink::i2c_stop()
{
    out(kLptPatternBothLow);
    wait_25us();
    out(kLptPatternSdaLow);
    wait_25us();
    out(kLptPatternIdle);
    wait_25us();
    m_shadow = kLptPatternIdle;
}

void ParallelPortLink::i2c_release()
{
    wait_ms(100, m_state.program_ending);
    out(kLptPatternSdaLow);
    m_shadow = kLptPatternSdaLow;
    wait_25us();
}

// ---- bytes --------------------------------------------------------------------------------

void ParallelPortLink::clock_bit(bool high)
{
    if (high)
        sda_high();
    else
        sda_low();
    wait_25us();
    scl_high();
    wait_25us();
    scl_low();
    wait_25us();
}

bool ParallelPortLink::i2c_write_byte(int value)
{
    for (int bit = 7; bit >= 0; --bit) clock_bit(((value >> bit) & 1) != 0);
    sda_high();
    wait_25us();
    scl_high();
    wait_25us();
    const bool ack = (status() & 0x08) != 0;
    scl_low();
    wait_25us();
    return ack;
}

int ParallelPortLink::i2c_read_byte(bool notAcknowledge)
{
    int value = 0;
    sda_high();
    for (int k = 0; k < 8; ++k) {
        value <<= 1;
        scl_high();
        wait_25us();
        if ((status() & 0x08) == 0) value |= 1;
        scl_low();
        wait_25us();
    }
    clock_bit(notAcknowledge); // SDA high: no more bytes wanted
    return value;
}

bool ParallelPortLink::fail(const char *message, const QString &details)
{
    if (details.isEmpty())
        m_state.messages.show(QString::fromLatin1(message), MsgIcon::None);
    else
        m_state.messages.showDetailed(QString::fromLatin1(message), details, MsgIcon::None);
    m_state.transfer_result = -1;
    return false;
}

bool ParallelPortLink::address_for_read(int address)
{
    bool acked = false;
    for (int attempt = 0; attempt < kLptReadAttempts && !acked; ++attempt) {
        i2c_start();
        acked = i2c_write_byte(lpt_device_byte(address));
    }
    if (!acked) {
        i2c_release();
        return fail(text::kReadError);
    }
    i2c_write_byte(lpt_word_address(address)); // its acknowledge is not looked at
    i2c_start();
    i2c_write_byte(lpt_device_byte(address) + 1);
    return true;
}

std::optional<std::uint8_t> ParallelPortLink::lpt_read_byte(int address)
{
    if (!address_for_read(address)) return std::nullopt;
    const int v = i2c_read_byte(true);
    i2c_stop();
    return std::uint8_t(v);
}

// ---- discovery ----------------------------------------------------------------------------

bool ParallelPortLink::lpt_probe()
{
    m_shadow = kLptPatternIdle;
    for (int base : kLptBases) {
        if (m_state.program_ending) return false; // closing the window ends the program at once
        m_data = base;
        if (lpt_probe_port(base)) return true;
    }
    if (m_state.program_ending) return false;
    QString message = QString::fromLatin1(text::kBoardNotResponding);
    if (const std::string why = m_io.problem(); !why.empty()) message += QStringLiteral("\n\n") + QString::fromStdString(why);
    m_state.messages.show(message, MsgIcon::Warning);
    return false;
}

bool ParallelPortLink::lpt_probe_port(int base)
{
    m_data = base;
    i2c_stop();
    wait_ms(50, m_state.program_ending);
    i2c_stop();
    wait_ms(50, m_state.program_ending);
    scl_low();
    m_io.Out32(base, m_io.Inp32(base) | 0x02);
    wait_ms(50, m_state.program_ending);
    m_io.Inp32(base + 1); // read while SDA is pulled low; not evaluated
    m_io.Out32(base, m_io.Inp32(base) & ~0x02);
    wait_ms(50, m_state.program_ending);
    const bool present = (m_io.Inp32(base + 1) & 0x08) == 0;
    i2c_stop();
    return present;
}

// ---- transfers ----------------------------------------------------------------------------

void ParallelPortLink::wait_write_cycle(int address)
{
    const long long start = ms_now();
    bool acked = false;
    do {
        i2c_start();
        acked = i2c_write_byte(lpt_device_byte(address));
    } while (!acked && ms_now() - start <= kLptAckPollMs);
    i2c_stop();
}

bool ParallelPortLink::page_write(const PagerImage &image, int strt, int stp, TransferProgress *progress)
{
    for (int j = strt; j <= stp; ++j) {
        if (j == strt || j % kEepromPage == 0) {
            if (j != strt) {
                i2c_stop();
                ++m_pageSleeps;
                wait_ms(kLptPageSleepMs, m_state.program_ending); // the window is pumped here, between pages
                // The program is ending: the EEPROM has finished its page; nothing more is sent.
                if (m_state.program_ending) {
                    m_state.transfer_result = -1;
                    return false;
                }
            }
            const long long first = ms_now();
            i2c_start();
            bool acked = i2c_write_byte(lpt_device_byte(j));
            while (!acked && ms_now() - first <= kLptAckPollMs) {
                i2c_start();
                acked = i2c_write_byte(lpt_device_byte(j));
            }
            if (j % kEepromPage == 0 && progress) progress->setPosition(j);
            if (!acked || !i2c_write_byte(lpt_word_address(j))) return fail(text::kWriteError);
        }
        if (!i2c_write_byte(image[j])) return fail(text::kWriteError);
    }
    i2c_stop();
    // The verify that follows must not find the EEPROM still busy with its last page.
    wait_write_cycle(stp);
    return true;
}

bool ParallelPortLink::sequential_read(PagerImage &image, int strt, int stp, TransferProgress *progress)
{
    for (int j = strt; j < stp; ++j) {
        if ((j == strt || j % kEepromPage == 0) && !address_for_read(j)) return false;
        const bool pageEnd = (j + 1) % kEepromPage == 0;
        image[j] = std::uint8_t(i2c_read_byte(pageEnd));
        if (pageEnd && progress) progress->setPosition(j);
    }
    // The last byte too is read from an addressed page.
    if ((stp == strt || stp % kEepromPage == 0) && !address_for_read(stp)) return false;
    image[stp] = std::uint8_t(i2c_read_byte(true));
    i2c_stop();
    return true;
}

bool ParallelPortLink::compare(const PagerImage &image, int strt, int stp, TransferProgress *progress)
{
    if (!address_for_read(strt)) return false;
    // The whole range is read even past a difference, so the message can name every field
    // that differs.
    std::vector<std::uint8_t> read(std::size_t(stp) + 1, 0);
    bool same = true;
    for (int i = strt; i <= stp; ++i) {
        const int b = i2c_read_byte(i == stp);
        read[std::size_t(i)] = std::uint8_t(b);
        same = same && b == image[i];
        if (i % kEepromPage == 0 && progress) progress->setPosition(i);
    }
    i2c_stop();
    if (!same) return fail(text::kVerifyError, verify_details(image, read, strt, stp));
    m_state.messages.show(QString::fromLatin1(text::kVerifySuccess), MsgIcon::None);
    return true;
}

} // namespace zr730
