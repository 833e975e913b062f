#include "platform/linux_gpib.h"

#include <array>
#include <dlfcn.h>

namespace zr730 {

namespace {
constexpr int kIbstaErr = 0x8000; // ERR bit of ibsta
constexpr int kEnol = 2;          // iberr: no listener on the bus
// ibtmo codes 0 … 17: none, 10 µs, 30 µs, 100 µs … 1000 s, as microseconds.
constexpr std::array<long long, 18> kTimeouts{0,        10,        30,        100,        300,        1000,
                                              3000,     10000,     30000,     100000,     300000,     1000000,
                                              3000000,  10000000,  30000000,  100000000,  300000000,  1000000000};
} // namespace

LinuxGpib::LinuxGpib()
{
    m_lib = dlopen("libgpib.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!m_lib) m_lib = dlopen("libgpib.so", RTLD_NOW | RTLD_LOCAL);
    if (!m_lib) return;
    m_ibdev = reinterpret_cast<decltype(m_ibdev)>(dlsym(m_lib, "ibdev"));
    m_ibwrt = reinterpret_cast<decltype(m_ibwrt)>(dlsym(m_lib, "ibwrt"));
    m_ibtmo = reinterpret_cast<decltype(m_ibtmo)>(dlsym(m_lib, "ibtmo"));
    m_ibonl = reinterpret_cast<decltype(m_ibonl)>(dlsym(m_lib, "ibonl"));
    m_threadIberr = reinterpret_cast<decltype(m_threadIberr)>(dlsym(m_lib, "ThreadIberr"));
    m_iberr = static_cast<int *>(dlsym(m_lib, "iberr"));
    if (!m_ibdev || !m_ibwrt || !m_ibtmo || !m_ibonl) {
        dlclose(m_lib);
        m_lib = nullptr;
    }
}

LinuxGpib::~LinuxGpib()
{
    if (m_lib) dlclose(m_lib);
}

int LinuxGpib::fail(int error, std::string text)
{
    m_errno = error;
    m_errtext = std::move(text);
    return error;
}

int LinuxGpib::libraryError() const
{
    if (m_threadIberr) return m_threadIberr();
    return m_iberr ? *m_iberr : -1;
}

int LinuxGpib::iopen(const std::string &address)
{
    if (!m_lib) {
        fail(kInstNoController, "The linux-gpib library (libgpib.so.0) is not installed.");
        return 0;
    }
    const int pad = gpib_primary_address(address);
    if (pad < 0) {
        fail(kInstBadAddress, "\"" + address + "\" is not a GPIB address (gpib0,0 … gpib0,30).");
        return 0;
    }
    const int ud = m_ibdev(0, pad, 0, 13 /* 10 s until itimeout */, 1 /* EOI */, 0);
    if (ud < 0) {
        fail(kInstConnect, "linux-gpib could not open board 0 (iberr " + std::to_string(libraryError()) + ").");
        return 0;
    }
    return ud + 1; // handles start at 1; 0 is failure
}

int LinuxGpib::iwrite(int handle, const char *data, int length, bool, int &written)
{
    written = 0;
    if (!m_lib || handle <= 0) return fail(kInstBadHandle, "The instrument handle is not open.");
    const int sta = m_ibwrt(handle - 1, data, length);
    if (sta & kIbstaErr) {
        const int e = libraryError();
        return e == kEnol ? fail(kInstNoListener, "No instrument listens at the GPIB address.")
                          : fail(kInstIo, "linux-gpib could not write (iberr " + std::to_string(e) + ").");
    }
    written = length;
    return kInstOk;
}

int LinuxGpib::itimeout(int handle, int ms)
{
    if (!m_lib || handle <= 0) return fail(kInstBadHandle, "The instrument handle is not open.");
    int code = int(kTimeouts.size()) - 1;
    for (int k = 1; k < int(kTimeouts.size()); ++k)
        if (kTimeouts[std::size_t(k)] >= 1000LL * ms) {
            code = k;
            break;
        }
    if (m_ibtmo(handle - 1, code) & kIbstaErr) return fail(kInstIo, "linux-gpib refused the time-out.");
    return kInstOk;
}

int LinuxGpib::iclose(int handle)
{
    if (!m_lib || handle <= 0) return fail(kInstBadHandle, "The instrument handle is not open.");
    m_ibonl(handle - 1, 0);
    return kInstOk;
}

std::string LinuxGpib::igeterrstr(int error) const
{
    if (error == m_errno && !m_errtext.empty()) return m_errtext;
    return "GPIB error " + std::to_string(error) + ".";
}

} // namespace zr730
