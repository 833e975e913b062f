#include "image/image.h"

namespace zr730 {

namespace {
constexpr unsigned mask(int width) { return (1u << width) - 1u; }
} // namespace

std::uint8_t PagerImage::field_get(int address, int bit, int width) const
{
    return static_cast<std::uint8_t>(((*this)[address] >> bit) & mask(width));
}

void PagerImage::field_set(int address, int bit, int value, int width)
{
    std::uint8_t &b = (*this)[address];
    const auto fieldMask = static_cast<std::uint8_t>(mask(width) << bit);
    const auto shifted = static_cast<std::uint8_t>(static_cast<unsigned>(value) << bit);
    b = static_cast<std::uint8_t>((b & ~fieldMask) | (shifted & fieldMask));
}

} // namespace zr730
