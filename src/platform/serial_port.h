#pragma once
// The serial-port layer the board link relies on: ports are numbered as in COMn and opened
// through the shared port table. Results follow the serial library the link was written for:
// 0 or a count on success, a negative value when the port is not open or has been lost.
#include <QString>

#include <map>
#include <memory>
#include <set>

class QSerialPort;

namespace zr730 {

class PortTable;

inline constexpr int kSioOk = 0;
inline constexpr int kSioBadPort = -1;   // no such port, or not open
inline constexpr int kSioOpenFail = -2;  // the device could not be opened
inline constexpr int kSioBadParm = -3;   // unknown baud or mode code
inline constexpr int kSioPortLost = -4;  // the device went away (adapter pulled, hang-up)
inline constexpr int kSioBaud9600 = 12;  // baud code of 9600 bit/s
inline constexpr int kSioMode8N1 = 3;    // 8 data bits, 1 stop bit, no parity
inline constexpr int kSioFlushBoth = 2;  // sio_flush: both queues

class SerialLibrary {
public:
    virtual ~SerialLibrary();
    virtual int sio_open(int port) = 0;
    virtual int sio_ioctl(int port, int baud, int mode) = 0;
    // func: 0 input queue, 1 output queue, 2 both.
    virtual int sio_flush(int port, int func) = 0;
    // Returns the number of bytes written.
    virtual int sio_write(int port, const char *buffer, int length) = 0;
    // Number of received bytes waiting.
    virtual int sio_iqueue(int port) = 0;
    // Copies up to length waiting bytes; returns how many.
    virtual int sio_read(int port, char *buffer, int length) = 0;
    // The next waiting byte (0..255), or -1 when none is waiting.
    virtual int sio_getch(int port) = 0;
    // Negative when the port is not open.
    virtual int sio_lstatus(int port) = 0;
    virtual int sio_close(int port) = 0;
};

// The serial library over QSerialPort, opening device paths from the port table.
class QtSerialLibrary : public SerialLibrary {
public:
    explicit QtSerialLibrary(const PortTable &ports);
    ~QtSerialLibrary() override;

    int sio_open(int port) override;
    int sio_ioctl(int port, int baud, int mode) override;
    int sio_flush(int port, int func) override;
    int sio_write(int port, const char *buffer, int length) override;
    int sio_iqueue(int port) override;
    int sio_read(int port, char *buffer, int length) override;
    int sio_getch(int port) override;
    int sio_lstatus(int port) override;
    int sio_close(int port) override;

    // The underlying port while open (tests and waits connect to its readyRead).
    QSerialPort *device(int port) const;

private:
    // The open port, or null; lost is set when the device reported a fatal error.
    QSerialPort *usable(int port, int &error) const;

    const PortTable &m_ports;
    std::map<int, std::unique_ptr<QSerialPort>> m_open;
    // Ports whose device went away: closed underneath at once (a hung-up device would wake
    // the event loop without end), still counted open until sio_close.
    std::set<int> m_lost;
};

} // namespace zr730
