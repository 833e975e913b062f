// Registry paths and reads over a fake registry, and the registry view of the attached
// USB-serial adapters built from a fake device list; the board-link installation settings.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

#include "platform/port_table.h"
#include "platform/registry_backend.h"
#include "platform/usb_serial_registry.h"
#include "support/registry_access.h"
#include "support/settings.h"
#include "transfer/serial_link.h"

using namespace zr730;

namespace {

// A registry held in a map: (root, upper-cased sub-key) → values.
class FakeRegistry : public RegistryBackend {
public:
    void addKey(std::uint32_t root, const QString &subKey, QList<RegistryValue> values = {})
    {
        m_keys[{root, subKey.toUpper()}] = std::move(values);
    }
    bool keyExists(std::uint32_t root, const QString &subKey) const override
    {
        ++opens;
        if (subKey.isEmpty()) return root >= kHkeyClassesRoot && root <= kHkeyDynData;
        return m_keys.count({root, subKey.toUpper()}) > 0;
    }
    QList<RegistryValue> values(std::uint32_t root, const QString &subKey) const override
    {
        const auto it = m_keys.find({root, subKey.toUpper()});
        return it == m_keys.end() ? QList<RegistryValue>{} : it->second;
    }
    mutable int opens = 0;

private:
    std::map<std::pair<std::uint32_t, QString>, QList<RegistryValue>> m_keys;
};

RegistryValue dword(const QString &name, int v)
{
    return {name, kRegDword, QByteArray(reinterpret_cast<const char *>(&v), 4)};
}

} // namespace

class TestRegistryAccess : public QObject {
    Q_OBJECT
private:
    FakeRegistry m_reg;

private slots:
    void initTestCase()
    {
        m_reg.addKey(kHkeyLocalMachine, QStringLiteral("SOFTWARE"),
                     {RegistryValue::string(QStringLiteral("Vendor"), QStringLiteral("  Kestrane  "))});
        m_reg.addKey(kHkeyCurrentUser, QStringLiteral("Console"),
                     {RegistryValue::string(QStringLiteral("Font"), QStringLiteral("Fixed"))});
        m_reg.addKey(kHkeyLocalMachine, QStringLiteral("Numbers"), {dword(QStringLiteral("A"), 1), dword(QStringLiteral("B"), 2)});
        m_reg.addKey(kHkeyLocalMachine, QStringLiteral("Long"),
                     {RegistryValue::string(QStringLiteral("Fits"), QString(254, QLatin1Char('x'))),
                      RegistryValue::string(QStringLiteral("TooLong"), QString(255, QLatin1Char('y')))});
        m_reg.addKey(kHkeyLocalMachine, QStringLiteral("Mixed"),
                     {RegistryValue::string(QStringLiteral(" First "), QStringLiteral("one")), dword(QStringLiteral("N"), 7),
                      RegistryValue::string(QStringLiteral("Second"), QStringLiteral(" two "))});
    }

