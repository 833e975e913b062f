// Fuzzes the installation-settings loader with arbitrary INI files. Whatever the file holds,
// the loaded settings must be usable as they are: texts within their length, list choices and
// the port in range, a controller only with what it needs, device paths absolute.
#include <QFile>

#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "support/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // QSettings caches a parsed file by name and trusts it while size and modification time
    // (in milliseconds) look the same, so every input gets a file name of its own.
    static unsigned long long counter = 0;
    const QString path = zr730::fuzz::scratch_dir() + QStringLiteral("/zr730-%1.ini").arg(++counter);
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    }

    const zr730::SettingsLoadResult r = zr730::load_settings(path);
    QFile::remove(path);

    const zr730::InstallationSettings &s = r.settings;
    FUZZ_CHECK(s.logoText.size() <= 18);
    FUZZ_CHECK(s.companyText.size() <= 80);
    FUZZ_CHECK(s.channelPreset100_200 >= 0 && s.channelPreset100_200 <= 2);
    FUZZ_CHECK(s.channelPreset400_499 >= 0 && s.channelPreset400_499 <= 2);
    for (const QString &p : s.extraPorts) FUZZ_CHECK(p.startsWith(QLatin1Char('/')));

    using Kind = zr730::GpibConfig::Kind;
    const auto &g = s.gpib;
    FUZZ_CHECK(g.kind == Kind::None || g.kind == Kind::Lan || g.kind == Kind::Usb || g.kind == Kind::LinuxGpib);
    FUZZ_CHECK(g.port >= 1 && g.port <= 65535);
    FUZZ_CHECK(g.kind != Kind::Lan || !g.host.empty());
    FUZZ_CHECK(g.kind != Kind::Usb || (!g.device.empty() && g.device[0] == '/'));

    FUZZ_CHECK(s.lptDevice.isEmpty() || s.lptDevice == QLatin1String(zr730::kSimulatedLpt)
               || s.lptDevice.startsWith(QLatin1Char('/')));
    for (const QString &problem : r.problems) FUZZ_CHECK(!problem.isEmpty());
    return 0;
}
