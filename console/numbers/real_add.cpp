#include <utility>

#include "console/numbers/real_internal.hpp"

namespace cp {

namespace {

using detail::Wide;

Real add_signed(Real a, Real b, bool negate_b) {
    const bool negative_b = b.is_negative() != negate_b;
    if (a.is_special() || b.is_special()) {
        if (a.is_nan() || b.is_nan()) return detail::propagate_nan(a, b);
        if (!b.is_special()) return a;
        if (a.is_special() && a.is_negative() != negative_b) return Real::default_nan();
        return detail::signed_infinity(negative_b);
    }
    if (b.is_zero()) {
        // -0 + -0 is -0; a zero sum of any other signs is +0.
        if (a.is_zero()) return detail::signed_zero(a.is_negative() && negative_b);
        return a;
    }
    if (a.is_zero()) return negate_b ? -b : b;

    // Subnormals count as exponent 1 with the integer bit clear, so that both
    // significands line up without normalising them first.
    std::int32_t ea = a.biased_exponent() == 0 ? 1 : a.biased_exponent();
    std::int32_t eb = b.biased_exponent() == 0 ? 1 : b.biased_exponent();
    std::uint64_t sa = a.significand();
    std::uint64_t sb = b.significand();
    bool negative = a.is_negative();
    if (ea < eb || (ea == eb && sa < sb)) {
        std::swap(ea, eb);
        std::swap(sa, sb);
        negative = negative_b;
    }
    // Bit 127 is left free for a carry, and 63 bits below the significand
    // keep what the alignment shifts out, the last of them sticky.
    const Wide big = Wide{sa} << 63;
    const Wide small = detail::shift_right_jam(Wide{sb} << 63, ea - eb);
    const Wide sum = a.is_negative() == negative_b ? big + small : big - small;
    if (sum == 0) return Real{};
    const int shift = detail::leading_zeros(sum);
    const Wide normal = sum << shift;
    return detail::round_pack(negative, ea + 1 - shift, detail::high(normal), detail::low(normal));
}

}  // namespace

Real operator+(Real a, Real b) {
    return add_signed(a, b, false);
}

Real operator-(Real a, Real b) {
    return add_signed(a, b, true);
}

}  // namespace cp
