#include "platform/instrument.h"

#include "platform/gpib_controller.h"
#include "platform/linux_gpib.h"

namespace zr730 {

InstrumentLayer::~InstrumentLayer() = default;

namespace {

// No controller configured: every page fails at once, saying what to set.
class NoController : public InstrumentLayer {
public:
    int iopen(const std::string &) override { return 0; }
    int iwrite(int, const char *, int, bool, int &written) override { return written = 0, kInstNoController; }
    int itimeout(int, int) override { return kInstNoController; }
    int iconfirm(int) override { return kInstNoController; }
    int iclose(int) override { return kInstNoController; }
    int siclcleanup() override { return 0; }
    int igeterrno() const override { return kInstNoController; }
    std::string igeterrstr(int) const override
    {
        return "No GPIB controller is configured (Gpib/Controller in the settings file).";
    }
};

} // namespace

std::unique_ptr<InstrumentLayer> make_instrument_layer(const GpibConfig &config)
{
    switch (config.kind) {
    case GpibConfig::Kind::Lan:
    case GpibConfig::Kind::Usb: return std::make_unique<PlusPlusController>(config);
    case GpibConfig::Kind::LinuxGpib: return std::make_unique<LinuxGpib>();
    case GpibConfig::Kind::None: break;
    }
    return std::make_unique<NoController>();
}

int gpib_primary_address(const std::string &address)
{
    const std::string prefix = "gpib0,";
    if (address.compare(0, prefix.size(), prefix) != 0) return -1;
    const std::string n = address.substr(prefix.size());
    if (n.empty() || n.size() > 2) return -1;
    int v = 0;
    for (char c : n) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v <= 30 ? v : -1;
}

std::string plus_plus_escape(const char *data, int length)
{
    std::string out;
    out.reserve(std::size_t(length) + 8);
    for (int k = 0; k < length; ++k) {
        const char c = data[k];
        if (c == '\r' || c == '\n' || c == 27 || c == '+') out.push_back(char(27));
        out.push_back(c);
    }
    return out;
}

} // namespace zr730
