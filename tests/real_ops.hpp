#pragma once
// The operations of the working format that the differential checks cover, by
// name, each as a function of two operands with a result in the format
// (integer and binary32/64 results converted exactly), and the operands they
// run on: random bit patterns with their exponents close together, so that
// additions interact, and the special and boundary values.
#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/real.hpp"

namespace cp::real_ops {

// Operands of the conversions that take integers, made from the bits of a and b.
inline std::int64_t int64_operand(Real a, Real b) {
    const std::uint64_t magnitude = a.significand() >> (b.significand() & 63);
    return static_cast<std::int64_t>(a.is_negative() ? 0 - magnitude : magnitude);
}
inline Int128 int128_operand(Real a, Real b) {
    const auto shifted = static_cast<Int128>(a.significand()) << (b.significand() & 63);
    return a.is_negative() ? -shifted : shifted;  // below 2^127: no overflow
}
// From a few units to beyond the whole range of the format.
inline std::int32_t shift_operand(Real b) {
    const auto raw = static_cast<std::int16_t>(b.significand() & 0xFFFF);
    return raw >> ((b.significand() >> 16) & 15);
}
inline std::int32_t decimal_operand(Real b) {
    return shift_operand(b) % 5200;
}

inline Real comparisons(Real a, Real b) {
    return (a < b ? 1 : 0) | (a <= b ? 2 : 0) | (a == b ? 4 : 0) | (a > b ? 8 : 0) |
           (a >= b ? 16 : 0) | (a != b ? 32 : 0);
}

struct Op {
    std::string_view name;
    Real (*run)(Real a, Real b);
};

inline constexpr std::array kOps = {
    Op{"add", [](Real a, Real b) { return a + b; }},
    Op{"sub", [](Real a, Real b) { return a - b; }},
    Op{"mul", [](Real a, Real b) { return a * b; }},
    Op{"div", [](Real a, Real b) { return a / b; }},
    Op{"fmod", [](Real a, Real b) { return fmod(a, b); }},
    Op{"compare", comparisons},
    Op{"sqrt", [](Real a, Real) { return sqrt(a); }},
    Op{"rint", [](Real a, Real) { return rint(a); }},
    Op{"trunc", [](Real a, Real) { return trunc(a); }},
    Op{"to_int64", [](Real a, Real) { return Real(to_int64(a)); }},
    Op{"to_int32", [](Real a, Real) { return Real(to_int32(a)); }},
    Op{"to_double", [](Real a, Real) { return Real(static_cast<double>(a)); }},
    Op{"to_binary32", [](Real a, Real) { return Real(to_binary32_bits(a)); }},
    Op{"from_int64", [](Real a, Real b) { return Real(int64_operand(a, b)); }},
    Op{"from_int128", [](Real a, Real b) { return Real(int128_operand(a, b)); }},
    Op{"ldexp", [](Real a, Real b) { return ldexp(a, shift_operand(b)); }},
    Op{"ilogb", [](Real a, Real) { return Real(ilogb(a)); }},
    Op{"scale10", [](Real a, Real b) { return scale_by_power_of_ten(a, decimal_operand(b)); }},
    Op{"int_div", [](Real a, Real b) { return int_div(a, b); }},
    Op{"remainder", [](Real a, Real b) { return remainder(a, b); }},
};

// "SSSS:HHHHHHHHHHHHHHHH": the sign and exponent field and the significand in hex.
inline std::string hex(Real x) {
    char text[24];
    std::snprintf(text, sizeof text, "%04X:%016llX", x.sign_exponent(),
                  static_cast<unsigned long long>(x.significand()));
    return text;
}

inline bool parse_hex(const std::string& text, Real& x) {
    unsigned sign_exponent = 0;
    unsigned long long significand = 0;
    if (std::sscanf(text.c_str(), "%4X:%16llX", &sign_exponent, &significand) != 2) return false;
    x = Real::from_bits(static_cast<std::uint16_t>(sign_exponent), significand);
    return true;
}

inline bool same_bits(Real a, Real b) {
    return a.sign_exponent() == b.sign_exponent() && a.significand() == b.significand();
}

// Values where rounding decides: ties, carries, sticky bits, both ends of the
// range, the integer limits and the halves next to them, NaN and infinities.
inline std::vector<Real> boundary_values() {
    const std::uint64_t ones = ~std::uint64_t{0};
    std::vector<Real> v;
    for (const std::int32_t e :
         {0, 1, 2, Real::kBias - 65, Real::kBias - 64, Real::kBias - 1, Real::kBias,
          Real::kBias + 1, Real::kBias + 30, Real::kBias + 31, Real::kBias + 62, Real::kBias + 63,
          Real::kBias + 64, 0x7FFD, 0x7FFE}) {
        const auto field = static_cast<std::uint16_t>(e);
        for (const std::uint64_t s :
             {Real::kIntegerBit, Real::kIntegerBit | 1, ones, ones - 1,
              Real::kIntegerBit | Real::kQuietBit, Real::kIntegerBit | 0x8000000000000001u >> 1}) {
            const std::uint64_t significand = e == 0 ? s >> 1 : s;
            v.push_back(Real::from_bits(field, significand));
            v.push_back(-Real::from_bits(field, significand));
        }
    }
    for (const Real x : {Real{}, Real::infinity(), Real::default_nan(), Real::from_bits(0, 1),
                         Real::from_bits(0x7FFF, 0x8000000000000001u),  // signalling
                         Real::from_bits(0x7FFF, 0xC000000000000123u)}) {
        v.push_back(x);
        v.push_back(-x);
    }
    return v;
}

// Random operands: mostly finite values whose exponents lie near each other,
// with significands of the shapes that find rounding faults (all ones, one
// bit, a few top bits for integers and halves), and the special values.
class Sampler {
  public:
    explicit Sampler(std::uint64_t seed) : gen_(seed) {}

