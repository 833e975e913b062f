#pragma once
// The pager's Russian font as the keyboard and the Russian prompt page show it: the character
// each key code stands for, one 16 × 16 picture per code shared by keys and cells, and the
// keyboard's six rows.
#include <QPixmap>
#include <array>
#include <optional>
#include <vector>

namespace zr730 {

inline constexpr int kGlyphSize = 16;

// The character of pager code `code`; none for a code without a key (94, and above 126).
std::optional<char32_t> russian_glyph(int code);
// The picture of that code: near-black glyph on light grey; a null pixmap for a code without key.
const QPixmap &glyph_picture(int code);
// The keys from left to right in each of the six rows; the blank key (32) is two keys wide.
const std::array<std::vector<int>, 6> &keyboard_rows();

} // namespace zr730
