#include "console/numbers/arithmetic.hpp"

#include <algorithm>

#include "console/numbers/exact_integer.hpp"
#include "console/numbers/real_internal.hpp"

namespace cp {

namespace {

constexpr std::int32_t kExponentLimit = 10000;

}  // namespace

Real int_div(Real dividend, Real divisor) {
    // Integers below 2^63 (all the program divides) divide exactly in 64
    // bits: the rounded quotient cannot reach the next integer, as |a| < 2^64.
    std::int64_t i = 0;
    std::int64_t j = 0;
    if (detail::exact_integer(dividend, i) && detail::exact_integer(divisor, j) && j != 0) {
        const std::int64_t q = i / j;
        return q == 0 ? detail::signed_zero(dividend.is_negative() != divisor.is_negative())
                      : Real(q);
    }
    const Real a = rint(dividend);
    const Real b = rint(divisor);
    if (b == 0) {
        if (a == 0 || isnan(a)) return Real::default_nan();
        return detail::signed_infinity(a.is_negative());
    }
    // Values that were not integers, rounded first.
    if (detail::exact_integer(a, i) && detail::exact_integer(b, j)) {
        const std::int64_t q = i / j;
        return q == 0 ? detail::signed_zero(a.is_negative() != b.is_negative()) : Real(q);
    }
    return trunc(a / b);
}

Real remainder(Real dividend, Real divisor) {
    if (divisor == 0) return 0;
    std::int64_t i = 0;
    std::int64_t j = 0;
    if (detail::exact_integer(dividend, i) && detail::exact_integer(divisor, j)) {
        const std::int64_t r = i % j;  // carries the dividend's sign, like fmod
        return r == 0 ? detail::signed_zero(dividend.is_negative()) : Real(r);
    }
    return fmod(dividend, divisor);
}

Real round_to(Real x, std::int32_t decimals) {
    decimals = std::min(decimals, 18);
    if (decimals >= 0) {
        const Real scale = power_of_ten(decimals);
        return rint(x * scale) / scale;
    }
    const Real scale = power_of_ten(-std::max(decimals, -kExponentLimit));
    return rint(x / scale) * scale;
}

Real larger_of(Real a, Real b) {
    return a >= b ? a : b;
}

Real square_root(Real x) {
    return x >= 0 ? sqrt(x) : x;
}

}  // namespace cp
