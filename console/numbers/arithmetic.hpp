#pragma once
// The numeric operations of the program, with the rounding rules of the
// working format rather than those of C++ integer arithmetic.
#include <cstdint>

#include "console/numbers/real.hpp"

namespace cp {

Real power(Real base, Real exponent);
// Operands rounded to integers (halves to even), quotient cut toward zero;
// a zero divisor gives an infinity with the dividend's sign, 0/0 gives NaN.
Real int_div(Real dividend, Real divisor);
// a - q*b with q = a/b cut toward zero, exact; sign of a; zero divisor gives 0.
Real remainder(Real dividend, Real divisor);
// Nearest multiple of 10^-decimals, halves to even; decimals above 18 mean 18.
Real round_to(Real x, std::int32_t decimals);
Real larger_of(Real a, Real b);
// Square root; a negative value comes back unchanged.
Real square_root(Real x);
// The factor 10^(2^(index + 3)) of the table below (index 0..9).
Real factor_power_of_ten(std::int32_t index);
// Exact powers of ten from 10^0..10^7 and the factors 10^8, 10^16, ... 10^4096.
Real power_of_ten(std::int32_t exponent);
// x times 10^exponent with the same factors: multiplied in for a positive,
// divided out for a negative exponent, so that x / 10^n rounds only once.
Real scale_by_power_of_ten(Real x, std::int32_t exponent);

// The program's random-number generator: one 32-bit word of state.
class RandomGenerator {
  public:
    void randomize(Real seed);
    std::int32_t random_between(std::int32_t a, std::int32_t b);
    std::uint32_t state() const { return state_; }

  private:
    std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace cp
