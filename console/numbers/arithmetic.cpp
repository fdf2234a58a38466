#include "console/numbers/arithmetic.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace cp {

namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
constexpr Real kInfinity = std::numeric_limits<Real>::infinity();

constexpr std::array<Real, 8> kSmallPowers = {1.0L, 10.0L, 100.0L, 1000.0L, 1e4L, 1e5L, 1e6L, 1e7L};
// 10^(2^(i+3)): one factor per set bit from bit 3 of the decimal exponent up.
constexpr std::array<Real, 10> kFactorPowers = {1e8L,   1e16L,  1e32L,   1e64L,   1e128L,
                                                1e256L, 1e512L, 1e1024L, 1e2048L, 1e4096L};
constexpr std::int32_t kLargestFactorExponent = 4096;
// Beyond this every finite non-zero value overflows or underflows anyway.
constexpr std::int32_t kExponentLimit = 10000;

bool is_integer(Real y) {
    return std::isfinite(y) && y == std::trunc(y);
}

bool is_odd_integer(Real y) {
    return std::fabs(std::fmod(y, 2.0L)) == 1.0L;
}

// 10^n for 0 <= n < 8192 as the product of the small power and the factors.
Real positive_power_of_ten(std::int32_t n) {
    Real p = kSmallPowers[static_cast<std::size_t>(n & 7)];
    for (std::size_t bit = 0; bit < kFactorPowers.size(); ++bit) {
        if (n & (8 << bit)) p *= kFactorPowers[bit];
    }
    return p;
}

}  // namespace

Real power(Real base, Real exponent) {
    if (base < 0) exponent = std::rint(exponent);
    if (exponent == 0) return 1.0L;
    if (base == 0) {
        if (exponent > 0) return 0.0L;
        return kNaN;
    }
    if (is_integer(exponent) && std::fabs(exponent) < 65536.0L) {
        // Square and multiply from the highest bit down: exact for integer
        // bases while the intermediate values stay below 2^64.
        const auto bits = static_cast<std::uint32_t>(std::fabs(exponent));
        Real result = base;
        for (int bit = 30 - __builtin_clz(bits); bit >= 0; --bit) {
            result *= result;
            if (bits & (1u << bit)) result *= base;
        }
        return exponent < 0 ? 1.0L / result : result;
    }
    const Real magnitude = std::pow(std::fabs(base), exponent);
    if (base < 0 && is_odd_integer(exponent)) return -magnitude;
    return magnitude;
}

Real int_div(Real dividend, Real divisor) {
    const Real a = std::rint(dividend);
    const Real b = std::rint(divisor);
    if (b == 0) {
        if (a == 0 || std::isnan(a)) return kNaN;
        return std::copysign(kInfinity, a);
    }
    return std::trunc(a / b);
}

Real remainder(Real dividend, Real divisor) {
    if (divisor == 0) return 0.0L;
    return std::fmod(dividend, divisor);  // exact, and carries the dividend's sign
}

Real round_to(Real x, std::int32_t decimals) {
    decimals = std::min(decimals, 18);
    if (decimals >= 0) {
        const Real scale = power_of_ten(decimals);
        return std::rint(x * scale) / scale;
    }
    const Real scale = power_of_ten(-std::max(decimals, -kExponentLimit));
    return std::rint(x / scale) * scale;
}

Real larger_of(Real a, Real b) {
    return a >= b ? a : b;
}

Real square_root(Real x) {
    return x >= 0 ? std::sqrt(x) : x;
}

Real power_of_ten(std::int32_t exponent) {
    return scale_by_power_of_ten(1.0L, exponent);
}

Real scale_by_power_of_ten(Real x, std::int32_t exponent) {
    exponent = std::clamp(exponent, -kExponentLimit, kExponentLimit);
    const bool divide = exponent < 0;
    std::int32_t n = divide ? -exponent : exponent;
    // The tiniest and the largest values need two steps, or the power itself
    // would leave the range of the format.
    while (n > kLargestFactorExponent) {
        x = divide ? x / kFactorPowers.back() : x * kFactorPowers.back();
        n -= kLargestFactorExponent;
    }
    const Real p = positive_power_of_ten(n);
    return divide ? x / p : x * p;
}

}  // namespace cp
