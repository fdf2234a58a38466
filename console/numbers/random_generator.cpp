#include "console/numbers/arithmetic.hpp"

namespace cp {

namespace {

constexpr std::uint32_t kMultiplier = 134775813u;  // 0x08088405
constexpr std::int64_t kTwoTo31 = std::int64_t{1} << 31;

}  // namespace

void RandomGenerator::randomize(Real seed) {
    state_ = to_binary32_bits(seed);
}

std::int32_t RandomGenerator::random_between(std::int32_t a, std::int32_t b) {
    state_ = state_ * kMultiplier + 1u;  // unsigned: wraps modulo 2^32
    const Real r = static_cast<Real>(state_ >> 1) / kTwoTo31;
    const std::int64_t lo = a < b ? a : b;
    const std::int64_t hi = a < b ? b : a;
    const auto n = static_cast<Real>(hi - lo + 1);  // up to 2^32, exact
    // r has 31 bits and n at most 33, so the product is exact, and not
    // negative: cutting it is the rounding toward minus infinity.
    return static_cast<std::int32_t>(lo + to_int64(trunc(r * n)));
}

}  // namespace cp
