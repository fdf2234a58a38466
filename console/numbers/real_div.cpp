#include "console/numbers/real_internal.hpp"

namespace cp {

Real operator/(Real a, Real b) {
    const bool negative = a.is_negative() != b.is_negative();
    if (a.is_special() || b.is_special()) {
        if (a.is_nan() || b.is_nan()) return detail::propagate_nan(a, b);
        if (a.is_special() && b.is_special()) return Real::default_nan();  // infinity / infinity
        return a.is_special() ? detail::signed_infinity(negative) : detail::signed_zero(negative);
    }
    if (b.is_zero()) return a.is_zero() ? Real::default_nan() : detail::signed_infinity(negative);
    if (a.is_zero()) return detail::signed_zero(negative);
    const detail::Unpacked x = detail::unpack(a);
    const detail::Unpacked y = detail::unpack(b);
    // The dividend is placed so that the quotient has exactly 64 bits.
    std::int32_t exponent = x.exponent - y.exponent + Real::kBias;
    detail::Wide dividend = detail::Wide{x.significand} << 63;
    if (x.significand < y.significand) {
        dividend <<= 1;
        --exponent;
    }
    const auto quotient = static_cast<std::uint64_t>(dividend / y.significand);
    const auto rest = static_cast<std::uint64_t>(dividend % y.significand);
    // The rest against half the divisor gives the round bit and the sticky bit.
    const detail::Wide twice = detail::Wide{rest} << 1;
    std::uint64_t extra = 0;
    if (twice > y.significand) {
        extra = detail::kHalf | 1;
    } else if (twice == y.significand) {
        extra = detail::kHalf;
    } else if (rest != 0) {
        extra = 1;
    }
    return detail::round_pack(negative, exponent, quotient, extra);
}

}  // namespace cp
