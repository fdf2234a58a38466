#pragma once
// Recognising integer values of the working format straight from its fields,
// for the fast paths of printing and of the integer operations.
#include <cstdint>

#include "console/numbers/real.hpp"

namespace cp::detail {

// Sets out to x and returns true when x is an integer of magnitude below 2^63
// (-0 gives 0).
inline bool exact_integer(Real x, std::int64_t& out) {
    if (x.is_zero()) {
        out = 0;
        return true;
    }
    const std::int32_t e = x.biased_exponent();
    if (e < Real::kBias || e >= Real::kBias + 63) return false;
    const int fraction_bits = Real::kBias + 63 - e;  // 1..63
    if ((x.significand() << (64 - fraction_bits)) != 0) return false;
    const auto magnitude = static_cast<std::int64_t>(x.significand() >> fraction_bits);
    out = x.is_negative() ? -magnitude : magnitude;
    return true;
}

}  // namespace cp::detail
