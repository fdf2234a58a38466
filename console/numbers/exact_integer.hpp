#pragma once
// Recognising integer values of the working format without touching the x87
// control word (a plain cast to an integer type switches the rounding mode
// twice, which costs more than formatting the digits).
#include <cmath>
#include <cstdint>
#include <cstring>

#include "console/numbers/real.hpp"

namespace cp::detail {

inline constexpr Real kRoundingShift = 0x1.8p63L;  // 2^63 + 2^62
inline constexpr Real kShiftableLimit = 0x1p61L;   // so rounding cannot reach 2^64

// Adding the shift to |x| < 2^61 rounds x to an integer (halves to even; the
// spacing there is 1) and leaves that integer plus the shift as the 64-bit
// significand, which on x86-64 is the first eight bytes of the value.
inline std::int64_t shifted_to_int64(Real shifted) {
    constexpr std::uint64_t kShiftBits = 0xC000000000000000u;
    std::uint64_t significand;
    std::memcpy(&significand, &shifted, sizeof significand);
    return static_cast<std::int64_t>(significand - kShiftBits);
}

// Sets out to x and returns true when x is an integer of magnitude below 2^61.
inline bool exact_integer(Real x, std::int64_t& out) {
    if (!(std::fabs(x) < kShiftableLimit)) return false;
    const Real shifted = x + kRoundingShift;
    if (shifted - kRoundingShift != x) return false;
    out = shifted_to_int64(shifted);
    return true;
}

}  // namespace cp::detail
