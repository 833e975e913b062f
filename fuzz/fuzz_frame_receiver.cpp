// Fuzzes the board-frame receiver as a serial port feeds it: the input arrives in pieces
// whose sizes come from the input itself, and takeFrame is called until it has nothing more
// after every piece. Each call is checked against what the buffer held before it.
// Afterwards a frame built by encode from input bytes, behind input garbage, must come back
// whole however it is split.
#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz_check.h"
#include "transfer/board_frame.h"

namespace {

namespace frame = zr730::frame;

const QByteArray kHeader(frame::kHeader, frame::kHeaderSize);

// One takeFrame call on buffer, checked against the buffer's content before the call.
std::optional<frame::Frame> take_checked(QByteArray &buffer)
{
    const QByteArray before = buffer;
    auto f = frame::takeFrame(buffer);
    FUZZ_CHECK(buffer.size() <= before.size());
    const qsizetype at = before.indexOf(kHeader);
    if (!f) {
        if (at < 0) {
            // Only a tail that may still become a header is kept, and it is the old tail.
            FUZZ_CHECK(buffer.size() <= frame::kHeaderSize - 1);
            FUZZ_CHECK(before.endsWith(buffer));
        } else {
            // An incomplete frame stays, starting at its header.
            FUZZ_CHECK(buffer == before.mid(at));
            FUZZ_CHECK(buffer.size() < frame::kHeaderSize + 3
                       || buffer.size() < frame::kOverhead + std::uint8_t(buffer.at(12)));
        }
        return f;
    }
    FUZZ_CHECK(at >= 0);
    const int length = std::uint8_t(before.at(at + 12));
    const QByteArray raw = before.mid(at, frame::kOverhead + length);
    FUZZ_CHECK(raw.size() == frame::kOverhead + length);
    FUZZ_CHECK(f->payload.size() == length);
    FUZZ_CHECK(f->payload == raw.mid(13, length));
    FUZZ_CHECK(f->channel == std::uint8_t(raw.at(10)) && f->operation == std::uint8_t(raw.at(11)));
    FUZZ_CHECK(buffer == before.mid(at + raw.size()));
    FUZZ_CHECK(f->checksumOk == frame::checksumMatches(raw));
    // The codec builds the same bytes exactly when the received checksum was right.
    FUZZ_CHECK(f->checksumOk == (frame::encode(f->channel, f->operation, f->payload) == raw));
    return f;
}

// Feeds stream in pieces; split bytes choose each piece's size (1 … 64). Returns the frames.
QList<frame::Frame> receive(const QByteArray &stream, const std::uint8_t *split, std::size_t splitSize)
{
    QList<frame::Frame> frames;
    QByteArray buffer;
    qsizetype pos = 0;
    std::size_t k = 0;
    while (pos < stream.size()) {
        const qsizetype piece = splitSize ? 1 + split[k++ % splitSize] % 64 : stream.size();
        buffer.append(stream.mid(pos, piece));
        pos += piece;
        while (auto f = take_checked(buffer)) frames.append(*f);
    }
    return frames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The raw input as a received byte stream, split by its own bytes.
    const QByteArray stream(reinterpret_cast<const char *>(data), qsizetype(size));
    receive(stream, data, size);

    // Round trip: channel, operation, then up to 255 payload bytes (the length is one byte);
    // the rest of the input is garbage sent first, with no 'K' so it cannot hold a header.
    if (size < 3) return 0;
    const std::uint8_t channel = data[0];
    const std::uint8_t operation = data[1];
    const std::size_t payloadSize = std::min<std::size_t>(data[2], size - 3);
    const QByteArray payload(reinterpret_cast<const char *>(data + 3), qsizetype(payloadSize));
    QByteArray garbage(reinterpret_cast<const char *>(data + 3 + payloadSize), qsizetype(size - 3 - payloadSize));
    garbage.replace('K', 'k');
    const QByteArray sent = frame::encode(channel, operation, payload);
    FUZZ_CHECK(sent.size() == frame::kOverhead + qsizetype(payloadSize));
    FUZZ_CHECK(frame::checksumMatches(sent));

    const auto frames = receive(garbage + sent, data + 3, payloadSize);
    FUZZ_CHECK(frames.size() == 1);
    FUZZ_CHECK(frames[0].channel == channel && frames[0].operation == operation);
    FUZZ_CHECK(frames[0].payload == payload && frames[0].checksumOk);
    return 0;
}
