#include "console/numbers/real.hpp"

#include <cmath>

#include "console/numbers/exact_integer.hpp"

namespace cp {

namespace {

// Rounds with the processor's default mode (nearest, halves to even) and
// checks the range afterwards, since 2^63 - 0.5 rounds up out of range.
std::int64_t store_rounded(Real x) {
    constexpr Real lowest = static_cast<Real>(std::numeric_limits<std::int64_t>::min());
    const Real r = std::rint(x);
    if (!(r >= lowest && r < -lowest)) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

}  // namespace

std::int64_t to_int64(Real x) {
    // Every store goes through here, and most values are small enough for the shift.
    if (std::fabs(x) < detail::kShiftableLimit) {
        return detail::shifted_to_int64(x + detail::kRoundingShift);
    }
    return store_rounded(x);
}

std::int32_t to_int32(Real x) {
    constexpr std::int64_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int32_t>::max();
    if (!(std::fabs(x) < detail::kShiftableLimit)) return static_cast<std::int32_t>(lowest);
    const std::int64_t r = detail::shifted_to_int64(x + detail::kRoundingShift);
    return static_cast<std::int32_t>(r >= lowest && r <= highest ? r : lowest);
}

}  // namespace cp
