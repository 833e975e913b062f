#include "support/settings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace zr730 {

namespace {

// The value of a text key as the user wrote it. QSettings splits an unquoted value at its
// commas ("Kestrane Co., Ltd." becomes two items), so such a value is taken from its line.
QString text_value(QSettings &ini, const QString &key)
{
    const QVariant v = ini.value(key);
    if (v.typeId() != QMetaType::QStringList) return v.toString();
    const QString group = key.section(QLatin1Char('/'), 0, 0);
    const QString name = key.section(QLatin1Char('/'), 1);
    QFile file(ini.fileName());
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QString current;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                current = line.mid(1, line.size() - 2).trimmed();
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (current == group && eq > 0 && line.left(eq).trimmed() == name) return line.mid(eq + 1).trimmed();
        }
    }
    return v.toStringList().join(QStringLiteral(", "));
}

// A list-valued key: accepts one of the given entries, written exactly as the list shows it.
int read_choice(QSettings &ini, const QString &key, const QStringList &entries, int fallback, QStringList &problems)
{
    if (!ini.contains(key)) return fallback;
    const QString v = text_value(ini, key).trimmed();
    const int idx = entries.indexOf(v);
    if (idx >= 0) return idx;
    problems << QStringLiteral("%1 = \"%2\" is not one of %3; \"%4\" is used.")
                    .arg(key, v, entries.join(QStringLiteral(", ")), entries.at(fallback));
    return fallback;
}

QString read_text(QSettings &ini, const QString &key, const QString &fallback, int maxLength, QStringList &problems)
{
    if (!ini.contains(key)) return fallback;
    const QString v = text_value(ini, key);
    if (v.size() > maxLength) {
        problems << QStringLiteral("%1 is longer than %2 characters; \"%3\" is used.").arg(key).arg(maxLength).arg(fallback);
        return fallback;
    }
    return v;
}

// "067b:2303,0403:6001": USB vendor:product ids in hexadecimal.
QList<UsbId> read_usb_ids(QSettings &ini, const QString &key, const QList<UsbId> &fallback, QStringList &problems)
{
    if (!ini.contains(key)) return fallback;
    const QStringList entries = ini.value(key).toStringList();
    QList<UsbId> ids;
    for (const QString &raw : entries) {
        const QString e = raw.trimmed();
        if (e.isEmpty()) continue;
        const QStringList parts = e.split(QLatin1Char(':'));
        bool okV = false, okP = false;
        const uint v = parts.size() == 2 && parts[0].size() <= 4 ? parts[0].toUInt(&okV, 16) : 0;
        const uint p = parts.size() == 2 && parts[1].size() <= 4 ? parts[1].toUInt(&okP, 16) : 0;
        if (!okV || !okP) {
            problems << QStringLiteral("%1: \"%2\" is not a USB id written as vendor:product in hexadecimal "
                                       "(such as 067b:2303); the default is used.").arg(key, e);
            return fallback;
        }
        ids << UsbId{quint16(v), quint16(p)};
    }
    return ids;
}

// A list of absolute device paths.
QStringList read_paths(QSettings &ini, const QString &key, const QStringList &fallback, QStringList &problems)
{
    if (!ini.contains(key)) return fallback;
    QStringList paths;
    for (const QString &raw : ini.value(key).toStringList()) {
        const QString e = raw.trimmed();
        if (e.isEmpty()) continue;
        if (!e.startsWith(QLatin1Char('/'))) {
            problems << QStringLiteral("%1: \"%2\" is not an absolute device path; no extra ports are used.").arg(key, e);
            return fallback;
        }
        paths << e;
    }
    return paths;
}

// The Ledger group: where the programming ledger lives and whether writes look for duplicates.
LedgerSettings read_ledger(QSettings &ini, QStringList &problems)
{
    LedgerSettings l;
    l.server = text_value(ini, QStringLiteral("Ledger/Server")).trimmed();
    if (const QString port = text_value(ini, QStringLiteral("Ledger/Port")).trimmed(); !port.isEmpty()) {
        bool ok = false;
        const int p = port.toInt(&ok);
        if (ok && p >= 1 && p <= 65535)
            l.port = p;
        else
            problems << QStringLiteral("Ledger/Port is not a TCP port number (1 … 65535); 5432 is used.");
    }
    if (const QString db = text_value(ini, QStringLiteral("Ledger/Database")).trimmed(); !db.isEmpty()) l.database = db;
    l.user = text_value(ini, QStringLiteral("Ledger/User")).trimmed();
    l.password = text_value(ini, QStringLiteral("Ledger/Password"));
    l.file = text_value(ini, QStringLiteral("Ledger/File")).trimmed();
    if (!l.file.isEmpty() && !l.file.startsWith(QLatin1Char('/'))) {
        problems << QStringLiteral("Ledger/File = \"%1\" is not an absolute path; the file in your data folder is used.")
                        .arg(l.file);
        l.file.clear();
    }
    l.station = text_value(ini, QStringLiteral("Ledger/Station")).trimmed();
    l.checkDuplicates = read_choice(ini, QStringLiteral("Ledger/CheckDuplicates"), {"false", "true"}, 0, problems) == 1;
    return l;
}

