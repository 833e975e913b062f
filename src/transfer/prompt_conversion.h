#pragma once
// The national character conversion of the prompt texts. The PC side holds Latin-1
// (Windows-1252) codes; the pager uses a 7-bit national variant that carries the national
// letters at a few ASCII positions. The character-set code (low 4 bits of 0x03A) chooses the
// table: 5 Spanish, 6 French, 8 German, 15 Swedish; any other code converts nothing.
#include <cstdint>

#include "image/image.h"
#include "image/prompts.h"

namespace zr730 {

// One PC code to its pager code for character set l (bytes not in the table are unchanged).
std::uint8_t char_to_pager(int l, std::uint8_t pc);
// The exact reverse of char_to_pager.
std::uint8_t char_to_pc(int l, std::uint8_t pager);

// Converts the 18 text bytes of every prompt record (0x100 … 0x343 and 0x3B0 … 0x3D7) with the
// image's own character set. Layout and length bytes are numbers and are left as they are.
void prompt_to_pager(PagerImage &image);
void prompt_to_pc(PagerImage &image);

} // namespace zr730
