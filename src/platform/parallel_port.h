#pragma once
// Port I/O of the parallel-port programmer board: the data register at a base address and the
// status register at base + 1, read and written one byte at a time.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace zr730 {

inline constexpr const char *kParportProcRoot = "/proc/sys/dev/parport";

class PortIo {
public:
    virtual ~PortIo();
    virtual int Inp32(int port) = 0;
    virtual void Out32(int port, int value) = 0;
    // Why the last base could not be reached (no device, no permission …); empty when it could.
    virtual std::string problem() const { return {}; }
};

// The Linux parallel-port device interface (/dev/parportN, ppdev). A base address is matched
// to its device through procRoot/parportN/base-addr, unless `device` names the device to use
// for the first base (888), as for cards at other addresses.
std::unique_ptr<PortIo> make_ppdev_port_io(const std::string &device, const std::string &procRoot = kParportProcRoot);

// The /dev/parportN whose base address is `base`; empty when none.
std::string parport_device_for_base(int base, const std::string &procRoot = kParportProcRoot);

} // namespace zr730
