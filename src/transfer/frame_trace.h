#pragma once
// The frame trace: every frame sent to and received from the programmer board, one line each,
// with a millisecond time stamp, the direction, and the bytes in hexadecimal and as ASCII.
//   2026-12-09T10:15:02.347Z COM3 >  17  55 AA 00 … |U..|
// It sits between the board link and the serial layer, so the link works exactly as without it.
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <map>

#include "platform/serial_port.h"

namespace zr730 {

class TracingSerialLibrary : public SerialLibrary {
public:
    // Appends to the file at path; ok() tells whether it could be opened.
    TracingSerialLibrary(SerialLibrary &inner, const QString &path);
    ~TracingSerialLibrary() override;
    bool ok() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override { return m_inner.sio_ioctl(port, baud, mode); }
    int sio_flush(int port, int func) override;
    int sio_write(int port, const char *buffer, int length) override;
    int sio_iqueue(int port) override { return m_inner.sio_iqueue(port); }
    int sio_read(int port, char *buffer, int length) override;
    int sio_getch(int port) override;
    int sio_lstatus(int port) override { return m_inner.sio_lstatus(port); }
    int sio_close(int port) override;

private:
    // Bytes received since the last frame sent: written out as one received frame.
    struct Pending {
        QByteArray bytes;
        QString stamp;
    };
    void received(int port, const char *bytes, int length);
    void flushReceived(int port);
    void line(int port, const char *direction, const QByteArray &bytes, const QString &stamp = {});
    void note(int port, const QString &what);

    SerialLibrary &m_inner;
    QFile m_file;
    std::map<int, Pending> m_pending;
};

// One trace line's bytes: hexadecimal, then the printable ones as ASCII between bars.
QString trace_bytes(const QByteArray &bytes);

} // namespace zr730
