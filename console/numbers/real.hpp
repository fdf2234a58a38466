#pragma once
// The working numeric format: every expression of the program is evaluated in
// IEEE 754 double-extended precision. One alias, so that a software type could
// stand in on a processor without an 80-bit format.
#include <cstdint>
#include <limits>

namespace cp {

using Real = long double;
static_assert(std::numeric_limits<Real>::digits == 64,
              "collatzperm needs a long double with a 64-bit significand (x86-64 extended)");

// Stores into integer variables: nearest integer, halves to even; anything out
// of range (infinities and NaN too) stores the most negative value of the type.
std::int64_t to_int64(Real x);
std::int32_t to_int32(Real x);

}  // namespace cp
