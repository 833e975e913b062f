#pragma once
// Port numbers (the n of "COMn") mapped to device paths. The registry view of the attached
// USB-serial adapters fills it; the serial layer opens ports by it.
#include <QMap>
#include <QString>

namespace zr730 {

class PortTable {
public:
    // Gives path a port number: the one it already has, else the lowest free number from 1.
    int assign(const QString &devicePath);
    void set(int port, const QString &devicePath) { m_paths.insert(port, devicePath); }
    QString devicePath(int port) const { return m_paths.value(port); }
    int portOf(const QString &devicePath) const; // -1 when not listed
    QList<int> ports() const { return m_paths.keys(); }
    void clear() { m_paths.clear(); }

private:
    QMap<int, QString> m_paths;
};

} // namespace zr730
