#include "transfer/prompt_conversion.h"

#include <array>
#include <span>
#include <utility>

#include "image/defaults.h"

namespace zr730 {

namespace {

using Pair = std::pair<std::uint8_t, std::uint8_t>; // PC code, pager code

constexpr std::array<Pair, 10> kSpanish{{{161, 35}, {199, 91}, {209, 92}, {186, 93}, {170, 94},
                                         {191, 96}, {231, 123}, {241, 124}, {220, 125}, {252, 126}}};
constexpr std::array<Pair, 9> kFrench{{{163, 35}, {224, 64}, {176, 91}, {231, 92}, {167, 93},
                                       {233, 123}, {249, 124}, {232, 125}, {175, 126}}};
constexpr std::array<Pair, 8> kGerman{{{167, 64}, {196, 91}, {214, 92}, {220, 93},
                                       {228, 123}, {246, 124}, {252, 125}, {223, 126}}};
constexpr std::array<Pair, 11> kSwedish{{{163, 35}, {200, 64}, {196, 91}, {214, 92}, {197, 93}, {220, 94},
                                         {233, 96}, {228, 123}, {246, 124}, {229, 125}, {252, 126}}};

std::span<const Pair> table_for(int l)
{
    switch (l & 0x0F) {
    case 5: return kSpanish;
    case 6: return kFrench;
    case 8: return kGerman;
    case 15: return kSwedish;
    default: return {};
    }
}

template <typename Convert>
void convert_prompt_texts(PagerImage &image, Convert convert)
{
    const int l = image[kCharacterSetAddress] & 0x0F;
    for (int i = 0; i < kPromptCount; ++i) {
        const int text = prompt_address(i) + (kPromptRecordSize - kPromptTextSize);
        for (int a = text; a < text + kPromptTextSize; ++a) image[a] = convert(l, image[a]);
    }
}

} // namespace

std::uint8_t char_to_pager(int l, std::uint8_t pc)
{
    for (const auto &[from, to] : table_for(l))
        if (from == pc) return to;
    return pc;
}

std::uint8_t char_to_pc(int l, std::uint8_t pager)
{
    for (const auto &[to, from] : table_for(l))
        if (from == pager) return to;
    return pager;
}

void prompt_to_pager(PagerImage &image) { convert_prompt_texts(image, char_to_pager); }
void prompt_to_pc(PagerImage &image) { convert_prompt_texts(image, char_to_pc); }

} // namespace zr730
