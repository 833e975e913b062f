#pragma once
// Fixed texts of the programmer-board link and the board watch, defined once.

namespace zr730::text {

inline constexpr const char *kBoardNotResponding = "The Programmed Board is not responding!";
inline constexpr const char *kWriteError = "Write error!";
inline constexpr const char *kReadError = "Read error!";
inline constexpr const char *kReadTimeOut = "Read Time Out!";
inline constexpr const char *kWritingNow = "Writing Now.......";
inline constexpr const char *kBoardConnect = "  The Programmed Board Connect !";
inline constexpr const char *kBoardDisconnect = "  The Programmed Board Disconnect !";

} // namespace zr730::text
