#include "console/real.hpp"

#include <cmath>

namespace cp {

namespace {

// Rounds with the processor's default mode (nearest, halves to even) and
// checks the range afterwards, since 2^63 - 0.5 rounds up out of range.
template <typename Int>
Int store_rounded(Real x) {
    constexpr Real lowest = static_cast<Real>(std::numeric_limits<Int>::min());
    const Real r = std::rint(x);
    if (!(r >= lowest && r < -lowest)) return std::numeric_limits<Int>::min();
    return static_cast<Int>(r);
}

}  // namespace

std::int64_t to_int64(Real x) {
    return store_rounded<std::int64_t>(x);
}
std::int32_t to_int32(Real x) {
    return store_rounded<std::int32_t>(x);
}

}  // namespace cp
