#pragma once
// The slider's arithmetic, in twips (15 to a pixel): where a press puts the thumb, which value
// a thumb position stands for, and where a value puts the thumb.
#include <algorithm>
#include <optional>

#include "image/rounding.h"

namespace zr730::slider {

inline constexpr int kTwipsPerPixel = 15;

inline int clamp_value(int v, int min, int max) { return v < min ? min : (v > max ? max : v); }

// The step of Page Up / Page Down: a quarter of the range rounded up, at least 1 (2 for 1 … 8).
inline int page_step(int min, int max) { return std::max(1, (max - min + 3) / 4); }

// Leading edge of the thumb for a pointer at `at` along the groove: the thumb centred on the
// pointer, snapped down to a whole pixel, kept inside the groove.
inline int thumb_position_at(double at, int sliderWidth, int length)
{
    const double a = at - sliderWidth / 2.0;
    const long long q = round_even(a) / kTwipsPerPixel; // remainder dropped
    if (q < 0) return 0;
    const long long t = kTwipsPerPixel * q;
    return t > length - sliderWidth ? length - sliderWidth : int(t);
}

// The position value a thumb at `t` stands for: the nearest integer to minimum + t / r, with
// r = (length − thumb length) / (maximum − minimum) in single precision. None when the groove has no
// room to move in (maximum = minimum, or a thumb as long as the control).
inline std::optional<int> position_at(int t, int min, int max, int length, int thumbLength)
{
    if (max <= min || length <= thumbLength) return std::nullopt;
    const float r = float(length - thumbLength) / float(max - min);
    return clamp_value(int(round_even(double(min) + double(float(t) / r))), min, max);
}

// Leading edge of the thumb for position p; none when maximum = minimum (the thumb stays where it is).
inline std::optional<double> thumb_offset(int p, int min, int max, int length, int sliderWidth)
{
    if (max == min) return std::nullopt;
    const double r = double(length - sliderWidth) / double(max - min);
    return r * (p - min);
}

} // namespace zr730::slider
