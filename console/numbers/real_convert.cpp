// Conversions that round: from 128-bit integers, to binary64 and binary32.
#include "console/numbers/real_internal.hpp"

namespace cp {

namespace {

struct BinaryFormat {
    int precision;  // significand bits, the hidden one included
    int exponent_bits;
};
constexpr BinaryFormat kBinary64{53, 11};
constexpr BinaryFormat kBinary32{24, 8};

// The bit pattern of x in a narrower binary format, rounded once; a NaN keeps
// the top of its payload and comes out quiet, as the x87 stores it.
std::uint64_t narrow_bits(Real x, BinaryFormat f) {
    const int fraction_bits = f.precision - 1;
    const std::uint64_t fraction_mask = (std::uint64_t{1} << fraction_bits) - 1;
    const std::uint64_t exponent_mask = ((std::uint64_t{1} << f.exponent_bits) - 1)
                                        << fraction_bits;
    const std::int32_t bias = (1 << (f.exponent_bits - 1)) - 1;
    std::uint64_t bits =
        x.is_negative() ? std::uint64_t{1} << (f.exponent_bits + fraction_bits) : 0;
    if (x.is_special()) {
        bits |= exponent_mask;
        if (x.is_nan()) {
            bits |= ((x.significand() | Real::kQuietBit) >> (64 - f.precision)) & fraction_mask;
        }
        return bits;
    }
    if (x.is_zero()) return bits;
    const detail::Unpacked u = detail::unpack(x);
    std::int32_t e = u.exponent - Real::kBias;
    // Below the normal range fewer significand bits are kept.
    const std::int32_t lost = e < 1 - bias ? 1 - bias - e : 0;
    const detail::Wide kept =
        detail::shift_right_jam(detail::Wide{u.significand} << 64, 64 - f.precision + lost);
    std::uint64_t m = detail::high(kept);
    const std::uint64_t rest = detail::low(kept);
    if (rest > detail::kHalf || (rest == detail::kHalf && (m & 1) != 0)) ++m;
    // A subnormal that rounds up to the smallest normal sets the exponent field itself.
    if (lost > 0) return bits | m;
    if ((m >> f.precision) != 0) {
        m >>= 1;
        ++e;
    }
    if (e > bias) return bits | exponent_mask;
    return bits | static_cast<std::uint64_t>(e + bias) << fraction_bits | (m & fraction_mask);
}

}  // namespace

Real::Real(Int128 v) {
    if (v == 0) return;
    const bool negative = v < 0;
    const detail::Wide magnitude =
        negative ? detail::Wide{0} - static_cast<detail::Wide>(v) : static_cast<detail::Wide>(v);
    const int shift = detail::leading_zeros(magnitude);
    const detail::Wide normal = magnitude << shift;
    *this = detail::round_pack(negative, kBias + 127 - shift, detail::high(normal),
                               detail::low(normal));
}

Real::operator double() const {
    return bit_cast<double>(narrow_bits(*this, kBinary64));
}

std::uint32_t to_binary32_bits(Real x) {
    return static_cast<std::uint32_t>(narrow_bits(x, kBinary32));
}

}  // namespace cp
