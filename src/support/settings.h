#pragma once
// Installation settings: values fixed for one workshop's installation, read once at start-up
// from the INI file next to the program.
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/instrument.h"
#include "platform/usb_serial_registry.h"

namespace zr730 {

inline constexpr const char *kSettingsFileName = "zr730.ini";
inline constexpr const char *kSimulatedLpt = "simulated"; // Lpt/Device of the simulated board

// Where the programming ledger lives (group "Ledger").
struct LedgerSettings {
    QString server;               // PostgreSQL host; empty: this station's file only
    int port = 5432;
    QString database = QStringLiteral("zr730");
    QString user;
    QString password;
    QString file;                 // the local SQLite file; empty: the user's data folder
    QString station;              // empty: the host name
    bool checkDuplicates = false; // ask before writing a capcode already in another pager
};

struct InstallationSettings {
    QString logoText = QStringLiteral("VORTEK");
    QString companyText = QStringLiteral("Kestrane Co., Ltd.");
    int channelPreset100_200 = 0; // 0 "5KHz", 1 "6.25KHz", 2 "Auto"
    int channelPreset400_499 = 1; // 0 "10KHz", 1 "12.5KHz", 2 "Auto"
    // Board link: USB-serial adapters that count as programmer-board adapters (default the
    // PL2303 family the adapter driver Ser2pl serves), and further serial device paths that
    // count as attached adapters while they exist (a fixed device, a simulator's terminal).
    QList<UsbId> adapterIds{UsbId{0x067b, 0x2303}, UsbId{0x067b, 0x2304}, UsbId{0x067b, 0x23a3},
                            UsbId{0x067b, 0x23b3}, UsbId{0x067b, 0x23c3}, UsbId{0x067b, 0x23d3},
                            UsbId{0x067b, 0x23e3}, UsbId{0x067b, 0x23f3}};
    QStringList extraPorts;
    // The GPIB controller of the test page ("gpib0").
    GpibConfig gpib;
    // Parallel-port edition: the port device (empty: found by base address), or "simulated"
    // for the built-in simulated board with its pager memory kept in lptSimulatedPager.
    QString lptDevice;
    QString lptSimulatedPager;
    // Every frame to and from the programmer board is logged to this file when set (bug reports).
    QString traceFile;
    LedgerSettings ledger;
};

struct SettingsLoadResult {
    InstallationSettings settings;
    QStringList problems; // one plain sentence per malformed value; its default was used
};

// Reads the INI file; a missing file gives the defaults and no problems.
SettingsLoadResult load_settings(const QString &iniPath);

} // namespace zr730
