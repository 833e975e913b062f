#include "support/registry_access.h"

#include "platform/registry_backend.h"

namespace zr730 {

RegistryBackend::~RegistryBackend() = default;

namespace {

constexpr int kBufferSize = 255;

// VB-style Trim: blanks only.
QString trim_blanks(const QString &s)
{
    int b = 0, e = s.size();
    while (b < e && s.at(b) == QLatin1Char(' ')) ++b;
    while (e > b && s.at(e - 1) == QLatin1Char(' ')) --e;
    return s.mid(b, e - b);
}

} // namespace

RegistryAccess::RegistryAccess(const RegistryBackend &backend) : m_backend(backend) {}

RegistryAccess::ParsedPath RegistryAccess::parsePath(const QString &path)
{
    static const std::pair<const char *, const char *> longNames[] = {
        {"HKEY_CURRENT_USER", "HKCU"},   {"HKEY_LOCAL_MACHINE", "HKLM"},
        {"HKEY_CLASSES_ROOT", "HKCR"},   {"HKEY_USERS", "HKUS"},
        {"HKEY_PERFORMANCE_DATA", "HKPD"}, {"HKEY_DYN_DATA", "HKDD"},
        {"HKEY_CURRENT_CONFIG", "HKCC"},
    };
    static const std::pair<const char *, std::uint32_t> roots[] = {
        {"HKCR", kHkeyClassesRoot}, {"HKCU", kHkeyCurrentUser},     {"HKLM", kHkeyLocalMachine},
        {"HKUS", kHkeyUsers},       {"HKPD", kHkeyPerformanceData}, {"HKCC", kHkeyCurrentConfig},
        {"HKDD", kHkeyDynData},
    };
    QString p = path;
    for (const auto &[from, to] : longNames)
        p.replace(QLatin1String(from), QLatin1String(to), Qt::CaseSensitive);

    ParsedPath r;
    QString word;
    const int slash = p.indexOf(QLatin1Char('\\'));
    if (slash >= 0) {
        word = p.left(4).toUpper();
        r.subKey = p.mid(slash + 1);
    } else {
        word = p.toUpper();
    }
    for (const auto &[name, key] : roots)
        if (word == QLatin1String(name)) r.root = key;
    return r;
}

QString RegistryAccess::readString(const QString &path, const QString &valueName, const QString &defaultText) const
{
    const ParsedPath k = parsePath(path);
    if (k.root == 0 || !m_backend.keyExists(k.root, k.subKey)) return defaultText;
    for (const RegistryValue &v : m_backend.values(k.root, k.subKey)) {
        if (v.name.compare(valueName, Qt::CaseInsensitive) != 0) continue;
        // The query fails when the data does not fit the buffer.
        const int returned = int(v.data.size());
        if (returned > kBufferSize) return defaultText;
        return trim_blanks(QString::fromLocal8Bit(v.data.left(qMax(0, returned - 1))));
    }
    return defaultText;
}

int RegistryAccess::enumValues(const QString &path, QStringList &names, QStringList &values, int typeFilter) const
{
    const ParsedPath k = parsePath(path);
    values = QStringList{QString()};
    if (k.root == 0 || !m_backend.keyExists(k.root, k.subKey)) return -1;
    names.clear();
    values.clear();
    for (const RegistryValue &v : m_backend.values(k.root, k.subKey)) {
        if (typeFilter != -1 && v.type != typeFilter) continue;
        if (v.type != kRegSz) continue;
        names << trim_blanks(v.name);
        values << readString(path, v.name, QString());
    }
    return int(names.size());
}

} // namespace zr730
