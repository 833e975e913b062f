#include "platform/port_table.h"

namespace zr730 {

int PortTable::portOf(const QString &devicePath) const
{
    for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it)
        if (it.value() == devicePath) return it.key();
    return -1;
}

int PortTable::assign(const QString &devicePath)
{
    const int known = portOf(devicePath);
    if (known >= 0) return known;
    int n = 1;
    while (m_paths.contains(n)) ++n;
    m_paths.insert(n, devicePath);
    return n;
}

} // namespace zr730
