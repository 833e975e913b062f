#include "image/descriptor.h"

#include <charconv>

namespace zr730 {

std::vector<std::string> split_tag(std::string_view tag)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = tag.find(',', start);
        if (comma == std::string_view::npos) {
            parts.emplace_back(tag.substr(start));
            break;
        }
        parts.emplace_back(tag.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

FieldKind kind_from_word(std::string_view word)
{
    if (word == "chk") return FieldKind::Chk;
    if (word == "chkN") return FieldKind::ChkN;
    if (word == "cbo") return FieldKind::Cbo;
    if (word == "cboBaud") return FieldKind::CboBaud;
    if (word == "Lng") return FieldKind::Lng;
    return FieldKind::Other;
}

namespace {
bool parse_int(std::string_view text, int base, int &out)
{
    if (text.empty()) return false;
    const auto *end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out, base);
    return ec == std::errc() && ptr == end;
}
} // namespace

std::optional<FieldDescriptor> parse_descriptor(std::string_view tag)
{
    const auto parts = split_tag(tag);
    if (parts.size() < 4) return std::nullopt;
    std::string_view addr = parts[0];
    if (addr.size() < 3 || (addr.substr(0, 2) != "&H" && addr.substr(0, 2) != "&h")) return std::nullopt;
    FieldDescriptor d;
    if (!parse_int(addr.substr(2), 16, d.address) || !parse_int(parts[1], 10, d.bit)
        || !parse_int(parts[2], 10, d.width))
        return std::nullopt;
    if (d.address < 0 || d.address > 1023 || d.bit < 0 || d.width < 1 || d.bit + d.width > 8)
        return std::nullopt;
    d.kindWord = parts[3];
    d.kind = kind_from_word(d.kindWord);
    return d;
}

} // namespace zr730
