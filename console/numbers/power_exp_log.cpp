// e^(y ln x) for the powers that repeated squaring cannot do. It is computed
// with 128-bit significands, so that the one rounding at the end is almost
// always the correct one, and with integer operations only, so that every
// platform gives the same bits.
#include <utility>

#include "console/numbers/real_internal.hpp"

namespace cp::detail {

namespace {

// (-1)^negative * significand * 2^(exponent - 127); the significand is
// normalised (bit 127 set) or 0. Operations cut instead of rounding.
struct WideFloat {
    bool negative = false;
    std::int32_t exponent = 0;
    Wide significand = 0;
};

WideFloat normalised(bool negative, std::int32_t exponent, Wide significand) {
    if (significand == 0) return {};
    const int shift = leading_zeros(significand);
    return {negative, exponent - shift, significand << shift};
}

WideFloat wide(Real x) {
    const Unpacked u = unpack(x);
    return {u.negative, u.exponent - Real::kBias, Wide{u.significand} << 64};
}

WideFloat wide(std::int64_t n) {
    const bool negative = n < 0;
    const auto magnitude =
        negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    return normalised(negative, 127, Wide{magnitude});
}

WideFloat negated(WideFloat a) {
    a.negative = !a.negative;
    return a;
}

WideFloat operator*(WideFloat a, WideFloat b) {
    if (a.significand == 0 || b.significand == 0) return {};
    // The upper half of the 256-bit product.
    const Wide al = low(a.significand), ah = high(a.significand);
    const Wide bl = low(b.significand), bh = high(b.significand);
    const Wide middle = high(al * bl) + low(ah * bl) + Wide{low(al * bh)};
    const Wide upper = ah * bh + high(ah * bl) + high(al * bh) + high(middle);
    return normalised(a.negative != b.negative, a.exponent + b.exponent + 1, upper);
}

WideFloat operator+(WideFloat a, WideFloat b) {
    if (b.significand == 0) return a;
    if (a.significand == 0) return b;
    if (a.exponent < b.exponent || (a.exponent == b.exponent && a.significand < b.significand)) {
        std::swap(a, b);
    }
    const std::int32_t shift = a.exponent - b.exponent;
    const Wide aligned = shift >= 128 ? 0 : b.significand >> shift;
    if (a.negative != b.negative)
        return normalised(a.negative, a.exponent, a.significand - aligned);
    const Wide sum = a.significand + aligned;
    if (sum >= a.significand) return {a.negative, a.exponent, sum};
    return {a.negative, a.exponent + 1, sum >> 1 | Wide{1} << 127};  // carried out
}

WideFloat operator-(WideFloat a, WideFloat b) {
    return a + negated(b);
}

WideFloat divided(WideFloat a, std::uint64_t k) {
    return normalised(a.negative, a.exponent, a.significand / k);
}

// 1/d by Newton's iteration from a binary64 start: each step doubles the bits.
WideFloat reciprocal(WideFloat d) {
    const Real approximate = round_pack(false, d.exponent + Real::kBias, high(d.significand), 0);
    WideFloat r = wide(Real(1 / static_cast<double>(approximate)));
    for (int i = 0; i < 2; ++i) r = r + r * (wide(1) - d * r);
    return r;
}

const WideFloat kLn2{false, -1, Wide{0xB17217F7D1CF79ABu} << 64 | 0xC9E3B39803F2F6AFu};
const WideFloat kOneOverLn2{false, 0, Wide{0xB8AA3B295C17F0BBu} << 64 | 0xBE87FED0691D3E88u};
// The significand of sqrt(2), from which m is halved into [sqrt(1/2), sqrt(2)).
constexpr std::uint64_t kSqrtTwoSignificand = 0xB504F333F9DE6484u;

// ln x for finite x > 0: x = m * 2^k with m near 1, ln m = 2 atanh(s) with
// s = (m - 1)/(m + 1), |s| < 0.18. m - 1 is exact, so ln x near 1 keeps its
// relative precision.
WideFloat logarithm(Real x) {
    const Unpacked u = unpack(x);
    std::int32_t k = u.exponent - Real::kBias;
    WideFloat m{false, 0, Wide{u.significand} << 64};
    if (u.significand >= kSqrtTwoSignificand) {
        m.exponent = -1;
        ++k;
    }
    const WideFloat s = (m - wide(1)) * reciprocal(m + wide(1));
    const WideFloat s2 = s * s;
    WideFloat sum = s;
    WideFloat power = s;
    for (std::uint64_t n = 3; n < 100; n += 2) {
        power = power * s2;
        const WideFloat term = divided(power, n);
        if (term.significand == 0 || term.exponent < sum.exponent - 130) break;
        sum = sum + term;
    }
    sum.exponent += 1;  // 2 atanh(s)
    return wide(std::int64_t{k}) * kLn2 + sum;
}

}  // namespace

Real exp_of_product(Real y, Real x) {
    const WideFloat t = wide(y) * logarithm(x);
    if (t.significand == 0) return 1;
    // e^t overflows from t > 11357 and underflows below -11400 or so.
    if (t.exponent >= 15) return t.negative ? Real{} : Real::infinity();
    // t = n ln 2 + r with |r| <= ln 2 / 2; e^t = 2^n e^r.
    const WideFloat q = t * kOneOverLn2;
    std::int64_t n = 0;
    if (q.exponent >= 0) {
        const Wide whole = q.significand >> (127 - q.exponent);
        const bool half_up = ((q.significand >> (126 - q.exponent)) & 1) != 0;
        n = static_cast<std::int64_t>(whole) + (half_up ? 1 : 0);
        if (q.negative) n = -n;
    } else if (q.exponent == -1) {
        n = q.negative ? -1 : 1;
    }
    const WideFloat r = t - wide(n) * kLn2;
    // e^r as its Taylor series; the terms fall below 2^-130 within 30 steps.
    WideFloat sum = wide(1);
    WideFloat term = wide(1);
    for (std::uint64_t i = 1; i < 60; ++i) {
        term = divided(term * r, i);
        if (term.significand == 0 || term.exponent < -130) break;
        sum = sum + term;
    }
    return round_pack(false, static_cast<std::int32_t>(sum.exponent + n) + Real::kBias,
                      high(sum.significand), low(sum.significand));
}

}  // namespace cp::detail