    std::uint64_t bits() { return gen_(); }

    Real special() {
        static constexpr std::array<Real, 14> kSpecial = {
            Real{},
            -Real{},
            Real::infinity(),
            -Real::infinity(),
            Real::default_nan(),
            Real::from_bits(0, 1),                                   // smallest subnormal
            Real::from_bits(0, Real::kIntegerBit - 1),               // largest subnormal
            Real::from_bits(1, Real::kIntegerBit),                   // smallest normal
            Real::from_bits(0x7FFE, ~std::uint64_t{0}),              // largest finite
            Real::from_bits(Real::kBias + 63, Real::kIntegerBit),    // 2^63
            Real::from_bits(Real::kBias + 62, ~std::uint64_t{0}),    // 2^63 - 1/2
            Real::from_bits(Real::kBias + 30, 0xFFFFFFFF00000000u),  // 2^31 - 1/2
            Real::from_bits(Real::kBias + 31, 0x8000000080000000u),  // 2^31 + 1/2
            Real::from_bits(Real::kBias - 1, Real::kIntegerBit),     // 1/2
        };
        const Real x = kSpecial[gen_() % kSpecial.size()];
        return (gen_() & 1) != 0 ? -x : x;
    }

    Real nan() {
        const bool quiet = (gen_() & 1) != 0;
        std::uint64_t payload = significand() & (Real::kQuietBit - 1);
        if (!quiet && payload == 0) payload = 1;
        const std::uint16_t sign = (gen_() & 1) != 0 ? Real::kSignBit : 0;
        return Real::from_bits(sign | Real::kSpecialExponent,
                               Real::kIntegerBit | (quiet ? Real::kQuietBit : 0) | payload);
    }

    std::uint64_t significand() {
        const std::uint64_t r = gen_();
        switch (gen_() % 8) {
            case 0:
                return ~std::uint64_t{0} << (gen_() % 64);  // ones, then zeros
            case 1:
                return Real::kIntegerBit | std::uint64_t{1} << (gen_() % 63);  // one bit
            case 2:
                return Real::kIntegerBit | r >> 1 >> (gen_() % 63) << (gen_() % 63);
            case 3:
                return Real::kIntegerBit | (r & gen_() & gen_());  // sparse
            case 4:
                return ~std::uint64_t{0} >> (gen_() % 2);  // all ones
            default:
                return Real::kIntegerBit | r;
        }
    }

    std::int32_t exponent() {
        switch (gen_() % 6) {
            case 0:
                return static_cast<std::int32_t>(gen_() % 0x7FFF);  // anywhere
            case 1:
                return static_cast<std::int32_t>(gen_() % 80);  // subnormal edge
            case 2:
                return 0x7FFE - static_cast<std::int32_t>(gen_() % 80);  // overflow edge
            default:
                return Real::kBias - 10 + static_cast<std::int32_t>(gen_() % 80);  // integers
        }
    }

    Real finite(std::int32_t e) {
        std::uint64_t s = significand();
        if (e <= 0) {
            e = 0;
            s &= ~Real::kIntegerBit;  // subnormal
        } else {
            e = e < 0x7FFF ? e : 0x7FFE;
            s |= Real::kIntegerBit;
        }
        const std::uint16_t sign = (gen_() & 1) != 0 ? Real::kSignBit : 0;
        return Real::from_bits(static_cast<std::uint16_t>(sign | e), s);
    }

    Real operand(std::int32_t near) {
        const std::uint64_t kind = gen_() % 32;
        if (kind == 0) return special();
        if (kind == 1) return nan();
        if (kind < 16 && near >= 0) {
            return finite(near + static_cast<std::int32_t>(gen_() % 140) - 70);
        }
        return finite(exponent());
    }

    std::array<Real, 2> pair() {
        const Real a = operand(-1);
        const Real b = operand(a.biased_exponent() == 0x7FFF ? -1 : a.biased_exponent());
        return {a, b};
    }

  private:
    std::mt19937_64 gen_;
};

}  // namespace cp::real_ops
