#pragma once
// The field catalogue: every bit of the 1024-byte image belongs to exactly one named field, as
// a technician reads it ("Capcode #3", "Capcode #3 function bit B display", "R word",
// "Prompt 1 (NO PAGES)", "Reserved 0x042–0x0BF"). The fields of the window's bound controls
// take their place from the memory map, so where a field lives is still said once.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "image/image.h"

namespace zr730 {

// How a field's value reads.
enum class FieldShow {
    Number,  // unsigned decimal
    Hex,     // bytes in hexadecimal, as stored
    Named,   // a value with a name (list entry, on/off); unnamed values as numbers
    Capcode, // 21-bit capcode, seven digits
    Digits,  // one decimal digit per byte, most significant first
    Word,    // big-endian word in hexadecimal (synthesizer words)
    Prompt,  // prompt record: its leading blanks and text, quoted
    Text,    // 8-bit characters up to the trailing NULs
};
// Texts (Prompt, Text) show control bytes as "\x00" and a backslash as "\\"; a quote inside a
// quoted prompt reads "\"". A shown text is one line and names its bytes unambiguously.

struct CatalogueField {
    std::string name;
    int address = 0;
    int length = 1; // bytes
    int bit = 0;    // lowest bit used in the first byte
    int width = 8;  // bits used in the first byte; every further byte counts whole
    FieldShow show = FieldShow::Number;
    std::vector<std::pair<int, std::string>> names; // value → name, for Named
    bool reserved = false; // no editor shows it; carried unchanged
    int prompt = -1;       // prompt record index, for Prompt
};

// All fields, in address order (the fields of one byte in a technician's order).
std::span<const CatalogueField> field_catalogue();
const CatalogueField *catalogue_field(const std::string &name);

// The field's bits: for one byte its bit field; for several the first byte's bits, then the
// others whole.
std::vector<std::uint8_t> field_bytes(const CatalogueField &field, const PagerImage &image);
// The value as a technician reads it ("0001234", "on", "2400 bps", "\"NO PAGES\"").
std::string field_value(const CatalogueField &field, const PagerImage &image);
// "0x366" or "0x390–0x396"; bit fields add their bits ("0x039 bit 2", "0x03C bits 6–7").
std::string field_place(const CatalogueField &field);

struct FieldDifference {
    const CatalogueField *field;
    std::string expected; // value in the first image
    std::string actual;   // value in the second
};
// The fields whose bits differ, in address order. Values that read the same although bits
// differ (bytes no reading shows) are given in hexadecimal.
std::vector<FieldDifference> field_differences(const PagerImage &expected, const PagerImage &actual);

// One line per difference, "Capcode #3 (0x366–0x368): expected 0001234, read back 0001235" with
// the words "expected" and "read back", at most `limit`, then how many more there are.
std::string differences_report(const std::vector<FieldDifference> &differences, const char *firstWord,
                               const char *secondWord, std::size_t limit = 50);

} // namespace zr730
