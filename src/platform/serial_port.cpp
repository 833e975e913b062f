#include "platform/serial_port.h"

#include <QSerialPort>

#include "platform/port_table.h"

namespace zr730 {

SerialLibrary::~SerialLibrary() = default;

QtSerialLibrary::QtSerialLibrary(const PortTable &ports) : m_ports(ports) {}

QtSerialLibrary::~QtSerialLibrary()
{
    for (auto &[n, p] : m_open) p->close();
}

namespace {

bool fatal(QSerialPort::SerialPortError e)
{
    switch (e) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
        return false;
    default:
        return true;
    }
}

qint32 baud_of(int code)
{
    static constexpr qint32 rates[] = {50, 75, 110, 134, 150, 300, 600, 1200, 1800, 2400, 4800,
                                       7200, 9600, 19200, 38400, 57600, 115200, 230400};
    if (code < 0 || code >= int(std::size(rates))) return -1;
    return rates[code];
}

} // namespace

QSerialPort *QtSerialLibrary::device(int port) const
{
    const auto it = m_open.find(port);
    return it == m_open.end() ? nullptr : it->second.get();
}

QSerialPort *QtSerialLibrary::usable(int port, int &error) const
{
    QSerialPort *p = device(port);
    if (!p) {
        error = kSioBadPort;
        return nullptr;
    }
    if (m_lost.count(port) || !p->isOpen() || fatal(p->error())) {
        error = kSioPortLost;
        return nullptr;
    }
    error = kSioOk;
    return p;
}

int QtSerialLibrary::sio_open(int port)
{
    if (device(port)) return kSioBadPort; // already open
    const QString path = m_ports.devicePath(port);
    if (path.isEmpty()) return kSioBadPort;
    auto p = std::make_unique<QSerialPort>();
    p->setPortName(path);
    if (!p->open(QIODevice::ReadWrite)) return kSioOpenFail;
    QSerialPort *raw = p.get();
    QObject::connect(
        raw, &QSerialPort::errorOccurred, raw,
        [this, raw, port](QSerialPort::SerialPortError e) {
            if (!fatal(e) || !raw->isOpen()) return;
            m_lost.insert(port);
            raw->close();
        },
        Qt::QueuedConnection);
    m_lost.erase(port);
    m_open.emplace(port, std::move(p));
    return kSioOk;
}

int QtSerialLibrary::sio_ioctl(int port, int baud, int mode)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    const qint32 rate = baud_of(baud);
    if (rate < 0) return kSioBadParm;
    const auto data = static_cast<QSerialPort::DataBits>(5 + (mode & 0x03));
    const auto stop = (mode & 0x04) ? QSerialPort::TwoStop : QSerialPort::OneStop;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (mode & 0x38) {
    case 0x00: parity = QSerialPort::NoParity; break;
    case 0x08: parity = QSerialPort::OddParity; break;
    case 0x18: parity = QSerialPort::EvenParity; break;
    case 0x28: parity = QSerialPort::MarkParity; break;
    case 0x38: parity = QSerialPort::SpaceParity; break;
    default: return kSioBadParm;
    }
    const bool ok = p->setBaudRate(rate) && p->setDataBits(data) && p->setStopBits(stop)
        && p->setParity(parity) && p->setFlowControl(QSerialPort::NoFlowControl);
    return ok ? kSioOk : (fatal(p->error()) ? kSioPortLost : kSioBadParm);
}

int QtSerialLibrary::sio_flush(int port, int func)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    const auto dir = func == 0 ? QSerialPort::Input : func == 1 ? QSerialPort::Output : QSerialPort::AllDirections;
    p->clear(dir);
    if (dir != QSerialPort::Output) p->readAll(); // what Qt had buffered already
    return fatal(p->error()) ? kSioPortLost : kSioOk;
}

int QtSerialLibrary::sio_write(int port, const char *buffer, int length)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    const qint64 n = p->write(buffer, length);
    if (n < 0) return kSioPortLost;
    p->flush(); // hand the whole frame to the driver now
    return fatal(p->error()) ? kSioPortLost : int(n);
}

int QtSerialLibrary::sio_iqueue(int port)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    return int(p->bytesAvailable());
}

int QtSerialLibrary::sio_read(int port, char *buffer, int length)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    const qint64 n = p->read(buffer, length);
    return n < 0 ? kSioPortLost : int(n);
}

int QtSerialLibrary::sio_getch(int port)
{
    int err = kSioOk;
    QSerialPort *p = usable(port, err);
    if (!p) return err;
    char c = 0;
    if (p->bytesAvailable() <= 0 || !p->getChar(&c)) return -1;
    return static_cast<unsigned char>(c);
}

int QtSerialLibrary::sio_lstatus(int port)
{
    return device(port) ? kSioOk : kSioBadPort;
}

int QtSerialLibrary::sio_close(int port)
{
    const auto it = m_open.find(port);
    if (it == m_open.end()) return kSioBadPort;
    const bool lost = m_lost.count(port) || fatal(it->second->error());
    if (it->second->isOpen()) it->second->close();
    m_open.erase(it);
    m_lost.erase(port);
    return lost ? kSioPortLost : kSioOk;
}

} // namespace zr730
