#pragma once
// Recognising integer values of the working format without touching the x87
// control word (a plain cast to an integer type switches the rounding mode
// twice, which costs more than formatting the digits).
#include <cmath>
#include <cstdint>
#include <cstring>

#include "console/real.hpp"

namespace cp::detail {

// Sets out to x and returns true when x is an integer of magnitude below 2^62.
inline bool exact_integer(Real x, std::int64_t& out) {
    // Adding 2^63 + 2^62 rounds x to an integer (the spacing there is 1) and
    // leaves that integer plus the shift as the 64-bit significand, which on
    // x86-64 is the first eight bytes of the value.
    constexpr Real kShift = 0x1.8p63L;
    constexpr std::uint64_t kShiftBits = 0xC000000000000000u;
    if (!(std::fabs(x) < 0x1p62L)) return false;
    const Real shifted = x + kShift;
    if (shifted - kShift != x) return false;
    std::uint64_t significand;
    std::memcpy(&significand, &shifted, sizeof significand);
    out = static_cast<std::int64_t>(significand - kShiftBits);
    return true;
}

}  // namespace cp::detail
