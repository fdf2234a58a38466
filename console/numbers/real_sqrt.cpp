#include "console/numbers/real_internal.hpp"

namespace cp {

Real sqrt(Real x) {
    if (x.is_nan()) return detail::propagate_nan(x);
    if (x.is_zero()) return x;  // sqrt(-0) is -0
    if (x.is_negative()) return Real::default_nan();
    if (x.is_infinite()) return x;
    const detail::Unpacked u = detail::unpack(x);
    // The radicand is the significand shifted by 63 or 64 so that the power of
    // two left over is even; its root then has exactly 64 bits.
    const std::int32_t unbiased = u.exponent - Real::kBias;
    const int shift = (unbiased & 1) != 0 ? 64 : 63;
    const detail::Wide radicand = detail::Wide{u.significand} << shift;
    // One result bit at a time: the radicand is no hot path.
    std::uint64_t root = 0;
    for (int bit = 63; bit >= 0; --bit) {
        const std::uint64_t trial = root | std::uint64_t{1} << bit;
        if (detail::Wide{trial} * trial <= radicand) root = trial;
    }
    // radicand - root^2 beyond root means above root + 1/2 (never exactly at it).
    const detail::Wide rest = radicand - detail::Wide{root} * root;
    const std::uint64_t extra = rest > root ? detail::kHalf | 1 : rest != 0 ? 1 : 0;
    const std::int32_t exponent = (unbiased - 63 - shift) / 2 + 63 + Real::kBias;
    return detail::round_pack(false, exponent, root, extra);
}

}  // namespace cp