// Gpib/Controller with its host, port or device.
GpibConfig read_gpib(QSettings &ini, QStringList &problems)
{
    GpibConfig g;
    const int kind = read_choice(ini, QStringLiteral("Gpib/Controller"), {"none", "lan", "usb", "linux-gpib"}, 0, problems);
    g.kind = GpibConfig::Kind(kind);
    g.host = text_value(ini, QStringLiteral("Gpib/Host")).trimmed().toStdString();
    g.device = text_value(ini, QStringLiteral("Gpib/Device")).trimmed().toStdString();
    if (ini.contains(QStringLiteral("Gpib/Port"))) {
        bool ok = false;
        const int port = text_value(ini, QStringLiteral("Gpib/Port")).trimmed().toInt(&ok);
        if (ok && port > 0 && port < 65536)
            g.port = port;
        else
            problems << QStringLiteral("Gpib/Port is not a TCP port number (1 … 65535); 1234 is used.");
    }
    if (g.kind == GpibConfig::Kind::Lan && g.host.empty()) {
        problems << QStringLiteral("Gpib/Controller = lan needs Gpib/Host (the gateway's address); no GPIB controller is used.");
        g.kind = GpibConfig::Kind::None;
    }
    if (g.kind == GpibConfig::Kind::Usb && (g.device.empty() || g.device[0] != '/')) {
        problems << QStringLiteral("Gpib/Controller = usb needs Gpib/Device (such as /dev/ttyACM0); no GPIB controller is used.");
        g.kind = GpibConfig::Kind::None;
    }
    return g;
}

} // namespace

SettingsLoadResult load_settings(const QString &iniPath)
{
    SettingsLoadResult r;
    if (!QFileInfo::exists(iniPath)) return r;
    QSettings ini(iniPath, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        r.problems << QStringLiteral("The settings file %1 could not be read; the defaults are used.").arg(iniPath);
        return r;
    }
    InstallationSettings &s = r.settings;
    s.logoText = read_text(ini, QStringLiteral("Logo/Text"), s.logoText, 18, r.problems);
    s.companyText = read_text(ini, QStringLiteral("Company/Text"), s.companyText, 80, r.problems);
    s.channelPreset100_200 = read_choice(ini, QStringLiteral("Spacing/Preset130_180"),
                                         {"5KHz", "6.25KHz", "Auto"}, s.channelPreset100_200, r.problems);
    s.channelPreset400_499 = read_choice(ini, QStringLiteral("Spacing/Preset380_499"),
                                         {"10KHz", "12.5KHz", "Auto"}, s.channelPreset400_499, r.problems);
    s.adapterIds = read_usb_ids(ini, QStringLiteral("Board/AdapterIds"), s.adapterIds, r.problems);
    s.extraPorts = read_paths(ini, QStringLiteral("Board/ExtraPorts"), s.extraPorts, r.problems);
    s.gpib = read_gpib(ini, r.problems);
    s.lptDevice = text_value(ini, QStringLiteral("Lpt/Device")).trimmed();
    if (!s.lptDevice.isEmpty() && s.lptDevice != QLatin1String(kSimulatedLpt) && !s.lptDevice.startsWith(QLatin1Char('/'))) {
        r.problems << QStringLiteral("Lpt/Device = \"%1\" is neither a device path such as /dev/parport0 nor \"%2\"; "
                                     "the port is found by its base address.").arg(s.lptDevice, QLatin1String(kSimulatedLpt));
        s.lptDevice.clear();
    }
    s.lptSimulatedPager = text_value(ini, QStringLiteral("Lpt/SimulatedPager")).trimmed();
    s.traceFile = text_value(ini, QStringLiteral("Trace/File")).trimmed();
    s.ledger = read_ledger(ini, r.problems);
    return r;
}

} // namespace zr730
