#include "platform/gpib_controller.h"

#include <QSerialPort>
#include <QTcpSocket>

#include "platform/event_wait.h"

namespace zr730 {

namespace {

bool alive(const QIODevice *io)
{
    if (const auto *s = qobject_cast<const QTcpSocket *>(io)) return s->state() == QAbstractSocket::ConnectedState;
    if (const auto *p = qobject_cast<const QSerialPort *>(io)) return p->isOpen() && p->error() == QSerialPort::NoError;
    return io->isOpen();
}

} // namespace

PlusPlusController::PlusPlusController(GpibConfig config) : m_config(std::move(config)) {}

PlusPlusController::~PlusPlusController() { siclcleanup(); }

int PlusPlusController::fail(int error, std::string text)
{
    m_errno = error;
    m_errtext = std::move(text);
    return error;
}

PlusPlusController::Handle *PlusPlusController::find(int handle)
{
    const auto it = m_handles.find(handle);
    if (it == m_handles.end()) {
        fail(kInstBadHandle, "The instrument handle is not open.");
        return nullptr;
    }
    return &it->second;
}

std::unique_ptr<QIODevice> PlusPlusController::connectController()
{
    if (m_config.kind == GpibConfig::Kind::Usb) {
        auto port = std::make_unique<QSerialPort>(QString::fromStdString(m_config.device));
        port->setBaudRate(115200);
        if (!port->open(QIODevice::ReadWrite)) {
            fail(kInstConnect, "The GPIB controller " + m_config.device
                                   + " could not be opened: " + port->errorString().toStdString() + ".");
            return nullptr;
        }
        return port;
    }
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QString::fromStdString(m_config.host), quint16(m_config.port));
    QTcpSocket *s = socket.get();
    wait_until(
        kGpibConnectMs,
        [this, s] {
            return givingUp() || s->state() == QAbstractSocket::ConnectedState
                || s->state() == QAbstractSocket::UnconnectedState;
        },
        UserInput::Deferred);
    if (s->state() != QAbstractSocket::ConnectedState) {
        const std::string why = s->state() == QAbstractSocket::UnconnectedState ? s->errorString().toStdString()
                                                                               : "no answer within 5 seconds";
        s->abort();
        fail(kInstConnect, "The GPIB controller at " + m_config.host + ":" + std::to_string(m_config.port)
                               + " could not be reached: " + why + ".");
        return nullptr;
    }
    return socket;
}

bool PlusPlusController::send(Handle &h, const QByteArray &bytes)
{
    QIODevice *io = h.io.get();
    if (!alive(io) || io->write(bytes) != bytes.size()) {
        fail(kInstIo, "The GPIB controller closed the connection.");
        return false;
    }
    const bool sent = wait_until(h.timeoutMs, [this, io] { return givingUp() || io->bytesToWrite() == 0 || !alive(io); },
                                 UserInput::Deferred);
    if (!sent || givingUp() || !alive(io)) {
        fail(kInstIo, sent ? "The GPIB controller closed the connection." : "The GPIB controller takes no data.");
        return false;
    }
    return true;
}

int PlusPlusController::iopen(const std::string &address)
{
    const int pad = gpib_primary_address(address);
    if (pad < 0) {
        fail(kInstBadAddress, "\"" + address + "\" is not a GPIB address (gpib0,0 … gpib0,30).");
        return 0;
    }
    Handle h;
    h.io = connectController();
    if (!h.io) return 0;
    h.address = pad;
    // Controller mode, no read-after-write, EOI with the last byte, no terminator appended
    // (each command carries its own line feed), then the instrument's address.
    const QByteArray setup = "++mode 1\n++auto 0\n++eoi 1\n++eos 3\n++addr " + QByteArray::number(pad) + "\n";
    if (!send(h, setup)) return 0;
    const int id = m_next++;
    m_handles.emplace(id, std::move(h));
    return id;
}

int PlusPlusController::iwrite(int handle, const char *data, int length, bool, int &written)
{
    written = 0;
    Handle *h = find(handle);
    if (!h) return m_errno;
    const std::string escaped = plus_plus_escape(data, length);
    if (!send(*h, QByteArray(escaped.data(), qsizetype(escaped.size())) + '\n')) return m_errno;
    written = length;
    return kInstOk;
}

int PlusPlusController::itimeout(int handle, int ms)
{
    Handle *h = find(handle);
    if (!h) return m_errno;
    h->timeoutMs = ms;
    return kInstOk;
}

int PlusPlusController::iconfirm(int handle)
{
    Handle *h = find(handle);
    if (!h) return m_errno;
    QIODevice *io = h->io.get();
    io->readAll();
    if (!send(*h, "++spoll " + QByteArray::number(h->address) + "\n")) return m_errno;
    // The status byte comes back as a decimal number on a line of its own.
    wait_until(h->timeoutMs, [this, io] { return givingUp() || io->canReadLine() || !alive(io); }, UserInput::Deferred);
    const QByteArray reply = io->canReadLine() ? io->readLine().trimmed() : QByteArray();
    bool ok = false;
    const int status = reply.toInt(&ok);
    if (!ok || status < 0 || status > 255)
        return fail(kInstNoListener, "No instrument answers at GPIB address " + std::to_string(h->address) + ".");
    return kInstOk;
}

int PlusPlusController::iclose(int handle)
{
    const auto it = m_handles.find(handle);
    if (it == m_handles.end()) return fail(kInstBadHandle, "The instrument handle is not open.");
    it->second.io->close();
    m_handles.erase(it);
    return kInstOk;
}

int PlusPlusController::siclcleanup()
{
    for (auto &[id, h] : m_handles) h.io->close();
    m_handles.clear();
    return kInstOk;
}

std::string PlusPlusController::igeterrstr(int error) const
{
    if (error == m_errno && !m_errtext.empty()) return m_errtext;
    return "GPIB error " + std::to_string(error) + ".";
}

} // namespace zr730
