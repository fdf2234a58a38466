// Powers of two: scaling by them and reading the exponent.
#include <algorithm>
#include <limits>

#include "console/numbers/real_internal.hpp"

namespace cp {

Real ldexp(Real x, std::int32_t n) {
    if (x.is_nan()) return detail::propagate_nan(x);
    if (x.is_zero() || x.is_infinite()) return x;
    const detail::Unpacked u = detail::unpack(x);
    // Beyond this any value overflows or underflows, and the sum cannot wrap.
    constexpr std::int32_t kLimit = 1 << 17;
    const std::int32_t exponent = u.exponent + std::clamp(n, -kLimit, kLimit);
    return detail::round_pack(u.negative, exponent, u.significand, 0);
}

std::int32_t ilogb(Real x) {
    if (x.is_infinite()) return std::numeric_limits<std::int32_t>::max();
    if (x.is_zero() || x.is_nan()) return std::numeric_limits<std::int32_t>::min();
    return detail::unpack(x).exponent - Real::kBias;
}

}  // namespace cp
