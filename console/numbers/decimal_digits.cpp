#include <algorithm>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/decimal_writer.hpp"
#include "console/numbers/number_format.hpp"

namespace cp {

namespace {

constexpr Real kTenTo17 = std::int64_t{100000000000000000};
constexpr Real kTenTo18 = std::int64_t{1000000000000000000};

// |x| * 10^(17 - k) rounded to an integer, halves to even.
Real scaled_significand(Real magnitude, std::int32_t k) {
    return rint(scale_by_power_of_ten(magnitude, 17 - k));
}

}  // namespace

DecimalDigits decimal_digits(Real x, std::int32_t n) {
    n = std::clamp(n, 1, 19);
    DecimalDigits result;
    result.count = n;
    if (x.has_zero_exponent() || isnan(x)) {
        std::fill_n(result.digits.begin(), n, '0');
        return result;
    }
    result.negative = signbit(x);
    if (isinf(x)) {
        std::fill_n(result.digits.begin(), n, '9');
        result.exponent = 999;
        return result;
    }

    const Real magnitude = abs(x);
    const std::int32_t b = ilogb(magnitude);
    // 19728/65536 is a little below log10(2); the shift floors negative products too.
    std::int32_t k = (b * 19728) >> 16;
    Real s = scaled_significand(magnitude, k);
    if (s >= kTenTo18) {
        s = rint(s / 10);
        ++k;
    } else if (s < kTenTo17) {
        // Far below 1 the estimate can come out one too large (first at 2^-681);
        // without this the digits would start with a 0.
        --k;
        s = scaled_significand(magnitude, k);
        if (s >= kTenTo18) {
            s = rint(s / 10);
            ++k;
        }
    }

    // The 18 digits of s and two zeros; rounding looks at digit n+1 alone.
    char all[20];
    detail::write_decimal_fixed(all, 18, static_cast<std::uint64_t>(to_int64(s)));
    all[18] = all[19] = '0';
    const char next = all[n];
    const bool odd = ((all[n - 1] - '0') & 1) != 0;
    if (next > '5' || (next == '5' && odd)) {
        int i = n - 1;
        while (i >= 0 && all[i] == '9') all[i--] = '0';
        if (i >= 0) {
            ++all[i];
        } else {
            all[0] = '1';
            ++k;
        }
    }
    std::copy_n(all, n, result.digits.begin());
    result.exponent = k + 1;
    return result;
}

}  // namespace cp
