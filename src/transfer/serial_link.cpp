#include "transfer/serial_link.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include "platform/serial_port.h"
#include "support/program_state.h"
#include "support/registry_access.h"
#include "transfer/board_frame.h"
#include "transfer/link_texts.h"

namespace zr730 {

namespace {

void let_events_run()
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

} // namespace

void wait_ms(int ms)
{
    wait_until(ms, [] { return false; });
}

void wait_ms(int ms, const bool &stop)
{
    wait_until(ms, [&stop] { return stop; });
}

int port_from_friendly_name(const QString &name)
{
    const int p = name.indexOf(QLatin1Char('('));
    if (p < 0) return -1;
    const int q = name.indexOf(QLatin1Char(')'), p);
    if (q < 0 || q - p - 4 <= 0) return -1;
    const QString digits = name.mid(p + 4, q - p - 4);
    bool ok = false;
    const int n = digits.toInt(&ok, 10);
    return ok && n >= 0 ? n : -1;
}

SerialLink::SerialLink(ProgramState &state, const RegistryAccess &registry, SerialLibrary &sio)
    : m_state(state), m_registry(registry), m_sio(sio)
{}

bool SerialLink::adapters(QStringList &values) const
{
    QStringList names;
    m_registry.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1);
    return !values.isEmpty() && !values.first().isEmpty();
}

