// Fuzzes the field-descriptor parser with arbitrary tag strings, then uses every accepted
// descriptor as the window does: field_set and field_get on an image. Checks that an accepted
// field lies inside the image and inside its byte, that writing it touches no other bit, that
// reading gives back what was written, and that the tag's parts are the text between commas.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "image/descriptor.h"
#include "image/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view tag(reinterpret_cast<const char *>(data), size);

    const auto parts = zr730::split_tag(tag);
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i ? "," : "") + parts[i];
    FUZZ_CHECK(joined == tag);

    const auto d = zr730::parse_descriptor(tag);
    if (!d) return 0;
    FUZZ_CHECK(parts.size() >= 4);
    FUZZ_CHECK(d->address >= 0 && d->address <= zr730::kImageLastIndex);
    FUZZ_CHECK(d->bit >= 0 && d->width >= 1 && d->bit + d->width <= 8);
    FUZZ_CHECK(d->kindWord == parts[3] && d->kind == zr730::kind_from_word(d->kindWord));

    // The same field written in the canonical form parses to the same descriptor.
    char canonical[64];
    std::snprintf(canonical, sizeof canonical, "&H%X,%d,%d,", d->address, d->bit, d->width);
    const auto again = zr730::parse_descriptor(std::string(canonical) + d->kindWord);
    FUZZ_CHECK(again && again->address == d->address && again->bit == d->bit && again->width == d->width);

    // A value taken from the input: all ones, then the input's last byte.
    const unsigned mask = (1u << d->width) - 1u;
    const int value = size ? data[size - 1] : 0xFF;
    for (const std::uint8_t background : {std::uint8_t(0x00), std::uint8_t(0xFF), std::uint8_t(0xA5)}) {
        zr730::PagerImage image;
        image.bytes().fill(background);
        const zr730::PagerImage untouched = image;
        FUZZ_CHECK(image.field_get(d->address, d->bit, d->width) == (background >> d->bit & mask));
        image.field_set(d->address, d->bit, value, d->width);
        FUZZ_CHECK(image.field_get(d->address, d->bit, d->width) == (unsigned(value) & mask));
        for (int a = 0; a < zr730::kImageSize; ++a) {
            const unsigned changed = unsigned(image[a] ^ untouched[a]);
            FUZZ_CHECK(a == d->address ? (changed & ~(mask << d->bit)) == 0 : changed == 0);
        }
    }
    return 0;
}
