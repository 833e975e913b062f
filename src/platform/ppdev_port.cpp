// Parallel-port I/O through /dev/parportN and the ppdev ioctls (never raw port access).
#include "platform/parallel_port.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <map>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zr730 {

PortIo::~PortIo() = default;

std::string parport_device_for_base(int base, const std::string &procRoot)
{
    DIR *dir = opendir(procRoot.c_str());
    if (!dir) return {};
    std::string found;
    while (const dirent *e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.rfind("parport", 0) != 0) continue;
        std::ifstream f(procRoot + "/" + name + "/base-addr");
        long addr = -1;
        if (f >> addr && addr == base) {
            found = "/dev/" + name;
            break;
        }
    }
    closedir(dir);
    return found;
}

namespace {

std::string group_of(const std::string &path)
{
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) return "lp";
    const group *g = getgrgid(st.st_gid);
    return g ? g->gr_name : std::to_string(st.st_gid);
}

class PpdevPortIo : public PortIo {
public:
    PpdevPortIo(std::string device, std::string procRoot) : m_device(std::move(device)), m_procRoot(std::move(procRoot)) {}
    ~PpdevPortIo() override
    {
        for (auto &[base, fd] : m_fds)
            if (fd >= 0) {
                ioctl(fd, PPRELEASE);
                close(fd);
            }
    }

    int Inp32(int port) override
    {
        const int base = port & ~3;
        const int fd = open_base(base);
        unsigned char v = 0xFF; // no port: every line reads high, as an empty socket does
        if (fd < 0) return v;
        if (port == base)
            ioctl(fd, PPRDATA, &v);
        else if (port == base + 1)
            ioctl(fd, PPRSTATUS, &v);
        return v;
    }

    void Out32(int port, int value) override
    {
        const int base = port & ~3;
        const int fd = open_base(base);
        if (fd < 0 || port != base) return;
        unsigned char v = static_cast<unsigned char>(value);
        ioctl(fd, PPWDATA, &v);
    }

    std::string problem() const override { return m_problem; }

private:
    int open_base(int base)
    {
        const auto it = m_fds.find(base);
        if (it != m_fds.end()) return it->second;
        int &fd = m_fds[base];
        fd = -1;
        std::string path = !m_device.empty() ? (base == 888 ? m_device : std::string()) : parport_device_for_base(base, m_procRoot);
        if (path.empty()) {
            if (m_device.empty() && access(m_procRoot.c_str(), F_OK) != 0)
                m_problem = "No parallel port is known to the system: load the kernel modules parport_pc and ppdev "
                            "(sudo modprobe parport_pc ppdev), or name the device with Lpt/Device in the settings file.";
            return fd;
        }
        fd = open(path.c_str(), O_RDWR);
        if (fd < 0) {
            const int e = errno;
            if (e == ENOENT)
                m_problem = path + " does not exist: load the kernel module ppdev (sudo modprobe ppdev).";
            else if (e == EACCES || e == EPERM)
                m_problem = "You may not open " + path + ": add your user to the group \"" + group_of(path)
                            + "\" (sudo adduser $USER " + group_of(path) + ") and log in again.";
            else
                m_problem = path + " could not be opened: " + std::strerror(e) + ".";
            return fd;
        }
        if (ioctl(fd, PPCLAIM) != 0) {
            m_problem = path + " is held by another driver (" + std::strerror(errno)
                        + "): unload the printer driver (sudo rmmod lp) or stop the program using the port.";
            close(fd);
            return fd = -1;
        }
        int forward = 0;
        ioctl(fd, PPDATADIR, &forward);
        m_problem.clear();
        return fd;
    }

    std::string m_device, m_procRoot;
    std::map<int, int> m_fds;
    std::string m_problem;
};

} // namespace

std::unique_ptr<PortIo> make_ppdev_port_io(const std::string &device, const std::string &procRoot)
{
    return std::make_unique<PpdevPortIo>(device, procRoot);
}

} // namespace zr730
