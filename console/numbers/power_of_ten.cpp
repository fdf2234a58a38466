#include <algorithm>
#include <array>

#include "console/numbers/arithmetic.hpp"

namespace cp {

namespace {

constexpr std::array<Real, 8> kSmallPowers = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
// 10^(2^(i+3)): one factor per set bit from bit 3 of the decimal exponent up.
// From 10^32 on they are not exact; these are the correctly rounded values
// (what a compiler makes of the literals 1e32L and so on), which repeated
// multiplication in 64 bits would not give.
constexpr std::array<Real, 10> kFactorPowers = {
    Real::from_bits(0x4019, 0xBEBC200000000000),  // 1e8
    Real::from_bits(0x4034, 0x8E1BC9BF04000000),  // 1e16
    Real::from_bits(0x4069, 0x9DC5ADA82B70B59E),  // 1e32
    Real::from_bits(0x40D3, 0xC2781F49FFCFA6D5),  // 1e64
    Real::from_bits(0x41A8, 0x93BA47C980E98CE0),  // 1e128
    Real::from_bits(0x4351, 0xAA7EEBFB9DF9DE8E),  // 1e256
    Real::from_bits(0x46A3, 0xE319A0AEA60E91C7),  // 1e512
    Real::from_bits(0x4D48, 0xC976758681750C17),  // 1e1024
    Real::from_bits(0x5A92, 0x9E8B3B5DC53D5DE5),  // 1e2048
    Real::from_bits(0x7525, 0xC46052028A20979B),  // 1e4096
};
constexpr std::int32_t kLargestFactorExponent = 4096;
// Beyond this every finite non-zero value overflows or underflows anyway.
constexpr std::int32_t kExponentLimit = 10000;

// 10^n for 0 <= n < 8192 as the product of the small power and the factors.
Real positive_power_of_ten(std::int32_t n) {
    Real p = kSmallPowers[static_cast<std::size_t>(n & 7)];
    for (std::size_t bit = 0; bit < kFactorPowers.size(); ++bit) {
        if (n & (8 << bit)) p *= kFactorPowers[bit];
    }
    return p;
}

}  // namespace

Real factor_power_of_ten(std::int32_t index) {
    return kFactorPowers[static_cast<std::size_t>(index)];
}

Real power_of_ten(std::int32_t exponent) {
    return scale_by_power_of_ten(1, exponent);
}

Real scale_by_power_of_ten(Real x, std::int32_t exponent) {
    if (exponent == 0 && !isnan(x)) return x;  // typed integers
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
