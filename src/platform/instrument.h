#pragma once
// The instrument layer: the calls the test page makes to reach a signal generator on the GPIB
// bus "gpib0", with the same shape as the instrument library they were written for. Handles are
// numbers (0 is failure); the other calls return 0 on success. After a failure, igeterrno
// tells what went wrong and igeterrstr says it in words.
#include <functional>
#include <memory>
#include <string>

namespace zr730 {

// Which controller is "gpib0" (installation settings).
struct GpibConfig {
    enum class Kind { None, Lan, Usb, LinuxGpib };
    Kind kind = Kind::None;
    std::string host;       // Lan: the gateway's host name or address
    int port = 1234;        // Lan: the gateway's TCP port
    std::string device;     // Usb: the controller's serial device, such as /dev/ttyACM0
};

// Error numbers of the layer.
enum InstrumentError {
    kInstOk = 0,
    kInstBadAddress = 1,     // not "gpib0,N" with N = 0 … 30
    kInstNoController = 2,   // no controller configured, or the library is not installed
    kInstConnect = 3,        // the controller could not be reached
    kInstIo = 4,             // writing to the controller failed or timed out
    kInstNoListener = 5,     // no instrument answers at the address
    kInstBadHandle = 6,
};

class InstrumentLayer {
public:
    virtual ~InstrumentLayer();
    virtual int iopen(const std::string &address) = 0;
    virtual int iwrite(int handle, const char *data, int length, bool end, int &written) = 0;
    virtual int itimeout(int handle, int ms) = 0;
    // Makes sure an instrument listens at the handle's address (a controller takes commands
    // for an empty address without complaint).
    virtual int iconfirm(int handle) = 0;
    virtual int iclose(int handle) = 0;
    virtual int siclcleanup() = 0;
    virtual int igeterrno() const = 0;
    virtual std::string igeterrstr(int error) const = 0;

    // Ends every wait for the controller at once when giveUp() holds (the program is ending);
    // the call then fails as a lost connection does.
    void setGiveUp(std::function<bool()> giveUp) { m_giveUp = std::move(giveUp); }

protected:
    bool givingUp() const { return m_giveUp && m_giveUp(); }

private:
    std::function<bool()> m_giveUp;
};

// The layer for the configured controller.
std::unique_ptr<InstrumentLayer> make_instrument_layer(const GpibConfig &config);

// The primary address of "gpib0,N" (N = 0 … 30); -1 when the address is anything else.
int gpib_primary_address(const std::string &address);

// Escapes data for a "++" controller: CR, LF, ESC and '+' are each preceded by ESC; the
// controller command ends with an unescaped LF.
std::string plus_plus_escape(const char *data, int length);

} // namespace zr730
