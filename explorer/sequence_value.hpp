#pragma once
// Sequence values of the explorer. Runs are computed exactly in 128 bits, so
// that a sequence passing 2^63 goes on with its true values instead of
// wrapping into negative ones; a step that would leave 128 bits is reported.
#include <cstdint>
#include <limits>
#include <optional>

#include "console/numbers/real.hpp"

namespace cp {

__extension__ using SequenceValue = __int128;
__extension__ using UnsignedSequenceValue = unsigned __int128;

inline Real as_real(SequenceValue v) {
    return static_cast<Real>(v);
}

inline bool is_even(SequenceValue v) {
    return v % 2 == 0;
}
// The odd test of colours and counters: a negative value's remainder is
// negative, so only positive odd values count.
inline bool counts_as_odd(SequenceValue v) {
    return v % 2 > 0;
}

inline bool fits_int64(SequenceValue v) {
    return v >= std::numeric_limits<std::int64_t>::min() &&
           v <= std::numeric_limits<std::int64_t>::max();
}

// n / 2 rounded to the nearest integer, halves to even (exact for even n).
inline SequenceValue halve_to_even(SequenceValue n) {
    const SequenceValue floor_half = n >> 1;  // arithmetic shift: rounds down
    if (is_even(n) || is_even(floor_half)) return floor_half;
    return floor_half + 1;
}

// The result of an odd step m*n + s (then halved in the compressed mode).
struct OddStep {
    SequenceValue value = 0;  // exact, when fits
    bool fits = true;         // false: the value would leave 128 bits
    Real approximate = 0;     // the value in the working format, for showing it
    bool positive_odd = false;
};

inline OddStep odd_step(SequenceValue n, std::int32_t m, std::int32_t s, bool compressed) {
    OddStep step;
    SequenceValue product = 0;
    SequenceValue sum = 0;
    if (!__builtin_mul_overflow(n, static_cast<SequenceValue>(m), &product) &&
        !__builtin_add_overflow(product, static_cast<SequenceValue>(s), &sum)) {
        step.value = compressed ? halve_to_even(sum) : sum;
        step.approximate = as_real(step.value);
        step.positive_odd = counts_as_odd(step.value);
        return step;
    }
    // Out of range: the low bits of the wrapped result are still exact, which
    // is all the parity needs; the sign and size come from the working format.
    step.fits = false;
    const UnsignedSequenceValue wrapped =
        static_cast<UnsignedSequenceValue>(n) * static_cast<UnsignedSequenceValue>(m) +
        static_cast<UnsignedSequenceValue>(s);
    Real approximate = static_cast<Real>(m) * as_real(n) + static_cast<Real>(s);
    bool odd = (wrapped & 1) != 0;
    if (compressed) {
        approximate /= 2;
        odd = !odd && (wrapped & 2) != 0;  // a half rounds to the even neighbour
    }
    step.approximate = approximate;
    step.positive_odd = odd && approximate > 0;
    return step;
}

}  // namespace cp
