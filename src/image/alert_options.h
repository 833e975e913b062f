#pragma once
// Alert lengths, battery gauge, out-of-range and lockout timers, alert tone, pager menu list,
// screen contrast and password: the options whose encoding in the image is more than one bit
// field. Each list's entries and stored values are kept together in one table.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/image.h"

namespace zr730 {

// Addresses of the fields.
inline constexpr int kAddrPersonalAlert = 0x0D0;  // 2, 8, 16, 32 seconds or 255 continuous
inline constexpr int kAddrContinuousFlag = 0x03B; // bit 7, also "Manual Alert Override"
inline constexpr int kBitContinuousFlag = 7;
inline constexpr int kAddrMailEnable = 0x037;     // mail drop k enabled in bit 8 − k
inline constexpr int kAddrMailAlert = 0x0D1;      // five bytes, mail drops 1 … 5
inline constexpr int kAddrBatteryCopy = 0x380;    // always equal to the low level
inline constexpr int kAddrBatteryLevel = 0x381;   // low, medium, high
inline constexpr int kAddrTone = 0x0F7;
inline constexpr int kAddrMenuList = 0x0C0;       // seven slots
inline constexpr int kAddrContrast = 0x0E9;
inline constexpr int kAddrPassword = 0x37C;       // four digits, most significant first

inline constexpr int kMailDropCount = 5;
inline constexpr int kBatteryListCount = 3;
inline constexpr int kMenuItemCount = 7;
inline constexpr int kMenuEmptySlot = 255;
inline constexpr int kMenuFirstCode = 16;
inline constexpr int kPasswordDigits = 4;
inline constexpr int kContrastMin = 1;
inline constexpr int kContrastMax = 8;

// One entry of a list: its text, the byte it stores and the summary caption it gives.
struct Choice {
    std::string_view entry;
    int value;
    std::string_view summary = {};
};

// Personal alert length (cboPersonal); summary for lblLength(0).
inline constexpr std::array<Choice, 5> kPersonalAlert{{
    {"2 sec", 2, "02"}, {"8 sec", 8, "08"}, {"16 sec", 16, "16"}, {"32 sec", 32, "32"}, {"continuos", 255, "CT"}}};
// Mail-drop alert length (cboMailAler(i)); index 0 disables the drop and keeps its byte.
inline constexpr std::array<Choice, 4> kMailAlert{{
    {"Disable", -1, "--"}, {"Beep", 0, "BP"}, {"1 sec", 1, "01"}, {"16 sec", 16, "16"}}};
// Battery gauge levels in hundredths of a volt, highest first (cboBatLev(i)).
inline constexpr std::array<Choice, 13> kBatteryLevels{{
    {"1.58V", 158}, {"1.53V", 153}, {"1.48V", 148}, {"1.43V", 143}, {"1.39V", 139}, {"1.34V", 134}, {"1.29V", 129},
    {"1.24V", 124}, {"1.19V", 119}, {"1.14V", 114}, {"1.09V", 109}, {"1.05V", 105}, {"1.00V", 100}}};
inline constexpr std::array<std::string_view, 5> kOutOfRangeEntries{"Disable", "1 min", "2 min", "5 min", "10 min"};
inline constexpr std::array<std::string_view, 5> kLockoutEntries{"disable", "30 seconds", "60 seconds",
                                                                 "120 seconds", "175 seconds"};
inline constexpr std::array<Choice, 5> kTones{{{"Tone 1", 1}, {"Tone 2", 4}, {"Tone 3", 5}, {"Tone 4", 6}, {"Vibration", 32}}};
// Menu items the pager offers; a checked box disables the item (value = its code).
inline constexpr std::array<Choice, kMenuItemCount> kMenuItems{{
    {"Set Alert Disable", 16}, {"Pager Off Disable", 17}, {"Auto Sleep Disable", 18}, {"Set Alarm Disable", 19},
    {"Set Time Disable", 20}, {"Set Scroll Disable", 21}, {"Zoom In Disable", 22}}};

// ---- alert lengths ----
// Index in kPersonalAlert of the stored byte, none when no entry matches.
std::optional<int> personal_alert_index(const PagerImage &image);
// Stores entry `index`; the continuous flag is set for "continuos" and cleared otherwise.
void set_personal_alert(PagerImage &image, int index);
bool mail_drop_enabled(const PagerImage &image, int drop);
// Index in kMailAlert for mail drop `drop` (0 … 4): 0 when disabled, none for a length without entry.
std::optional<int> mail_alert_index(const PagerImage &image, int drop);
void set_mail_alert(PagerImage &image, int drop, int index);
// Summary caption of slot 0 (personal) or 1 … 5 (mail drops); none leaves the caption as it was.
std::optional<std::string_view> alert_summary(const PagerImage &image, int slot);

// ---- battery gauge ----
// Index in kBatteryLevels of level `level` (0 low, 1 medium, 2 high); none when no entry matches.
std::optional<int> battery_index(const PagerImage &image, int level);
// Stores the level and the copy of the low level.
void set_battery_level(PagerImage &image, int level, int index);
// High > medium > low, compared as stored.
bool battery_levels_in_order(const PagerImage &image);

// ---- out-of-range and sequential-lockout timers: an "on" bit 3 and a two-bit time ----
struct TimerOption {
    int address;
    int timeBit;
};
inline constexpr TimerOption kOutOfRange{0x03D, 1};
inline constexpr TimerOption kSequentialLockout{0x03C, 0};
// 0 when off, else the time + 1.
int timer_index(const PagerImage &image, TimerOption option);
// Index 0 clears only the "on" bit; the time keeps its value.
void set_timer(PagerImage &image, TimerOption option, int index);

// ---- alert tone ----
// 1 → 0, 32 → 4, 4 … 7 → value − 3, anything else → 0.
int tone_index(int stored);
void set_tone(PagerImage &image, int index);

// ---- pager menu list ----
// Which items are disabled: all, except those whose code stands in the list (other bytes are ignored).
std::array<bool, kMenuItemCount> menu_disabled(const PagerImage &image);
// Enabled codes in ascending order at the end of the list, empty slots (255) in front.
void set_menu_list(PagerImage &image, const std::array<bool, kMenuItemCount> &disabled);

// ---- screen contrast: grey level of the "Screen" caption ----
int contrast_grey_after_load(int stored); // 5·c
int contrast_grey_after_move(int value);  // 80 − 10·v

// ---- password ----
enum class PasswordEntry { Empty, NotNumeric, TooLong, Valid };
PasswordEntry check_password_entry(std::string_view text);
// Stores up to four digits right-aligned with leading zeros; only for a Valid entry.
void set_password(PagerImage &image, std::string_view digits);
// The four bytes each as a decimal number, in address order.
std::string password_text(const PagerImage &image);

} // namespace zr730
