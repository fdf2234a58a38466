// Rounding to integers: rint and trunc, and the stores into integer variables.
#include <limits>

#include "console/numbers/real_internal.hpp"

namespace cp {

namespace {

enum class Rounding { nearest_even, toward_zero };

Real round_to_integral(Real x, Rounding mode) {
    if (x.is_nan()) return detail::propagate_nan(x);
    const std::int32_t e = x.biased_exponent();
    if (x.is_zero() || e >= Real::kBias + 63) return x;  // infinities too
    if (e < Real::kBias) {
        // Below 1: only more than one half reaches 1; the sign stays.
        const bool one = mode == Rounding::nearest_even && e == Real::kBias - 1 &&
                         x.significand() > Real::kIntegerBit;
        return one ? Real::from_bits(static_cast<std::uint16_t>(
                                         (x.sign_exponent() & Real::kSignBit) | Real::kBias),
                                     Real::kIntegerBit)
                   : detail::signed_zero(x.is_negative());
    }
    const int fraction_bits = Real::kBias + 63 - e;  // 1..63
    const std::uint64_t unit = std::uint64_t{1} << fraction_bits;
    const std::uint64_t fraction = x.significand() & (unit - 1);
    std::uint64_t significand = x.significand() - fraction;
    std::uint16_t sign_exponent = x.sign_exponent();
    if (mode == Rounding::nearest_even) {
        const std::uint64_t half = unit >> 1;
        if (fraction > half || (fraction == half && (significand & unit) != 0)) {
            significand += unit;
            if (significand == 0) {  // carried into the next binade
                significand = Real::kIntegerBit;
                ++sign_exponent;
            }
        }
    }
    return Real::from_canonical(sign_exponent, significand);
}

// |x| rounded to an integer (halves to even) if that stays below 2^64.
bool rounded_magnitude(Real x, std::uint64_t& magnitude) {
    const std::int32_t e = x.biased_exponent();
    if (e >= Real::kBias + 64) return false;  // infinities and NaN too
    if (e < Real::kBias) {
        magnitude = e == Real::kBias - 1 && x.significand() > Real::kIntegerBit ? 1 : 0;
        return true;
    }
    const int shift = Real::kBias + 63 - e;  // 0..63
    if (shift == 0) {
        magnitude = x.significand();
        return true;
    }
    magnitude = x.significand() >> shift;
    const std::uint64_t fraction = x.significand() << (64 - shift);
    if (fraction > detail::kHalf || (fraction == detail::kHalf && (magnitude & 1) != 0)) {
        ++magnitude;
        return magnitude != 0;
    }
    return true;
}

// The signed integer of the rounded x within [-limit, limit - 1], or -limit.
std::int64_t store(Real x, std::uint64_t limit) {
    std::uint64_t magnitude = 0;
    if (!rounded_magnitude(x, magnitude)) return static_cast<std::int64_t>(0 - limit);
    if (x.is_negative()) {
        if (magnitude > limit) magnitude = limit;
        return static_cast<std::int64_t>(0 - magnitude);
    }
    if (magnitude >= limit) return static_cast<std::int64_t>(0 - limit);
    return static_cast<std::int64_t>(magnitude);
}

}  // namespace

Real rint(Real x) {
    return round_to_integral(x, Rounding::nearest_even);
}

Real trunc(Real x) {
    return round_to_integral(x, Rounding::toward_zero);
}

std::int64_t to_int64(Real x) {
    return store(x, std::uint64_t{1} << 63);
}

std::int32_t to_int32(Real x) {
    return static_cast<std::int32_t>(store(x, std::uint64_t{1} << 31));
}

}  // namespace cp
