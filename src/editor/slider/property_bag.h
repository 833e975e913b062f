#pragma once
// A small store for a control's persisted properties: named 32-bit values, each read with a
// default when absent and written only when it differs from its default.
#include <cstdint>
#include <map>
#include <string>

namespace zr730 {

class PropertyBag {
public:
    std::int64_t readProperty(const std::string &name, std::int64_t defaultValue) const
    {
        const auto it = m_values.find(name);
        return it == m_values.end() ? defaultValue : it->second;
    }
    void writeProperty(const std::string &name, std::int64_t value, std::int64_t defaultValue)
    {
        if (value == defaultValue)
            m_values.erase(name);
        else
            m_values[name] = value;
    }
    bool contains(const std::string &name) const { return m_values.count(name) != 0; }
    const std::map<std::string, std::int64_t> &values() const { return m_values; }

private:
    std::map<std::string, std::int64_t> m_values;
};

} // namespace zr730
