#pragma once
// Rounding as the pager arithmetic needs it: to the nearest whole number, halves to the even
// neighbour (so 2.5 gives 2 and 3.5 gives 4).
#include <cmath>

namespace zr730 {

inline long long round_even(double v)
{
    return static_cast<long long>(std::nearbyint(v)); // default rounding mode: nearest, ties to even
}

} // namespace zr730
