#pragma once
// Every fixed text the program shows, defined once.

namespace zr730::text {

// Window titles of the two editions.
inline constexpr const char *kTitleUsb = "Kestrane USB ZR730K52(USB) V6.10";
inline constexpr const char *kTitleLpt = "Kestrane ZR730K V6.10";

// Capcodes
inline constexpr const char *kInsertNumeric = "Please insert a numeric!";
inline constexpr const char *kCapcodeRange = "Please insert a number between 0000007 to 2097151";

// Frequency and spacing
inline constexpr const char *kInsertDecimalNumeric = "Please insert a decimal numeric!";
inline constexpr const char *kChannelSpacingError = "Channel Spacing Error!";
inline constexpr const char *kAutoSpacingWarning = "The Frequency Modification of Manual Write Option will be disable!";
inline constexpr const char *kFrequencyErrorHead = "Frequency setting error(";
inline constexpr const char *kFrequencyErrorMiddle = "00000 < = Frequency < =";
inline constexpr const char *kFrequencyErrorTail = "00000 )";

} // namespace zr730::text
