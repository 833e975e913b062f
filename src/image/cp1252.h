#pragma once
// The Windows-1252 code page in which prompt characters are shown and stored. The five bytes
// the code page leaves undefined stand for the C1 controls of the same number, so every byte
// has a character and every byte survives showing and storing again.
#include <cstdint>
#include <optional>

namespace zr730 {

char32_t cp1252_to_unicode(std::uint8_t byte);
// The byte of a character; none for a character the code page does not have.
std::optional<std::uint8_t> unicode_to_cp1252(char32_t c);

} // namespace zr730
