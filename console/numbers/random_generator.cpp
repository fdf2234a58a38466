#include <bit>
#include <cmath>
#include <limits>

#include "console/numbers/arithmetic.hpp"

namespace cp {

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;  // 0x08088405

// IEEE rounding to binary32 overflows to infinity from here on (FLT_MAX plus
// half of its last place); a plain conversion beyond FLT_MAX is undefined.
constexpr Real kBinary32Overflow = 0x1.ffffffp127L;

float to_binary32(Real x) {
    if (std::isnan(x)) return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(x) >= kBinary32Overflow) {
        return std::copysign(std::numeric_limits<float>::infinity(),
                             static_cast<float>(x > 0 ? 1 : -1));
    }
    return static_cast<float>(x);
}

}  // namespace

void RandomGenerator::randomize(Real seed) {
    state_ = std::bit_cast<std::uint32_t>(to_binary32(seed));
}

std::int32_t RandomGenerator::random_between(std::int32_t a, std::int32_t b) {
    state_ = state_ * kMultiplier + 1u;  // unsigned: wraps modulo 2^32
    const Real r = static_cast<Real>(state_ >> 1) / 2147483648.0L;
    const std::int64_t lo = a < b ? a : b;
    const std::int64_t hi = a < b ? b : a;
    const auto n = static_cast<Real>(hi - lo + 1);  // up to 2^32, exact
    // r has 31 bits and n at most 33, so the product is exact and floor is the
    // rounding toward minus infinity.
    return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(std::floor(r * n)));
}

}  // namespace cp
