#pragma once
// Frequency, channel spacing and synthesizer (PLL) word arithmetic of the four receiver bands.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/image.h"
#include "image/rounding.h"

namespace zr730 {

inline constexpr int kBandCount = 4;
inline constexpr int kBandGp = 3; // "130-180MHz-GP(RoHS)"
inline constexpr std::array<std::string_view, kBandCount> kBandEntries{
    "929-932MHz", "380-499MHz", "130-180MHz", "130-180MHz-GP(RoHS)"};
inline constexpr std::array<int, kBandCount> kBandMutl{5, 3, 2, 1};

inline constexpr int kIntermediateHz = 21400000;
inline constexpr int kReferenceHz = 12800000;

// Image addresses of the band's bytes.
inline constexpr int kAddrFreqModBit = 0x036; // bit 0
inline constexpr int kAddrBandType = 0x041;
inline constexpr int kAddrFreqDigits = 0x390; // seven digits, 100 MHz digit first
inline constexpr int kAddrSpacingCode = 0x397;
inline constexpr int kAddrRWord = 0x398;
inline constexpr int kAddrNWord = 0x39B;
inline constexpr int kAddrRohsMarker = 0x3F8;
inline constexpr std::uint8_t kRohsGp = 0xAA;

// Spacing code (0x397) → kHz; nothing for codes that have no spacing.
std::optional<float> spacing_khz_from_code(int code);
// "5KHz", "6.25KHz", "12.5KHz", "20KHz": the shortest decimal text and "KHz".
std::string spacing_caption(float khz);
// Step in Hz: kHz × 1000 rounded.
int spacing_step_hz(float khz);

struct BandLimits { long long lower; long long upper; };
// Limits read from the band entry: characters 1–3 and 5–7, each × 100000.
BandLimits band_limits(std::string_view entry);

// Writes frequency digits, R and N words and the RoHS marker.
// f is the whole-number frequency (10 Hz units); boxValue the frequency box read as a real
// number, which band 3 uses for its N word.
void SetFreqPLL(PagerImage &image, std::uint32_t f, double boxValue, int band, float spacingKhz, int mutl);

// LO(k): (value × 10 − 21 400 000) × k rounded to a whole number, ties to even.
long long lo_hz(double boxValue, int k = 1);

struct SpacingChoice { float khz; int code; };
// The automatic spacing of bands 1 and 2: the first candidate whose raster holds the LO.
std::optional<SpacingChoice> auto_spacing(double boxValue);
// Band 3 by the selected entry of its spacing list (0 "5KHz", 1 "6.25KHz", 2 "Auto").
// Returns the error flag in `ok`; nothing chosen means the spacing is kept.
struct GpSpacingResult { bool ok; std::optional<SpacingChoice> choice; };
GpSpacingResult gp_spacing(double boxValue, int comboIndex);

// 24-bit words at the given address, most significant byte first.
std::uint32_t word24(const PagerImage &image, int address);
// The frequency shown for bands 0–2: (N \ 2) × spacing × 100 + 2 140 000.
long long frequency_from_n_word(std::uint32_t nWord, float spacingKhz);
// The frequency shown for band 3: the seven digits read as one number × 10.
long long frequency_from_digits(const PagerImage &image);

// The band an image belongs to: 3 by its RoHS marker, else by its 100 MHz digit (9 → 0,
// 3 or 4 → 1, 1 → 2); none when the digit names no band.
std::optional<int> band_of_image(const PagerImage &image);
// The frequency the image holds, as the frequency box shows it (10 Hz units): band 3 from its
// digits, the others from the N word and the stored spacing (12.5 kHz when the code has none).
long long frequency_of_image(const PagerImage &image);

} // namespace zr730
