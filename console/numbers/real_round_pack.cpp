#include "console/numbers/real_internal.hpp"

namespace cp::detail {

Real round_pack_edge(bool negative, std::int32_t exponent, std::uint64_t significand,
                     std::uint64_t extra) {
    const std::uint16_t sign = negative ? Real::kSignBit : 0;
    if (significand == 0) return Real::from_bits(sign, 0);
    if (exponent <= 0) {
        // Subnormal: denormalise first, then round once.
        const Wide shifted = shift_right_jam(Wide{significand} << 64 | extra, 1 - exponent);
        significand = high(shifted);
        extra = low(shifted);
        exponent = 0;
    }
    if (extra > kHalf || (extra == kHalf && (significand & 1) != 0)) {
        ++significand;
        if (significand == 0) {  // carried into the next binade
            significand = Real::kIntegerBit;
            ++exponent;
        } else if (exponent == 0 && significand == Real::kIntegerBit) {
            exponent = 1;  // rounded up to the smallest normal value
        }
    }
    if (exponent >= Real::kSpecialExponent) return signed_infinity(negative);
    return Real::from_bits(static_cast<std::uint16_t>(sign | exponent), significand);
}

Real propagate_nan(Real a) {
    return Real::from_bits(a.sign_exponent(), a.significand() | Real::kQuietBit);
}

Real propagate_nan(Real a, Real b) {
    if (!a.is_nan()) return propagate_nan(b);
    if (!b.is_nan()) return propagate_nan(a);
    // A quiet NaN wins over a signalling one; otherwise the larger significand,
    // and of two equal ones the positive.
    const bool quiet_a = (a.significand() & Real::kQuietBit) != 0;
    const bool quiet_b = (b.significand() & Real::kQuietBit) != 0;
    if (quiet_a != quiet_b) return propagate_nan(quiet_a ? a : b);
    if (a.significand() != b.significand()) {
        return propagate_nan(a.significand() > b.significand() ? a : b);
    }
    return propagate_nan(a.is_negative() ? b : a);
}

}  // namespace cp::detail
