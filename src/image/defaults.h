#pragma once
// Factory defaults: the default image, the five prompt sets and the band-0 synthesizer defaults.
#include <array>
#include <cstdint>
#include <string_view>

#include "image/image.h"

namespace zr730 {

inline constexpr int kPromptRecordSize = 20;
inline constexpr int kPromptTextSize = 18;
inline constexpr int kMainPromptCount = 29;
inline constexpr int kExtraPromptCount = 2;
inline constexpr int kPromptCount = kMainPromptCount + kExtraPromptCount;
inline constexpr int kMainPromptBase = 0x100;  // 29 records, 0x100–0x343
inline constexpr int kExtraPromptBase = 0x3B0; // 2 records, 0x3B0–0x3D7
inline constexpr int kMainPromptBlockSize = kMainPromptCount * kPromptRecordSize;   // 580
inline constexpr int kExtraPromptBlockSize = kExtraPromptCount * kPromptRecordSize; // 40

// Image address of prompt record i (0 … 30): the main block, then the two extra records.
constexpr int prompt_address(int i)
{
    return i < kMainPromptCount ? kMainPromptBase + kPromptRecordSize * i
                                : kExtraPromptBase + kPromptRecordSize * (i - kMainPromptCount);
}

// One record as written in the literal table: layout byte, length byte, stored text.
struct PromptSource {
    std::uint8_t layout;
    std::uint8_t length;
    std::string_view text; // Latin-1 bytes, padded with blanks to 18 when built
};

struct PromptSetSource {
    std::string_view language;
    std::array<PromptSource, kPromptCount> records;
};

enum class PromptSetId { English = 0, Spanish = 1, French = 2, German = 3, Russian = 4 };

const std::array<PromptSetSource, 5> &prompt_set_sources();

using PromptRecord = std::array<std::uint8_t, kPromptRecordSize>;

// Record i (0 … 30) of a set as the 20 bytes stored in the image.
PromptRecord prompt_record(PromptSetId set, int i);

// Copies a whole set into the image's two prompt regions.
void copy_prompt_set(PagerImage &image, PromptSetId set);

// Band-0 synthesizer defaults: 0x390–0x397 and 0x398–0x39D.
inline constexpr std::array<std::uint8_t, 8> kBand0Frequency{0x09, 0x03, 0x01, 0x00, 0x01, 0x02, 0x05, 0x03};
inline constexpr std::array<std::uint8_t, 6> kBand0Pll{0x00, 0x28, 0x01, 0x02, 0x38, 0x82};

// The factory default image: blocks A, B (English prompts) and C.
PagerImage default_image();

} // namespace zr730
