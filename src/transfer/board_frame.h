#pragma once
// Frames of the programmer-board protocol. Every frame, in both directions:
//   "KestraneXL" | channel | operation | L | L payload bytes | checksum high | checksum low
// The checksum is the sum of the bytes from the channel through the last payload byte,
// modulo 65536.
#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zr730::frame {

inline constexpr char kHeader[] = "KestraneXL";
inline constexpr int kHeaderSize = 10;
inline constexpr int kOverhead = 15; // header, channel, operation, length, two checksum bytes

inline constexpr std::uint8_t kChannelMemory = 0x33;   // "3"
inline constexpr std::uint8_t kChannelPresence = 0x35; // "5"
inline constexpr std::uint8_t kRead = 0x52;            // "R"
inline constexpr std::uint8_t kWrite = 0x53;           // "S"
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr int kMaxBlock = 128;

// Sum of bytes[from..to] (inclusive) modulo 65536.
std::uint16_t checksum(const QByteArray &bytes, int from, int to);

// The codec: builds one complete frame.
QByteArray encode(std::uint8_t channel, std::uint8_t operation, const QByteArray &payload);

// True when the last two bytes of a whole frame hold the sum of bytes 10 .. size-3.
bool checksumMatches(const QByteArray &frame);

// The frames the program sends and expects.
QByteArray memoryReadRequest(int start, int count);
QByteArray memoryWriteRequest(int start, const QByteArray &data);
QByteArray presenceRequest();
QByteArray writeAcknowledgement();

// One frame received by the board, as its parts.
struct Frame {
    std::uint8_t channel = 0;
    std::uint8_t operation = 0;
    QByteArray payload;
    bool checksumOk = false;
};

// Takes the first complete frame out of a receive buffer. Bytes before a header are dropped;
// an incomplete frame stays in the buffer and nothing is returned.
std::optional<Frame> takeFrame(QByteArray &buffer);

} // namespace zr730::frame
