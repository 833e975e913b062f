#pragma once
// Capcode records and the function-bit settings of the six capcodes.
#include <cstdint>
#include <string>

#include "image/image.h"

namespace zr730 {

inline constexpr int kCapcodeCount = 6;
inline constexpr int kCapcodeBase = 0x360; // record i at 0x360 + 3·i
inline constexpr std::uint32_t kCapcodeMax = 2097151;
inline constexpr int kTypeCap5 = 0x3AC;    // message types of capcodes #5 and #6

// The 21-bit capcode of record i (0 … 5), without the enable flag.
std::uint32_t capcode_get(const PagerImage &image, int i);
// Stores v in record i; the enable flag (bit 7 of the first byte) is kept.
void capcode_set(PagerImage &image, int i, std::uint32_t v);
bool capcode_enabled(const PagerImage &image, int i);
// Seven digits, left-padded with "0".
std::string capcode_text(std::uint32_t v);

// Function-bit set s: 3 is capcode #1, 0 … 2 are capcodes #2 … #4.
struct FunctionBitSet {
    int typeAddress;     // four type bytes, function bits A … D
    int displayAddress;  // two bytes of display nibbles: A high, B low, C high, D low
    int priorityAddress; // bit 7 − k
    int enableAddress;   // bit k
};
FunctionBitSet function_bit_set(int s);

// Display nibble k (0 … 3) of a set.
int display_nibble(const PagerImage &image, const FunctionBitSet &set, int k);
void set_display_nibble(PagerImage &image, const FunctionBitSet &set, int k, int value);

// One message type as the summaries show it: "P" personal, "G" group, the mail-drop number in
// hexadecimal (type byte − 2).
std::string type_code(int t);
// The four summaries of a set, function bits A … D from left to right.
std::string type_summary(const PagerImage &image, const FunctionBitSet &set);
// Rewrites nibbles above 4 to 2 first, as the pager would misread them.
std::string display_summary(PagerImage &image, const FunctionBitSet &set);
std::string priority_summary(const PagerImage &image, const FunctionBitSet &set);
std::string enable_summary(const PagerImage &image, const FunctionBitSet &set);
// True when all four function bits of the set are disabled (the capcode will be disabled).
bool set_disabled(const PagerImage &image, const FunctionBitSet &set);

} // namespace zr730
