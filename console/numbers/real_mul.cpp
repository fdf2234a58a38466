#include "console/numbers/real_internal.hpp"

namespace cp {

Real operator*(Real a, Real b) {
    const bool negative = a.is_negative() != b.is_negative();
    if (a.is_special() || b.is_special()) {
        if (a.is_nan() || b.is_nan()) return detail::propagate_nan(a, b);
        if (a.is_zero() || b.is_zero()) return Real::default_nan();  // infinity times 0
        return detail::signed_infinity(negative);
    }
    if (a.is_zero() || b.is_zero()) return detail::signed_zero(negative);
    const detail::Unpacked x = detail::unpack(a);
    const detail::Unpacked y = detail::unpack(b);
    // Two normalised significands give a product in [2^126, 2^128).
    detail::Wide product = detail::Wide{x.significand} * y.significand;
    std::int32_t exponent = x.exponent + y.exponent - Real::kBias + 1;
    if (detail::high(product) < Real::kIntegerBit) {
        product <<= 1;
        --exponent;
    }
    return detail::round_pack(negative, exponent, detail::high(product), detail::low(product));
}

}  // namespace cp