    void longAndShortRootNamesAddressTheSameKey()
    {
        RegistryAccess r(m_reg);
        QCOMPARE(r.readString(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE"), QStringLiteral("Vendor"), QStringLiteral("-")),
                 QStringLiteral("Kestrane"));
        QCOMPARE(r.readString(QStringLiteral("HKLM\\SOFTWARE"), QStringLiteral("Vendor"), QStringLiteral("-")),
                 QStringLiteral("Kestrane"));
        QCOMPARE(r.readString(QStringLiteral("HKEY_CURRENT_USER\\Console"), QStringLiteral("Font"), QString()),
                 QStringLiteral("Fixed"));
    }
    void lowerCaseRootWordWorksButLowerCaseLongNameDoesNot()
    {
        RegistryAccess r(m_reg);
        QCOMPARE(r.readString(QStringLiteral("hklm\\SOFTWARE"), QStringLiteral("Vendor"), QStringLiteral("-")),
                 QStringLiteral("Kestrane"));
        QCOMPARE(r.readString(QStringLiteral("hkey_local_machine\\SOFTWARE"), QStringLiteral("Vendor"), QStringLiteral("-")),
                 QStringLiteral("-"));
    }
    void pathParsingTakesFourLetterRootAndEverythingAfterTheFirstBackslash()
    {
        auto p = RegistryAccess::parsePath(QStringLiteral("HKEY_DYN_DATA\\a\\b"));
        QCOMPARE(p.root, kHkeyDynData);
        QCOMPARE(p.subKey, QStringLiteral("a\\b"));
        p = RegistryAccess::parsePath(QStringLiteral("hkus"));
        QCOMPARE(p.root, kHkeyUsers);
        QVERIFY(p.subKey.isEmpty());
        QCOMPARE(RegistryAccess::parsePath(QStringLiteral("HKXX\\a")).root, std::uint32_t(0));
        QCOMPARE(RegistryAccess::parsePath(QStringLiteral("HKLMX")).root, std::uint32_t(0));
    }
    void pathWithoutBackslashAddressesTheRootKey()
    {
        RegistryAccess r(m_reg);
        QStringList names{QStringLiteral("old")}, values;
        QCOMPARE(r.enumValues(QStringLiteral("HKLM"), names, values, -1), 0);
        QVERIFY(names.isEmpty());
        QVERIFY(values.isEmpty());
    }
    void unknownRootOrMissingKeyGivesMinusOneAndOneEmptyValue()
    {
        RegistryAccess r(m_reg);
        QStringList names{QStringLiteral("kept")}, values{QStringLiteral("a"), QStringLiteral("b")};
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Missing"), names, values, -1), -1);
        QCOMPARE(names, QStringList{QStringLiteral("kept")});
        QCOMPARE(values, QStringList{QString()});
        QCOMPARE(r.enumValues(QStringLiteral("HKZZ\\SOFTWARE"), names, values, -1), -1);
        QCOMPARE(r.readString(QStringLiteral("HKLM\\Missing"), QStringLiteral("x"), QStringLiteral("dflt")), QStringLiteral("dflt"));
        QCOMPARE(r.readString(QStringLiteral("HKLM\\SOFTWARE"), QStringLiteral("NoSuchValue"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    }
    void numericOnlyKeyEnumeratesNothing()
    {
        RegistryAccess r(m_reg);
        QStringList names{QStringLiteral("x")}, values{QStringLiteral("y")};
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Numbers"), names, values, -1), 0);
        QVERIFY(names.isEmpty());
        QVERIFY(values.isEmpty());
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Numbers"), names, values, kRegDword), 0);
    }
    void enumerationKeepsStringValuesInOrderTrimmed()
    {
        RegistryAccess r(m_reg);
        QStringList names, values;
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Mixed"), names, values, -1), 2);
        QCOMPARE(names, (QStringList{QStringLiteral("First"), QStringLiteral("Second")}));
        QCOMPARE(values, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Mixed"), names, values, kRegSz), 2);
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\Mixed"), names, values, kRegBinary), 0);
    }
    void valueLongerThanTheBufferReadsAsTheDefault()
    {
        RegistryAccess r(m_reg);
        QCOMPARE(r.readString(QStringLiteral("HKLM\\Long"), QStringLiteral("Fits"), QStringLiteral("d")).size(), 254);
        QCOMPARE(r.readString(QStringLiteral("HKLM\\Long"), QStringLiteral("TooLong"), QStringLiteral("d")), QStringLiteral("d"));
    }

    // --- the adapter view ---
    void viewListsMatchingAdaptersWithTheirComPorts()
    {
        PortTable ports;
        InstallationSettings s; // default adapter ids: 067b:2303
        const QList<SerialDevice> devices{
            {QStringLiteral("/dev/ttyUSB0"), 0x0403, 0x6001, QStringLiteral("FT1")}, // another make: not counted
            {QStringLiteral("/dev/ttyUSB1"), 0x067b, 0x2303, QString()},
            {QStringLiteral("/dev/ttyUSB2"), 0x067b, 0x2303, QStringLiteral("SN42")},
        };
        UsbSerialRegistry view(ports, s, [&] { return devices; });
        RegistryAccess r(view);
        QStringList names, values;
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 2);
        QCOMPARE(names, (QStringList{QStringLiteral("0"), QStringLiteral("1")}));
        QCOMPARE(values, (QStringList{QStringLiteral("USB\\VID_067B&PID_2303\\5&LINUX&TTYUSB1"),
                                      QStringLiteral("USB\\VID_067B&PID_2303\\SN42")}));
        const QString name0 = r.readString(QLatin1String(kDeviceEnumPath) + values[0], QStringLiteral("FriendlyName"), QString());
        const QString name1 = r.readString(QLatin1String(kDeviceEnumPath) + values[1], QStringLiteral("FriendlyName"), QString());
        QVERIFY(name0.endsWith(QStringLiteral("(COM%1)").arg(ports.portOf(QStringLiteral("/dev/ttyUSB1")))));
        QCOMPARE(port_from_friendly_name(name1), ports.portOf(QStringLiteral("/dev/ttyUSB2")));
        QVERIFY(port_from_friendly_name(name0) != port_from_friendly_name(name1));
        QCOMPARE(ports.portOf(QStringLiteral("/dev/ttyUSB0")), -1);
        // Key names are not case-sensitive, and the keys on the way exist.
        QCOMPARE(r.readString(QStringLiteral("hklm\\system\\currentcontrolset\\enum\\") + values[1].toLower(),
                              QStringLiteral("friendlyname"), QString()), name1);
        QCOMPARE(r.enumValues(QStringLiteral("HKLM\\SYSTEM\\ControlSet001"), names, values, -1), 0);
    }
    void adaptersSharingASerialNumberGetTheirOwnPorts()
    {
        PortTable ports;
        InstallationSettings s;
        const QList<SerialDevice> devices{
            {QStringLiteral("/dev/ttyUSB0"), 0x067b, 0x23a3, QStringLiteral("0123")},
            {QStringLiteral("/dev/ttyUSB1"), 0x067b, 0x23a3, QStringLiteral("0123")},
        };
        UsbSerialRegistry view(ports, s, [&] { return devices; });
        RegistryAccess r(view);
        QStringList names, values;
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 2);
        QVERIFY(values[0] != values[1]);
        QList<int> found;
        for (const QString &v : values)
            found << port_from_friendly_name(
                r.readString(QLatin1String(kDeviceEnumPath) + v, QStringLiteral("FriendlyName"), QString()));
        QCOMPARE(found, (QList<int>{ports.portOf(QStringLiteral("/dev/ttyUSB0")), ports.portOf(QStringLiteral("/dev/ttyUSB1"))}));
        QVERIFY(found[0] != found[1]);
    }
    void portNumbersStayWithTheirDevicesAcrossLooks()
    {
        PortTable ports;
        InstallationSettings s;
        QList<SerialDevice> devices{{QStringLiteral("/dev/ttyUSB3"), 0x067b, 0x2303, QStringLiteral("A")}};
        UsbSerialRegistry view(ports, s, [&] { return devices; });
        RegistryAccess r(view);
        QStringList names, values;
        r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1);
        const int first = ports.portOf(QStringLiteral("/dev/ttyUSB3"));
        devices.prepend({QStringLiteral("/dev/ttyUSB0"), 0x067b, 0x2303, QStringLiteral("B")});
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 2);
        QCOMPARE(ports.portOf(QStringLiteral("/dev/ttyUSB3")), first);
    }
    void noAdapterLeavesTheEnumKeyWithoutStringValues()
    {
        PortTable ports;
        InstallationSettings s;
        UsbSerialRegistry view(ports, s, [] { return QList<SerialDevice>{}; });
        RegistryAccess r(view);
        QStringList names, values;
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 0);
        QVERIFY(values.isEmpty());
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, kRegDword), 0);
    }
    void extraPortsCountOnlyWhileTheirPathExists()
    {
        PortTable ports;
        InstallationSettings s;
        s.adapterIds = {UsbId{0x0403, 0x6001}};
        s.extraPorts = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/tmp/board")};
        QSet<QString> present{QStringLiteral("/tmp/board")};
        const QList<SerialDevice> devices{{QStringLiteral("/dev/ttyUSB0"), 0x0403, 0x6001, QStringLiteral("FT1")}};
        UsbSerialRegistry view(ports, s, [&] { return devices; }, [&](const QString &p) { return present.contains(p); });
        RegistryAccess r(view);
        QStringList names, values;
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 2);
        QCOMPARE(values.at(1), QStringLiteral("ROOT\\SER2PL\\0001"));
        const QString name = r.readString(QLatin1String(kDeviceEnumPath) + values.at(1), QStringLiteral("FriendlyName"), QString());
        QCOMPARE(port_from_friendly_name(name), ports.portOf(QStringLiteral("/tmp/board")));
        present.clear();
        QCOMPARE(r.enumValues(QLatin1String(kAdapterEnumPath), names, values, -1), 1);
        QCOMPARE(r.readString(QLatin1String(kDeviceEnumPath) + QStringLiteral("ROOT\\SER2PL\\0001"),
                              QStringLiteral("FriendlyName"), QStringLiteral("gone")), QStringLiteral("gone"));
    }
    void sysfsScanFindsUsbTtysAndTheirIds()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QDir root(dir.path());
        // devices/usb1/1-1 (USB device) / 1-1:1.0 (interface) / ttyUSB0
        const QString dev = QStringLiteral("devices/usb1/1-1");
        QVERIFY(root.mkpath(dev + QStringLiteral("/1-1:1.0/ttyUSB0")));
        QVERIFY(root.mkpath(dev + QStringLiteral("/1-1:1.1")));
        auto put = [&](const QString &rel, const QByteArray &text) {
            QFile f(root.filePath(rel));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        };
        put(dev + QStringLiteral("/idVendor"), "067b\n");
        put(dev + QStringLiteral("/idProduct"), "2303\n");
        put(dev + QStringLiteral("/serial"), "XY9\n");
        QVERIFY(root.mkpath(QStringLiteral("class/tty/ttyUSB0")));
        QVERIFY(root.mkpath(QStringLiteral("class/tty/ttyACM0")));
        QVERIFY(root.mkpath(QStringLiteral("class/tty/tty1")));
        QVERIFY(QFile::link(root.filePath(dev + QStringLiteral("/1-1:1.0/ttyUSB0")), root.filePath(QStringLiteral("class/tty/ttyUSB0/device"))));
        QVERIFY(QFile::link(root.filePath(dev + QStringLiteral("/1-1:1.1")), root.filePath(QStringLiteral("class/tty/ttyACM0/device"))));
        const auto found = scan_usb_serial_devices(root.filePath(QStringLiteral("class/tty")), QStringLiteral("/dev"));
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].devicePath, QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(found[1].devicePath, QStringLiteral("/dev/ttyUSB0"));
        for (const auto &d : found) {
            QCOMPARE(d.usbVendorId, quint16(0x067b));
            QCOMPARE(d.usbProductId, quint16(0x2303));
            QCOMPARE(d.serial, QStringLiteral("XY9"));
        }
    }

    // --- installation settings of the board link ---
    void boardSettingsAreReadFromTheIniFile()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("zr730.ini"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Board]\nAdapterIds=067b:2303, 0403:6001\nExtraPorts=/tmp/zr730-board, /dev/ttyS1\n");
        f.close();
        const auto r = load_settings(ini);
        QVERIFY(r.problems.isEmpty());
        QCOMPARE(r.settings.adapterIds, (QList<UsbId>{UsbId{0x067b, 0x2303}, UsbId{0x0403, 0x6001}}));
        QCOMPARE(r.settings.extraPorts, (QStringList{QStringLiteral("/tmp/zr730-board"), QStringLiteral("/dev/ttyS1")}));
    }
    void malformedBoardSettingsAreReportedAndDefaulted()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("zr730.ini"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Board]\nAdapterIds=067b-2303\nExtraPorts=ttyUSB0\n");
        f.close();
        const auto r = load_settings(ini);
        QCOMPARE(r.problems.size(), 2);
        QVERIFY(r.problems[0].contains(QStringLiteral("Board/AdapterIds")));
        QVERIFY(r.problems[1].contains(QStringLiteral("Board/ExtraPorts")));
        QCOMPARE(r.settings.adapterIds, InstallationSettings{}.adapterIds);
        QVERIFY(r.settings.extraPorts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRegistryAccess)
#include "test_registry_access.moc"
