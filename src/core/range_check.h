// Range checks of property values, with a tolerance so that a value a rounding step beyond a
// bound still passes.
#pragma once

#include <algorithm>
#include <cmath>

namespace zpv::driver {

// v passes bound b from the side `above` (v >= b) or within 5e-14 of the larger magnitude
// (at least 1e-14).
inline bool WithinTolerance(double v, double bound) {
    const double t = std::max(5e-14 * std::max(std::fabs(v), std::fabs(bound)), 1e-14);
    return std::fabs(v - bound) < t;
}

inline bool InRange(double v, double lower, double upper) {
    return (v >= lower || WithinTolerance(v, lower)) && (v <= upper || WithinTolerance(v, upper));
}

inline bool InRange(long v, long lower, long upper) { return v >= lower && v <= upper; }

}  // namespace zpv::driver
