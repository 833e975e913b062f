#pragma once
// A GPIB controller that speaks the common "++" command set, reached over TCP (LAN gateways)
// or over a serial device (USB controllers). It is put in controller mode, without automatic
// read-after-write, with EOI on the last byte and no terminator of its own appended; each
// instrument command is sent to the address of its handle.
#include <QIODevice>

#include <map>
#include <memory>

#include "platform/instrument.h"

namespace zr730 {

inline constexpr int kGpibConnectMs = 5000; // never the system's own two-minute connect time-out

class PlusPlusController : public InstrumentLayer {
public:
    explicit PlusPlusController(GpibConfig config);
    ~PlusPlusController() override;

    int iopen(const std::string &address) override;
    int iwrite(int handle, const char *data, int length, bool end, int &written) override;
    int itimeout(int handle, int ms) override;
    int iconfirm(int handle) override;
    int iclose(int handle) override;
    int siclcleanup() override;
    int igeterrno() const override { return m_errno; }
    std::string igeterrstr(int error) const override;

private:
    struct Handle {
        std::unique_ptr<QIODevice> io;
        int address = 0;
        int timeoutMs = 5000;
    };
    std::unique_ptr<QIODevice> connectController();
    // Sends bytes and waits until they have left for the controller.
    bool send(Handle &h, const QByteArray &bytes);
    Handle *find(int handle);
    int fail(int error, std::string text);

    GpibConfig m_config;
    std::map<int, Handle> m_handles;
    int m_next = 1;
    int m_errno = kInstOk;
    std::string m_errtext;
};

} // namespace zr730
