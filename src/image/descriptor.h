#pragma once
// Field descriptors: the tag string that binds a control to a bit field ("&H39,2,1,cbo").
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr730 {

enum class FieldKind { Chk, ChkN, Cbo, CboBaud, Lng, Other };

struct FieldDescriptor {
    int address = 0;
    int bit = 0;
    int width = 0;
    FieldKind kind = FieldKind::Other;
    std::string kindWord;
};

// Splits at every comma.
std::vector<std::string> split_tag(std::string_view tag);

// A tag binds a control when it has at least four parts; parts after the fourth are ignored.
// Returns nothing for fewer than four parts or unreadable numbers.
std::optional<FieldDescriptor> parse_descriptor(std::string_view tag);

FieldKind kind_from_word(std::string_view word);

} // namespace zr730
