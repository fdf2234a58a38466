#include "console/numbers/real_internal.hpp"

namespace cp {

Real fmod(Real x, Real y) {
    if (x.is_nan() || y.is_nan()) return detail::propagate_nan(x, y);
    if (x.is_infinite() || y.is_zero()) return Real::default_nan();
    if (x.is_zero() || y.is_infinite() || abs(x) < abs(y)) return x;
    const detail::Unpacked a = detail::unpack(x);
    const detail::Unpacked b = detail::unpack(y);
    // (a.significand * 2^(a.exponent - b.exponent)) mod b.significand, up to
    // 64 bits of the difference at a time: the remainder stays exact.
    std::uint64_t rest = a.significand % b.significand;
    for (std::int32_t left = a.exponent - b.exponent; left > 0 && rest != 0;) {
        const int step = left < 64 ? left : 64;
        rest = static_cast<std::uint64_t>((detail::Wide{rest} << step) % b.significand);
        left -= step;
    }
    if (rest == 0) return detail::signed_zero(x.is_negative());
    const int shift = std::countl_zero(rest);
    return detail::round_pack(x.is_negative(), b.exponent - shift, rest << shift, 0);
}

}  // namespace cp
