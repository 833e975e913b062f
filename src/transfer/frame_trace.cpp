#include "transfer/frame_trace.h"

#include <QDateTime>

namespace zr730 {

namespace {

QString now_stamp() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs); }

} // namespace

QString trace_bytes(const QByteArray &bytes)
{
    QString ascii;
    for (const char c : bytes) ascii += (c >= 32 && c < 127) ? QChar::fromLatin1(c) : QLatin1Char('.');
    return QString::fromLatin1(bytes.toHex(' ').toUpper()) + QStringLiteral("  |") + ascii + QLatin1Char('|');
}

TracingSerialLibrary::TracingSerialLibrary(SerialLibrary &inner, const QString &path) : m_inner(inner), m_file(path)
{
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        note(0, QStringLiteral("trace started"));  // no port yet
}

TracingSerialLibrary::~TracingSerialLibrary()
{
    for (auto &[port, pending] : m_pending) flushReceived(port);
}

void TracingSerialLibrary::line(int port, const char *direction, const QByteArray &bytes, const QString &stamp)
{
    if (!m_file.isOpen()) return;
    const QString text = QStringLiteral("%1 COM%2 %3 %4  %5\n")
                             .arg(stamp.isEmpty() ? now_stamp() : stamp)
                             .arg(port)
                             .arg(QLatin1String(direction))
                             .arg(bytes.size(), 3)
                             .arg(trace_bytes(bytes));
    m_file.write(text.toUtf8());
    m_file.flush(); // a trace must survive the program ending in the middle of a transfer
}

void TracingSerialLibrary::note(int port, const QString &what)
{
    if (!m_file.isOpen()) return;
    const QString where = port > 0 ? QStringLiteral(" COM%1").arg(port) : QString();
    m_file.write(QStringLiteral("%1%2 #  %3\n").arg(now_stamp(), where, what).toUtf8());
    m_file.flush();
}

void TracingSerialLibrary::received(int port, const char *bytes, int length)
{
    if (length <= 0) return;
    Pending &p = m_pending[port];
    if (p.bytes.isEmpty()) p.stamp = now_stamp();
    p.bytes.append(bytes, length);
}

void TracingSerialLibrary::flushReceived(int port)
{
    auto it = m_pending.find(port);
    if (it == m_pending.end() || it->second.bytes.isEmpty()) return;
    line(port, "<", it->second.bytes, it->second.stamp);
    it->second.bytes.clear();
}

int TracingSerialLibrary::sio_open(int port)
{
    const int r = m_inner.sio_open(port);
    note(port, r == kSioOk ? QStringLiteral("open") : QStringLiteral("open failed (%1)").arg(r));
    return r;
}

int TracingSerialLibrary::sio_flush(int port, int func)
{
    flushReceived(port);
    return m_inner.sio_flush(port, func);
}

int TracingSerialLibrary::sio_write(int port, const char *buffer, int length)
{
    flushReceived(port);
    const int r = m_inner.sio_write(port, buffer, length);
    line(port, ">", QByteArray(buffer, qMax(0, length)));
    if (r < 0) note(port, QStringLiteral("write failed (%1)").arg(r));
    return r;
}

int TracingSerialLibrary::sio_read(int port, char *buffer, int length)
{
    const int r = m_inner.sio_read(port, buffer, length);
    received(port, buffer, r);
    return r;
}

int TracingSerialLibrary::sio_getch(int port)
{
    const int r = m_inner.sio_getch(port);
    if (r >= 0) {
        const char c = char(r);
        received(port, &c, 1);
    }
    return r;
}

int TracingSerialLibrary::sio_close(int port)
{
    flushReceived(port);
    const int r = m_inner.sio_close(port);
    note(port, QStringLiteral("close"));
    return r;
}

} // namespace zr730