class SerialLink::BusyScope {
public:
    explicit BusyScope(bool &flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~BusyScope() { m_flag = m_was; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    bool &m_flag;
    bool m_was;
};

void SerialLink::closeIfOpen(int port)
{
    if (m_sio.sio_lstatus(port) >= 0) m_sio.sio_close(port);
}

void SerialLink::showState(bool connected)
{
    if (m_status) m_status->showBoardState(connected);
}

bool SerialLink::wait_for(int ms, const std::function<bool()> &done) const
{
    wait_until(ms, [&] { return m_state.program_ending || done(); });
    return !m_state.program_ending && done();
}

bool SerialLink::given_up(bool reading, int port)
{
    closeIfOpen(port);
    if (reading) m_state.transfer_result = -1;
    return false;
}

void SerialLink::watchTimer(bool enabled)
{
    if (m_watchTimer) m_watchTimer(enabled);
}

bool SerialLink::open_port(int port)
{
    if (m_sio.sio_open(port) == kSioOk && m_sio.sio_ioctl(port, kSioBaud9600, kSioMode8N1) == kSioOk) return true;
    m_sio.sio_close(port);
    return false;
}

bool SerialLink::probe_board()
{
    if (m_state.link == LinkSelector::Usb) return find_board();
    return m_parallelProbe ? m_parallelProbe() : false;
}

bool SerialLink::find_board()
{
    BusyScope busy(m_busy);
    if (startupProbe) watchTimer(false);
    let_events_run();

    QStringList values;
    const bool anyAdapter = adapters(values);
    if (anyAdapter) {
        const QByteArray request = frame::presenceRequest();
        for (const QString &instance : values) {
            // Closing the window ends the program at once: no further port is tried.
            if (m_state.program_ending) break;
            const QString name = m_registry.readString(QLatin1String(kDeviceEnumPath) + instance,
                                                       QStringLiteral("FriendlyName"), QString());
            const int parsed = port_from_friendly_name(name);
            if (parsed >= 0) m_boardPort = parsed;
            const int port = m_boardPort;
            closeIfOpen(port);
            if (!open_port(port)) continue;
            m_sio.sio_flush(port, kSioFlushBoth);
            m_sio.sio_write(port, request.constData(), int(request.size()));

            // The reply starts with the first byte of the header; anything before it is skipped.
            const char first = frame::kHeader[0];
            QDeadlineTimer deadline(kPresenceWaitMs, Qt::PreciseTimer);
            bool synced = false;
            for (;;) {
                const int waiting = m_sio.sio_iqueue(port);
                if (waiting < 0) break;
                if (waiting > 0) {
                    if (m_sio.sio_getch(port) == static_cast<unsigned char>(first)) {
                        synced = true;
                        break;
                    }
                    continue;
                }
                if (deadline.hasExpired() || m_state.program_ending) break;
                wait_for(int(deadline.remainingTime()), [&] { return m_sio.sio_iqueue(port) != 0; });
            }
            if (!synced) {
                m_sio.sio_close(port);
                continue;
            }
            const int rest = 16;
            if (!wait_for(kPresenceWaitMs, [&] {
                    const int q = m_sio.sio_iqueue(port);
                    return q < 0 || q >= rest;
                }) || m_sio.sio_iqueue(port) < rest) {
                m_sio.sio_close(port);
                continue;
            }
            QByteArray reply(1 + rest, '\0');
            reply[0] = first;
            if (m_sio.sio_read(port, reply.data() + 1, rest) != rest) {
                m_sio.sio_close(port);
                continue;
            }
            const QByteArray expected = QByteArray(frame::kHeader, frame::kHeaderSize)
                + QByteArray("\x35\x52\x02", 3);
            if (!frame::checksumMatches(reply) || reply.left(13) != expected) {
                m_sio.sio_close(port);
                continue;
            }
            m_sio.sio_close(port);
            m_adapterValueCount = int(values.size());
            if (startupProbe) watchTimer(true);
            return true;
        }
    }

    if (startupProbe && !m_state.program_ending) m_state.messages.show(QString::fromLatin1(text::kBoardNotResponding), MsgIcon::Warning);
    m_adapterValueCount = anyAdapter ? int(values.size()) : 0;
    m_boardPort = -1;
    if (startupProbe) watchTimer(true);
    return false;
}

bool SerialLink::lost_board(bool reading, int port)
{
    closeIfOpen(port);
    QStringList values;
    adapters(values);
    m_adapterValueCount = values.size() == 1 && values.first().isEmpty() ? 0 : int(values.size());
    m_boardPort = -1;
    showState(false);
    m_state.messages.show(QString::fromLatin1(reading ? text::kReadError : text::kWriteError), MsgIcon::None);
    if (reading) m_state.transfer_result = -1;
    return false;
}

bool SerialLink::usb_block_write(const PagerImage &image, int start, int stop, int blockSize)
{
    BusyScope busy(m_busy);
    const int port = m_boardPort;
    if (m_sio.sio_lstatus(port) < 0) open_port(port);
    if (m_sio.sio_flush(port, kSioFlushBoth) < 0) return lost_board(false, port);

    if (m_progress) {
        m_progress->setMaximum(stop - 16);
        m_progress->setPosition(start);
        m_progress->useHighlightColour();
        m_progress->setStatus(QString::fromLatin1(text::kWritingNow));
    }
    let_events_run();

    const QByteArray ack = frame::writeAcknowledgement();
    const int ackSize = int(ack.size());
    while (start <= stop) {
        if (m_state.program_ending) return given_up(false, port);
        const int n = start + blockSize - 1 <= stop ? blockSize : stop - start + 1;
        QByteArray data(n, '\0');
        for (int i = 0; i < n; ++i) data[i] = static_cast<char>(image[start + i]);
        const QByteArray request = frame::memoryWriteRequest(start, data);
        if (m_sio.sio_write(port, request.constData(), int(request.size())) < 0) return lost_board(false, port);

        wait_for(kReplyWaitMs, [&] {
            const int q = m_sio.sio_iqueue(port);
            return q < 0 || q >= ackSize;
        });
        if (m_state.program_ending) return given_up(false, port);
        const int waiting = m_sio.sio_iqueue(port);
        if (waiting < 0) return lost_board(false, port);
        if (waiting < ackSize) {
            m_state.messages.show(QString::fromLatin1(text::kWriteError), MsgIcon::None);
            closeIfOpen(port);
            return false;
        }
        QByteArray reply(ackSize, '\0');
        if (m_sio.sio_read(port, reply.data(), ackSize) < 0) return lost_board(false, port);
        if (reply != ack) {
            m_state.messages.show(QString::fromLatin1(text::kWriteError), MsgIcon::None);
            closeIfOpen(port);
            return false;
        }
        start += n;
        if (m_progress) m_progress->setPosition(start);
    }
    if (m_sio.sio_close(port) < 0) return lost_board(false, port);
    return true;
}

bool SerialLink::usb_block_read(int start, int stop, int blockSize)
{
    BusyScope busy(m_busy);
    m_state.read_buffer.assign(static_cast<std::size_t>(qMax(0, stop + 1)), 0);
    const bool fromZero = start == 0;
    let_events_run();

    const int port = m_boardPort;
    if (m_sio.sio_lstatus(port) < 0) open_port(port);
    if (m_sio.sio_flush(port, kSioFlushBoth) < 0) return lost_board(true, port);

    while (start <= stop) {
        if (m_state.program_ending) return given_up(true, port);
        const int n = start + blockSize - 1 <= stop ? blockSize : stop - start + 1;
        const QByteArray request = frame::memoryReadRequest(start, n);
        if (m_sio.sio_write(port, request.constData(), int(request.size())) < 0) return lost_board(true, port);
        wait_ms(kReadPauseMs, m_state.program_ending);

        const int replySize = n + frame::kOverhead;
        wait_for(kReplyWaitMs, [&] {
            const int q = m_sio.sio_iqueue(port);
            return q < 0 || q >= replySize;
        });
        if (m_state.program_ending) return given_up(true, port);
        const int waiting = m_sio.sio_iqueue(port);
        if (waiting < 0) return lost_board(true, port);
        if (waiting < replySize) {
            m_state.messages.show(QString::fromLatin1(text::kReadTimeOut), MsgIcon::None);
            closeIfOpen(port);
            m_state.transfer_result = -1;
            return false;
        }
        QByteArray reply(replySize, '\0');
        if (m_sio.sio_read(port, reply.data(), replySize) < 0) return lost_board(true, port);
        if (!frame::checksumMatches(reply)) {
            m_state.messages.show(QString::fromLatin1(text::kReadError), MsgIcon::None);
            closeIfOpen(port);
            m_state.transfer_result = -1;
            return false;
        }
        for (int i = 0; i < n; ++i)
            m_state.read_buffer[static_cast<std::size_t>(start + i)] = static_cast<std::uint8_t>(reply.at(13 + i));
        start += blockSize;
        if (fromZero && m_progress) m_progress->setPosition(start);
    }
    if (m_sio.sio_close(port) < 0) return lost_board(true, port);
    return true;
}

void SerialLink::watchBoard()
{
    // A tick inside a transfer's or a probe's wait leaves the port to them: they see a lost
    // board themselves, and the next tick looks again.
    if (m_busy) return;
    watchTimer(false);
    if (m_state.link == LinkSelector::Usb) {
        bool connected = false;
        QStringList values;
        if (!adapters(values)) {
            m_adapterValueCount = 0;
        } else {
            const int k = int(values.size());
            if (k > m_adapterValueCount && m_boardPort < 0) {
                connected = probe_board();
            } else {
                for (const QString &instance : values) {
                    const int p = port_from_friendly_name(m_registry.readString(
                        QLatin1String(kDeviceEnumPath) + instance, QStringLiteral("FriendlyName"), QString()));
                    if (p >= 0 && p == m_boardPort) connected = true;
                }
            }
            m_adapterValueCount = k;
        }
        if (!connected) m_boardPort = -1;
        showState(connected);
    }
    watchTimer(true);
}

bool SerialLink::block_write(const PagerImage &image, int start, int stop, int blockSize)
{
    if (m_busy) { // callers wait for busy() to fall; never share the port with a running probe
        m_state.messages.show(QString::fromLatin1(text::kWriteError), MsgIcon::None);
        return false;
    }
    return usb_block_write(image, start, stop, blockSize);
}

bool SerialLink::block_read(int start, int stop, int blockSize)
{
    if (m_busy) {
        m_state.messages.show(QString::fromLatin1(text::kReadError), MsgIcon::None);
        m_state.transfer_result = -1;
        return false;
    }
    return usb_block_read(start, stop, blockSize);
}

} // namespace zr730
