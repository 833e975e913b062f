#pragma once
// Read access to the registry by one path string, such as
// "HKLM\SYSTEM\ControlSet001\Services\Ser2pl\Enum".
#include <QString>
#include <QStringList>

#include <cstdint>

namespace zr730 {

class RegistryBackend;

class RegistryAccess {
public:
    explicit RegistryAccess(const RegistryBackend &backend);

    // The trimmed text of a string value, or defaultText when the key or value is missing
    // or the value does not fit the 255-character buffer.
    QString readString(const QString &path, const QString &valueName, const QString &defaultText) const;

    // Fills names and values with the key's string values (typeFilter: a value type, -1 for
    // all) and returns their number. When the key cannot be opened: -1, names untouched,
    // values a single empty element.
    int enumValues(const QString &path, QStringList &names, QStringList &values, int typeFilter) const;

    // Only the writing operations look at it; kept for their sake.
    bool createKeyIfMissing = true;

    // Root key and sub-key of a path; root 0 when the root word is not recognised.
    struct ParsedPath {
        std::uint32_t root = 0;
        QString subKey;
    };
    static ParsedPath parsePath(const QString &path);

private:
    const RegistryBackend &m_backend;
};

} // namespace zr730
