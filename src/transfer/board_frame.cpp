#include "transfer/board_frame.h"

namespace zr730::frame {

std::uint16_t checksum(const QByteArray &bytes, int from, int to)
{
    unsigned sum = 0;
    for (int i = from; i <= to && i < bytes.size(); ++i) sum += static_cast<std::uint8_t>(bytes.at(i));
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

QByteArray encode(std::uint8_t channel, std::uint8_t operation, const QByteArray &payload)
{
    QByteArray f(kHeader, kHeaderSize);
    f.append(static_cast<char>(channel));
    f.append(static_cast<char>(operation));
    f.append(static_cast<char>(payload.size() & 0xFF));
    f.append(payload);
    const std::uint16_t sum = checksum(f, kHeaderSize, f.size() - 1);
    f.append(static_cast<char>(sum >> 8));
    f.append(static_cast<char>(sum & 0xFF));
    return f;
}

bool checksumMatches(const QByteArray &frame)
{
    if (frame.size() < kOverhead) return false;
    const int n = frame.size();
    const std::uint16_t sum = checksum(frame, kHeaderSize, n - 3);
    return static_cast<std::uint8_t>(frame.at(n - 2)) == (sum >> 8)
        && static_cast<std::uint8_t>(frame.at(n - 1)) == (sum & 0xFF);
}

namespace {
QByteArray address(int start)
{
    QByteArray a;
    a.append(static_cast<char>((start >> 8) & 0xFF));
    a.append(static_cast<char>(start & 0xFF));
    return a;
}
} // namespace

QByteArray memoryReadRequest(int start, int count)
{
    QByteArray p = address(start);
    p.append(static_cast<char>(count & 0xFF));
    return encode(kChannelMemory, kRead, p);
}

QByteArray memoryWriteRequest(int start, const QByteArray &data)
{
    return encode(kChannelMemory, kWrite, address(start) + data);
}

QByteArray presenceRequest()
{
    return encode(kChannelPresence, kRead, QByteArray(3, '\0'));
}

QByteArray writeAcknowledgement()
{
    return encode(kChannelMemory, kWrite, QByteArray(1, static_cast<char>(kAck)));
}

std::optional<Frame> takeFrame(QByteArray &buffer)
{
    const int at = buffer.indexOf(QByteArray(kHeader, kHeaderSize));
    if (at < 0) {
        // Keep a tail that may be the start of a header.
        if (buffer.size() > kHeaderSize - 1) buffer.remove(0, buffer.size() - (kHeaderSize - 1));
        return std::nullopt;
    }
    if (at > 0) buffer.remove(0, at);
    if (buffer.size() < kHeaderSize + 3) return std::nullopt;
    const int length = static_cast<std::uint8_t>(buffer.at(12));
    const int total = kOverhead + length;
    if (buffer.size() < total) return std::nullopt;
    const QByteArray whole = buffer.left(total);
    buffer.remove(0, total);
    Frame f;
    f.channel = static_cast<std::uint8_t>(whole.at(10));
    f.operation = static_cast<std::uint8_t>(whole.at(11));
    f.payload = whole.mid(13, length);
    f.checksumOk = checksumMatches(whole);
    return f;
}

} // namespace zr730::frame
