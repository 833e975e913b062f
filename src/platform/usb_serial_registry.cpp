#include "platform/usb_serial_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "platform/port_table.h"

namespace zr730 {

namespace {

QString read_sys_text(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).trimmed();
}

QString hex4(quint16 v)
{
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}

// Registry names compare without regard to case and without surrounding separators.
QString key_form(const QString &s)
{
    QString k = s;
    while (k.endsWith(QLatin1Char('\\'))) k.chop(1);
    while (k.startsWith(QLatin1Char('\\'))) k.remove(0, 1);
    return k.toUpper();
}

} // namespace

QList<SerialDevice> scan_usb_serial_devices(const QString &sysClassTty, const QString &devFolder)
{
    QList<SerialDevice> found;
    const QDir tty(sysClassTty);
    const QStringList names = tty.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                            QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        // device → the USB interface (or a port below it); its ancestors hold the USB device.
        QString dir = QFileInfo(tty.filePath(name + QStringLiteral("/device"))).canonicalFilePath();
        for (int up = 0; up < 4 && !dir.isEmpty(); ++up) {
            if (QFileInfo::exists(dir + QStringLiteral("/idVendor"))) {
                SerialDevice d;
                d.devicePath = QDir(devFolder).filePath(name);
                d.usbVendorId = quint16(read_sys_text(dir + QStringLiteral("/idVendor")).toUInt(nullptr, 16));
                d.usbProductId = quint16(read_sys_text(dir + QStringLiteral("/idProduct")).toUInt(nullptr, 16));
                d.serial = read_sys_text(dir + QStringLiteral("/serial"));
                found << d;
                break;
            }
            dir = QFileInfo(dir).path();
        }
    }
    return found;
}

UsbSerialRegistry::UsbSerialRegistry(PortTable &ports, AdapterSelection settings,
                                     SerialDeviceSource source, PathExists exists)
    : m_ports(ports), m_settings(settings), m_source(std::move(source)), m_exists(std::move(exists))
{
    if (!m_exists) m_exists = [](const QString &p) { return QFileInfo::exists(p); };
}

QList<UsbSerialRegistry::Instance> UsbSerialRegistry::instances() const
{
    QList<Instance> list;
    QSet<QString> ids;
    const QList<SerialDevice> devices = m_source ? m_source() : QList<SerialDevice>{};
    for (const SerialDevice &d : devices) {
        if (!m_settings.adapterIds.contains(UsbId{d.usbVendorId, d.usbProductId})) continue;
        // Without a serial number, or with one another adapter already has (cheap adapters
        // often share theirs), the instance is named after where the device is.
        const QString place = QFileInfo(d.devicePath).fileName().toUpper();
        QString id = d.serial.isEmpty() ? QStringLiteral("5&LINUX&") + place : d.serial;
        if (ids.contains(id.toUpper())) id += QLatin1Char('&') + place;
        ids.insert(id.toUpper());
        const QString instance = QStringLiteral("USB\\VID_%1&PID_%2\\%3").arg(hex4(d.usbVendorId), hex4(d.usbProductId), id);
        const int port = m_ports.assign(d.devicePath);
        const QString model = d.usbVendorId == 0x067b ? QStringLiteral("Prolific USB-to-Serial Comm Port")
                                                      : QStringLiteral("USB Serial Port");
        list << Instance{instance, d.devicePath, QStringLiteral("%1 (COM%2)").arg(model).arg(port)};
    }
    for (int i = 0; i < m_settings.extraPorts.size(); ++i) {
        const QString &path = m_settings.extraPorts.at(i);
        if (!m_exists(path)) continue;
        const int port = m_ports.assign(path);
        list << Instance{QStringLiteral("ROOT\\SER2PL\\%1").arg(i, 4, 10, QLatin1Char('0')), path,
                         QStringLiteral("Extra Serial Port (COM%1)").arg(port)};
    }
    return list;
}

bool UsbSerialRegistry::keyExists(std::uint32_t root, const QString &subKey) const
{
    const QString key = key_form(subKey);
    if (key.isEmpty()) return root >= kHkeyClassesRoot && root <= kHkeyDynData;
    if (root != kHkeyLocalMachine) return false;
    // A key exists when it is one of the view's keys or lies on the way to one.
    auto onTheWay = [&key](const QString &full) {
        const QString f = key_form(full);
        return f == key || f.startsWith(key + QLatin1Char('\\'));
    };
    if (onTheWay(QLatin1String(kAdapterEnumSubKey))) return true;
    if (onTheWay(QLatin1String(kDeviceEnumSubKey))) return true;
    for (const Instance &i : instances())
        if (onTheWay(QLatin1String(kDeviceEnumSubKey) + QLatin1Char('\\') + i.instancePath)) return true;
    return false;
}

QList<RegistryValue> UsbSerialRegistry::values(std::uint32_t root, const QString &subKey) const
{
    QList<RegistryValue> out;
    if (root != kHkeyLocalMachine) return out;
    const QString key = key_form(subKey);
    const QList<Instance> list = instances();
    auto number = [](const QString &name, int v) {
        QByteArray d(4, '\0');
        for (int b = 0; b < 4; ++b) d[b] = char((v >> (8 * b)) & 0xFF);
        return RegistryValue{name, kRegDword, d};
    };
    if (key == key_form(QLatin1String(kAdapterEnumSubKey))) {
        for (int i = 0; i < list.size(); ++i) out << RegistryValue::string(QString::number(i), list.at(i).instancePath);
        out << number(QStringLiteral("Count"), int(list.size())) << number(QStringLiteral("NextInstance"), int(list.size()));
        return out;
    }
    for (const Instance &i : list) {
        if (key != key_form(QLatin1String(kDeviceEnumSubKey) + QLatin1Char('\\') + i.instancePath)) continue;
        out << RegistryValue::string(QStringLiteral("FriendlyName"), i.friendlyName)
            << RegistryValue::string(QStringLiteral("Service"), QStringLiteral("Ser2pl"))
            << RegistryValue::string(QStringLiteral("PortDevice"), i.devicePath);
        return out;
    }
    return out;
}

} // namespace zr730
