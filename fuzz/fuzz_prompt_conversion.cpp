// Fuzzes the prompt character conversion and the Windows-1252 table. The input is a pager
// image (padded with zeros to 1024 bytes, its own character set at 0x03A) and, read as 32-bit
// words, a list of characters. Checks: converting to the pager and back changes nothing
// outside the prompt texts and gives back every text byte that is not a pager-side code; every
// table code survives the round trip in every character set; Windows-1252 round-trips.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "image/cp1252.h"
#include "image/prompts.h"
#include "transfer/prompt_conversion.h"

namespace {

// Every byte a character set converts comes back unchanged; the whole code page round-trips.
// These hold for any input, so they are checked once.
bool tables_round_trip()
{
    for (int l = 0; l < 256; ++l) // the character set is 4 bits; higher bits must not matter
        for (int b = 0; b < 256; ++b) {
            const auto pc = std::uint8_t(b);
            const std::uint8_t pager = zr730::char_to_pager(l, pc);
            if (pager != pc) FUZZ_CHECK(zr730::char_to_pc(l, pager) == pc);
            FUZZ_CHECK(pager == zr730::char_to_pager(l & 0x0F, pc));
        }
    for (int b = 0; b < 256; ++b) {
        const auto byte = zr730::unicode_to_cp1252(zr730::cp1252_to_unicode(std::uint8_t(b)));
        FUZZ_CHECK(byte && *byte == b);
    }
    return true;
}

// True when address a is one of the 18 text bytes of a prompt record.
std::array<bool, zr730::kImageSize> text_bytes()
{
    std::array<bool, zr730::kImageSize> inText{};
    for (int i = 0; i < zr730::kPromptCount; ++i) {
        const int text = zr730::prompt_address(i) + zr730::kPromptRecordSize - zr730::kPromptTextSize;
        for (int a = text; a < text + zr730::kPromptTextSize; ++a) inText[std::size_t(a)] = true;
    }
    return inText;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool checkedTables = tables_round_trip();
    static const auto inText = text_bytes();
    (void)checkedTables;

    zr730::PagerImage image;
    std::memcpy(image.bytes().data(), data, std::min<std::size_t>(size, zr730::kImageSize));
    const zr730::PagerImage original = image;
    const int l = image[zr730::kCharacterSetAddress] & 0x0F;

    zr730::prompt_to_pager(image);
    for (int a = 0; a < zr730::kImageSize; ++a) {
        const std::uint8_t b = original[a];
        if (!inText[std::size_t(a)]) FUZZ_CHECK(image[a] == b);
        else FUZZ_CHECK(image[a] == b || image[a] < 0x80); // national letters go to 7-bit codes
    }
    zr730::prompt_to_pc(image);
    for (int a = 0; a < zr730::kImageSize; ++a) {
        const std::uint8_t b = original[a];
        // A text byte comes back unless it is a pager code of the table the pager would
        // read as a national letter (such as '#' in French).
        const bool pagerSideCode = zr730::char_to_pc(l, b) != b;
        if (!inText[std::size_t(a)] || !pagerSideCode) FUZZ_CHECK(image[a] == b);
    }

    // The input read as characters: one the code page has maps back to itself.
    for (std::size_t k = 0; k + 4 <= size; k += 4) {
        char32_t c = 0;
        std::memcpy(&c, data + k, 4);
        if (const auto byte = zr730::unicode_to_cp1252(c)) FUZZ_CHECK(zr730::cp1252_to_unicode(*byte) == c);
    }
    return 0;
}
