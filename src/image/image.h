#pragma once
// The pager memory image: a byte-for-byte copy of the pager's configuration EEPROM.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zr730 {

inline constexpr int kImageSize = 1024;
inline constexpr int kImageLastIndex = kImageSize - 1;

using ImageBytes = std::array<std::uint8_t, kImageSize>;

class PagerImage {
public:
    PagerImage() { m_bytes.fill(0); }

    std::uint8_t &operator[](int address) { return m_bytes.at(static_cast<std::size_t>(address)); }
    std::uint8_t operator[](int address) const { return m_bytes.at(static_cast<std::size_t>(address)); }

    // Bits bit … bit+width-1 of the byte at address, bit 0 the least significant.
    std::uint8_t field_get(int address, int bit, int width) const;
    // Argument order as every editor uses it: address, bit, value, width.
    void field_set(int address, int bit, int value, int width);

    ImageBytes &bytes() { return m_bytes; }
    const ImageBytes &bytes() const { return m_bytes; }

    bool operator==(const PagerImage &) const = default;

private:
    ImageBytes m_bytes;
};

} // namespace zr730
