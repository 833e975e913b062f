#include "image/pll.h"

#include <cmath>
#include <cstdio>

namespace zr730 {

std::optional<float> spacing_khz_from_code(int code)
{
    switch (code) {
    case 0: return 5.0f;
    case 1: return 6.25f;
    case 2: return 10.0f;
    case 3: return 12.5f;
    case 4: return 20.0f;
    case 5: return 25.0f;
    case 6: return 2.5f;
    default: return std::nullopt;
    }
}

std::string spacing_caption(float khz)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(khz));
    return std::string(buf) + "KHz";
}

int spacing_step_hz(float khz) { return static_cast<int>(round_even(static_cast<double>(khz) * 1000.0)); }

BandLimits band_limits(std::string_view entry)
{
    auto number = [&](std::size_t from) {
        long long n = 0;
        for (std::size_t k = from; k < from + 3 && k < entry.size(); ++k)
            if (entry[k] >= '0' && entry[k] <= '9') n = n * 10 + (entry[k] - '0');
        return n * 100000;
    };
    return {number(0), number(4)};
}

long long lo_hz(double boxValue, int k)
{
    return round_even((boxValue * 10.0 - kIntermediateHz) * k);
}

std::optional<SpacingChoice> auto_spacing(double boxValue)
{
    if (lo_hz(boxValue, 2) % 25000 == 0) return SpacingChoice{12.5f, 3};
    if (lo_hz(boxValue, 1) % 10000 == 0) return SpacingChoice{10.0f, 2};
    if (lo_hz(boxValue, 4) % 25000 == 0) return SpacingChoice{6.25f, 1};
    if (lo_hz(boxValue, 1) % 5000 == 0) return SpacingChoice{5.0f, 0};
    if (lo_hz(boxValue, 10) % 25000 == 0) return SpacingChoice{2.5f, 6};
    return std::nullopt;
}

GpSpacingResult gp_spacing(double boxValue, int comboIndex)
{
    const long long lo = lo_hz(boxValue, 1);
    switch (comboIndex) {
    case 0:
        return lo % 5000 == 0 ? GpSpacingResult{true, SpacingChoice{2.5f, 6}} : GpSpacingResult{false, {}};
    case 1:
        return lo % 6250 == 0 ? GpSpacingResult{true, SpacingChoice{6.25f, 1}} : GpSpacingResult{false, {}};
    case 2:
        if (lo % 12500 == 0) return {true, SpacingChoice{12.5f, 3}};
        if (lo % 6250 == 0) return {true, SpacingChoice{6.25f, 1}};
        if (lo % 2500 == 0) return {true, SpacingChoice{2.5f, 6}};
        return {false, {}};
    default:
        return {true, std::nullopt};
    }
}

void SetFreqPLL(PagerImage &image, std::uint32_t f, double boxValue, int band, float spacingKhz, int mutl)
{
    std::uint32_t divisor = 10000000;
    std::uint32_t rest = f;
    for (int k = 0; k < 7; ++k) {
        image[kAddrFreqDigits + k] = static_cast<std::uint8_t>(rest / divisor);
        rest %= divisor;
        divisor /= 10;
    }
    const int step = spacing_step_hz(spacingKhz);
    if (step <= 0) return;

    if (band == kBandGp) {
        switch (step) {
        case 12500: image[0x398] = 0x01; image[0x399] = 0xA3; break;
        case 6250: image[0x398] = 0x03; image[0x399] = 0x46; break;
        case 2500: image[0x398] = 0x08; image[0x399] = 0x2F; break;
        default: break;
        }
        image[0x39A] = 0x11;
        const long long n = round_even((boxValue * 10.0 - kIntermediateHz) / step) << 7;
        image[0x39D] = static_cast<std::uint8_t>(n & 0xFF);
        image[0x39C] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
        image[0x39B] = static_cast<std::uint8_t>((n >> 16) & 0xFF);
        image[kAddrRohsMarker] = kRohsGp;
        return;
    }

    const long long n = round_even((static_cast<double>(f) * 10.0 - kIntermediateHz) / step) << 1;
    image[0x39B] = static_cast<std::uint8_t>((n >> 16) & 0xFF);
    image[0x39C] = static_cast<std::uint8_t>((n >> 8) & 0xFF);
    image[0x39D] = static_cast<std::uint8_t>(n & 0xFF);
    const long long r = (round_even(static_cast<double>(mutl) * kReferenceHz / step) << 1) | 1;
    image[0x398] = 0;
    image[0x399] = static_cast<std::uint8_t>((r >> 8) & 0xFF);
    image[0x39A] = static_cast<std::uint8_t>(r & 0xFF);
    image[kAddrRohsMarker] = 0xFF;
}

std::uint32_t word24(const PagerImage &image, int address)
{
    return (static_cast<std::uint32_t>(image[address]) << 16) | (static_cast<std::uint32_t>(image[address + 1]) << 8)
        | image[address + 2];
}

long long frequency_from_n_word(std::uint32_t nWord, float spacingKhz)
{
    return round_even(static_cast<double>(nWord / 2) * static_cast<double>(spacingKhz) * 100.0 + 2140000.0);
}

long long frequency_from_digits(const PagerImage &image)
{
    long long v = 0;
    for (int k = 0; k < 7; ++k) v = v * 10 + image[kAddrFreqDigits + k];
    return v * 10;
}

std::optional<int> band_of_image(const PagerImage &image)
{
    if (image[kAddrRohsMarker] == kRohsGp) return kBandGp;
    switch (image[kAddrFreqDigits]) {
    case 1: return 2;
    case 3:
    case 4: return 1;
    case 9: return 0;
    default: return std::nullopt;
    }
}

long long frequency_of_image(const PagerImage &image)
{
    if (band_of_image(image) == kBandGp) return frequency_from_digits(image);
    const float khz = spacing_khz_from_code(image[kAddrSpacingCode]).value_or(12.5f);
    return frequency_from_n_word(word24(image, kAddrNWord), khz);
}

} // namespace zr730
