#include "image/capcodes.h"

#include <cstdio>

namespace zr730 {

std::uint32_t capcode_get(const PagerImage &image, int i)
{
    const int a = kCapcodeBase + 3 * i;
    return ((static_cast<std::uint32_t>(image[a] & 0x7F) * 256u + image[a + 1]) * 256u) + image[a + 2];
}

void capcode_set(PagerImage &image, int i, std::uint32_t v)
{
    const int a = kCapcodeBase + 3 * i;
    image[a] = static_cast<std::uint8_t>((image[a] & 0x80) | ((v >> 16) & 0xFF));
    image[a + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
    image[a + 2] = static_cast<std::uint8_t>(v & 0xFF);
}

bool capcode_enabled(const PagerImage &image, int i) { return (image[kCapcodeBase + 3 * i] & 0x80) != 0; }

std::string capcode_text(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%07u", static_cast<unsigned>(v));
    return buf;
}

FunctionBitSet function_bit_set(int s)
{
    if (s == 3) return {0x35C, 0xEE, 0x38F, 0xED};
    return {0x3A0 + 4 * s, 0x2F + 2 * s, 0x38C + s, 0x38C + s};
}

int display_nibble(const PagerImage &image, const FunctionBitSet &set, int k)
{
    const int a = set.displayAddress + k / 2;
    return (k % 2 == 0) ? image.field_get(a, 4, 4) : image.field_get(a, 0, 4);
}

void set_display_nibble(PagerImage &image, const FunctionBitSet &set, int k, int value)
{
    image.field_set(set.displayAddress + k / 2, k % 2 == 0 ? 4 : 0, value, 4);
}

std::string type_code(int t)
{
    if (t == 0) return "P";
    if (t == 255) return "G";
    if (t < 2) return "?"; // t − 2 is negative: a value the program never writes
    const int v = t - 2;   // one or two upper-case hexadecimal digits
    std::string s;
    if (v >= 16) s += "0123456789ABCDEF"[v >> 4];
    s += "0123456789ABCDEF"[v & 15];
    return s;
}

std::string type_summary(const PagerImage &image, const FunctionBitSet &set)
{
    std::string s;
    for (int k = 0; k < 4; ++k)
        s += type_code(image[set.typeAddress + k]);
    return s;
}

std::string display_summary(PagerImage &image, const FunctionBitSet &set)
{
    std::string s;
    for (int k = 0; k < 4; ++k) {
        int v = display_nibble(image, set, k);
        if (v > 4) {
            set_display_nibble(image, set, k, 2);
            v = 2;
        }
        s += v == 0 ? 'N' : v == 1 ? 'P' : v == 2 ? 'A' : 'I';
    }
    return s;
}

std::string priority_summary(const PagerImage &image, const FunctionBitSet &set)
{
    std::string s;
    for (int bit = 7; bit >= 4; --bit) s += image.field_get(set.priorityAddress, bit, 1) ? 'v' : '-';
    return s;
}

std::string enable_summary(const PagerImage &image, const FunctionBitSet &set)
{
    std::string s;
    for (int bit = 0; bit <= 3; ++bit) s += image.field_get(set.enableAddress, bit, 1) ? 'v' : '-';
    return s;
}

bool set_disabled(const PagerImage &image, const FunctionBitSet &set)
{
    return image.field_get(set.enableAddress, 0, 4) == 0;
}

} // namespace zr730
