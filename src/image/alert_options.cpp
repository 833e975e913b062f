#include "image/alert_options.h"

#include <algorithm>

namespace zr730 {

namespace {

template <std::size_t N> std::optional<int> index_of_value(const std::array<Choice, N> &table, int value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (table[i].value == value) return int(i);
    return std::nullopt;
}

std::uint8_t byte(int v) { return static_cast<std::uint8_t>(v); }
int grey(int level) { return std::clamp(level, 0, 255); }

} // namespace

std::optional<int> personal_alert_index(const PagerImage &image)
{
    return index_of_value(kPersonalAlert, image[kAddrPersonalAlert]);
}

void set_personal_alert(PagerImage &image, int index)
{
    image.field_set(kAddrContinuousFlag, kBitContinuousFlag, 0, 1);
    image[kAddrPersonalAlert] = byte(kPersonalAlert.at(std::size_t(index)).value);
    if (index == int(kPersonalAlert.size()) - 1) image.field_set(kAddrContinuousFlag, kBitContinuousFlag, 1, 1);
}

bool mail_drop_enabled(const PagerImage &image, int drop) { return image.field_get(kAddrMailEnable, 7 - drop, 1) != 0; }

std::optional<int> mail_alert_index(const PagerImage &image, int drop)
{
    if (!mail_drop_enabled(image, drop)) return 0;
    const auto i = index_of_value(kMailAlert, image[kAddrMailAlert + drop]);
    if (i && *i > 0) return i;
    return std::nullopt;
}

void set_mail_alert(PagerImage &image, int drop, int index)
{
    if (index == 0) {
        image.field_set(kAddrMailEnable, 7 - drop, 0, 1);
        return;
    }
    image.field_set(kAddrMailEnable, 7 - drop, 1, 1);
    image[kAddrMailAlert + drop] = byte(kMailAlert.at(std::size_t(index)).value);
}

std::optional<std::string_view> alert_summary(const PagerImage &image, int slot)
{
    if (slot == 0) {
        const auto i = personal_alert_index(image);
        return i ? std::optional(kPersonalAlert[std::size_t(*i)].summary) : std::nullopt;
    }
    const auto i = mail_alert_index(image, slot - 1);
    return i ? std::optional(kMailAlert[std::size_t(*i)].summary) : std::nullopt;
}

std::optional<int> battery_index(const PagerImage &image, int level)
{
    return index_of_value(kBatteryLevels, image[kAddrBatteryLevel + level]);
}

void set_battery_level(PagerImage &image, int level, int index)
{
    image[kAddrBatteryLevel + level] = byte(kBatteryLevels.at(std::size_t(index)).value);
    image[kAddrBatteryCopy] = image[kAddrBatteryLevel];
}

bool battery_levels_in_order(const PagerImage &image)
{
    return image[kAddrBatteryLevel] < image[kAddrBatteryLevel + 1]
        && image[kAddrBatteryLevel + 1] < image[kAddrBatteryLevel + 2];
}

int timer_index(const PagerImage &image, TimerOption option)
{
    if (image.field_get(option.address, 3, 1) == 0) return 0;
    return image.field_get(option.address, option.timeBit, 2) + 1;
}

void set_timer(PagerImage &image, TimerOption option, int index)
{
    if (index == 0) {
        image.field_set(option.address, 3, 0, 1);
        return;
    }
    image.field_set(option.address, 3, 1, 1);
    image.field_set(option.address, option.timeBit, index - 1, 2);
}

int tone_index(int stored)
{
    if (stored == 32) return 4;
    if (stored >= 4 && stored <= 7) return stored - 3;
    return 0;
}

void set_tone(PagerImage &image, int index) { image[kAddrTone] = byte(kTones.at(std::size_t(index)).value); }

std::array<bool, kMenuItemCount> menu_disabled(const PagerImage &image)
{
    std::array<bool, kMenuItemCount> disabled;
    disabled.fill(true);
    for (int j = 0; j < kMenuItemCount; ++j) {
        const int m = image[kAddrMenuList + j];
        if (m >= kMenuFirstCode && m < kMenuFirstCode + kMenuItemCount) disabled[std::size_t(m - kMenuFirstCode)] = false;
    }
    return disabled;
}

void set_menu_list(PagerImage &image, const std::array<bool, kMenuItemCount> &disabled)
{
    int slot = kMenuItemCount - 1;
    for (int k = kMenuItemCount - 1; k >= 0; --k)
        if (!disabled[std::size_t(k)]) image[kAddrMenuList + slot--] = byte(kMenuFirstCode + k);
    for (; slot >= 0; --slot) image[kAddrMenuList + slot] = byte(kMenuEmptySlot);
}

int contrast_grey_after_load(int stored) { return grey(5 * stored); }
int contrast_grey_after_move(int value) { return grey(80 - 10 * value); }

PasswordEntry check_password_entry(std::string_view text)
{
    if (text.empty()) return PasswordEntry::Empty;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return PasswordEntry::NotNumeric;
    return text.size() > std::size_t(kPasswordDigits) ? PasswordEntry::TooLong : PasswordEntry::Valid;
}

void set_password(PagerImage &image, std::string_view digits)
{
    const int lead = kPasswordDigits - int(digits.size());
    for (int k = 0; k < kPasswordDigits; ++k)
        image[kAddrPassword + k] = byte(k < lead ? 0 : digits[std::size_t(k - lead)] - '0');
}

std::string password_text(const PagerImage &image)
{
    std::string s;
    for (int k = 0; k < kPasswordDigits; ++k) s += std::to_string(image[kAddrPassword + k]);
    return s;
}

} // namespace zr730
