#pragma once
// The pieces every operation of the working format shares: operands taken
// apart, the one rounding-and-packing routine, and the NaN rules of the x87.
#include <bit>
#include <cstdint>

#include "console/numbers/real.hpp"

namespace cp::detail {

__extension__ using Wide = unsigned __int128;

inline constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;  // the round bit in `extra`

inline std::uint64_t high(Wide w) {
    return static_cast<std::uint64_t>(w >> 64);
}
inline std::uint64_t low(Wide w) {
    return static_cast<std::uint64_t>(w);
}
inline int leading_zeros(Wide w) {
    const std::uint64_t h = high(w);
    return h != 0 ? std::countl_zero(h) : 64 + std::countl_zero(low(w));
}

// w >> count, with every bit shifted out ORed into bit 0, so that the rounding
// still sees that something was there.
inline Wide shift_right_jam(Wide w, std::int32_t count) {
    if (count <= 0) return w;
    if (count >= 128) return w != 0 ? 1 : 0;
    return (w >> count) | ((w << (128 - count)) != 0 ? 1 : 0);
}

// A finite non-zero operand with its significand normalised (bit 63 set); a
// subnormal's exponent goes below 1 instead.
struct Unpacked {
    bool negative;
    std::int32_t exponent;  // biased
    std::uint64_t significand;
};

inline Unpacked unpack(Real x) {
    std::int32_t exponent = x.biased_exponent();
    std::uint64_t significand = x.significand();
    if (exponent == 0) {
        const int shift = std::countl_zero(significand);
        significand <<= shift;
        exponent = 1 - shift;
    }
    return {x.is_negative(), exponent, significand};
}

// round_pack for results outside the normal range: subnormal or overflowing.
Real round_pack_edge(bool negative, std::int32_t exponent, std::uint64_t significand,
                     std::uint64_t extra);

// The value (-1)^negative * (significand + extra/2^64) * 2^(exponent - bias - 63),
// rounded to the format: to nearest, ties to even, subnormal below exponent 1,
// infinity above the largest. The significand is normalised or zero.
inline Real round_pack(bool negative, std::int32_t exponent, std::uint64_t significand,
                       std::uint64_t extra) {
    if (exponent <= 0 || exponent >= Real::kSpecialExponent - 1 || significand == 0) {
        return round_pack_edge(negative, exponent, significand, extra);
    }
    if (extra > kHalf || (extra == kHalf && (significand & 1) != 0)) {
        if (++significand == 0) {  // carried into the next binade
            significand = Real::kIntegerBit;
            ++exponent;
        }
    }
    const std::uint16_t sign = negative ? Real::kSignBit : 0;
    return Real::from_canonical(static_cast<std::uint16_t>(sign | exponent), significand);
}

inline Real signed_zero(bool negative) {
    return Real::from_bits(negative ? Real::kSignBit : 0, 0);
}
inline Real signed_infinity(bool negative) {
    return negative ? -Real::infinity() : Real::infinity();
}

// The result of an operation with a NaN operand, as the x87 gives it: the NaN
// quietened; of two, the one with the larger significand.
Real propagate_nan(Real a);
Real propagate_nan(Real a, Real b);

// e^(y ln x) for finite y and finite x > 0, rounded once.
Real exp_of_product(Real y, Real x);

}  // namespace cp::detail
