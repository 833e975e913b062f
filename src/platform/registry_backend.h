#pragma once
// A read-only registry: keys addressed by a predefined root and a sub-key path, each key
// holding named, typed values in a fixed order.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace zr730 {

// Predefined root keys.
inline constexpr std::uint32_t kHkeyClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kHkeyUsers = 0x80000003u;
inline constexpr std::uint32_t kHkeyPerformanceData = 0x80000004u;
inline constexpr std::uint32_t kHkeyCurrentConfig = 0x80000005u;
inline constexpr std::uint32_t kHkeyDynData = 0x80000006u;

// Value types.
inline constexpr int kRegSz = 1;
inline constexpr int kRegBinary = 3;
inline constexpr int kRegDword = 4;

struct RegistryValue {
    QString name;
    int type = kRegSz;
    QByteArray data; // as stored: a string value ends with its terminating NUL

    static RegistryValue string(const QString &name, const QString &text)
    {
        QByteArray d = text.toLocal8Bit();
        d.append('\0');
        return {name, kRegSz, d};
    }
};

class RegistryBackend {
public:
    virtual ~RegistryBackend();
    // Whether the key exists. An empty sub-key is the root key itself; names are compared
    // without regard to case.
    virtual bool keyExists(std::uint32_t root, const QString &subKey) const = 0;
    // The key's values in their stored order; empty for a missing key.
    virtual QList<RegistryValue> values(std::uint32_t root, const QString &subKey) const = 0;
};

} // namespace zr730
