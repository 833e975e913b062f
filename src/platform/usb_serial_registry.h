#pragma once
// A read-only registry made from the attached USB-serial adapters, in the layout the board
// search reads:
//   HKLM\SYSTEM\ControlSet001\Services\Ser2pl\Enum
//       "0", "1", … = device instance paths such as "USB\VID_067B&PID_2303\5&1234&0&1"
//       "Count", "NextInstance" (numbers)
//   HKLM\SYSTEM\CurrentControlSet\Enum\<instance path>
//       "FriendlyName" = "… (COMn)", n the device's number in the shared port table
// Adapters count when their USB ids are among the installation's adapter ids; the
// installation's extra ports count while their device path exists.
#include <QList>
#include <QString>

#include <functional>

#include <QStringList>

#include "platform/registry_backend.h"

namespace zr730 {

class PortTable;

// A USB adapter model: vendor and product id.
struct UsbId {
    quint16 vendor = 0;
    quint16 product = 0;
    friend bool operator==(const UsbId &, const UsbId &) = default;
};

// Which serial devices count as programmer-board adapters: USB adapters by their ids, and
// extra device paths while they exist. Taken by reference from the installation settings (or
// anything with the same two members), so later changes count.
struct AdapterSelection {
    template <typename Settings>
    AdapterSelection(const Settings &s) : adapterIds(s.adapterIds), extraPorts(s.extraPorts) {}
    const QList<UsbId> &adapterIds;
    const QStringList &extraPorts;
};

// One serial device of the system.
struct SerialDevice {
    QString devicePath; // "/dev/ttyUSB0"
    quint16 usbVendorId = 0;
    quint16 usbProductId = 0;
    QString serial; // USB serial number; may be empty
};

using SerialDeviceSource = std::function<QList<SerialDevice>()>;

// The USB serial devices of the running system (/sys/class/tty: ttyUSB*, ttyACM*).
QList<SerialDevice> scan_usb_serial_devices(const QString &sysClassTty = QStringLiteral("/sys/class/tty"),
                                            const QString &devFolder = QStringLiteral("/dev"));

inline constexpr const char *kAdapterEnumSubKey = "SYSTEM\\ControlSet001\\Services\\Ser2pl\\Enum";
inline constexpr const char *kDeviceEnumSubKey = "SYSTEM\\CurrentControlSet\\Enum";

class UsbSerialRegistry : public RegistryBackend {
public:
    using PathExists = std::function<bool(const QString &)>;

    // The device list and the existence test are taken afresh at every registry read.
    UsbSerialRegistry(PortTable &ports, AdapterSelection selection,
                      SerialDeviceSource source = [] { return scan_usb_serial_devices(); },
                      PathExists exists = {});

    bool keyExists(std::uint32_t root, const QString &subKey) const override;
    QList<RegistryValue> values(std::uint32_t root, const QString &subKey) const override;

    // One attached adapter as the registry shows it.
    struct Instance {
        QString instancePath;
        QString devicePath;
        QString friendlyName;
    };
    QList<Instance> instances() const;

private:
    PortTable &m_ports;
    AdapterSelection m_settings;
    SerialDeviceSource m_source;
    PathExists m_exists;
};

} // namespace zr730
