#pragma once
// The working numeric format: every expression of the program is evaluated in
// IEEE 754 double-extended precision (the x87 format: a 64-bit significand
// with an explicit integer bit, a 15-bit exponent, subnormals, infinities and
// NaN, round to nearest with ties to even). It is computed in software, so
// that every processor and compiler gives the same bits; a native long double
// has 53, 64 or 113 bits depending on the platform.
#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

#include "console/numbers/bit_cast.hpp"

namespace cp {

__extension__ using Int128 = __int128;

// The integer types that convert exactly; 128-bit ones round, explicitly.
template <typename T>
concept SmallInteger = std::integral<T> && sizeof(T) <= 8;

class Real {
  public:
    static constexpr std::int32_t kBias = 16383;
    static constexpr std::uint16_t kSpecialExponent = 0x7FFF;  // infinities and NaN
    static constexpr std::uint16_t kSignBit = 0x8000;
    static constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;

    constexpr Real() = default;  // +0

    // Exact: every integer of up to 64 bits fits the significand.
    template <SmallInteger T>
    constexpr Real(T v) {  // NOLINT(google-explicit-constructor): integers mix freely
        if (v == 0) return;
        std::uint64_t magnitude = static_cast<std::uint64_t>(v);
        if constexpr (std::is_signed_v<T>) {
            if (v < 0) {
                magnitude = 0 - magnitude;
                sign_exponent_ = kSignBit;
            }
        }
        const int shift = std::countl_zero(magnitude);
        significand_ = magnitude << shift;
        sign_exponent_ |= static_cast<std::uint16_t>(kBias + 63 - shift);
    }

    // Exact, as binary64 is a subset of the format (a signalling NaN comes back
    // quiet); the program's times and some counters are doubles.
    constexpr Real(double d) {  // NOLINT(google-explicit-constructor)
        const auto bits = bit_cast<std::uint64_t>(d);
        constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
        const auto field = static_cast<std::int32_t>((bits >> 52) & 0x7FF);
        const std::uint64_t fraction = bits & kFraction;
        const std::uint16_t sign = (bits >> 63) != 0 ? kSignBit : 0;
        if (field == 0x7FF) {
            significand_ = kIntegerBit | (fraction == 0 ? 0 : kQuietBit | fraction << 11);
            sign_exponent_ = sign | kSpecialExponent;
        } else if (field == 0) {
            sign_exponent_ = sign;
            if (fraction == 0) return;
            const int shift = std::countl_zero(fraction);
            significand_ = fraction << shift;
            sign_exponent_ |= static_cast<std::uint16_t>(kBias - 1011 - shift);
        } else {
            significand_ = kIntegerBit | fraction << 11;
            sign_exponent_ = sign | static_cast<std::uint16_t>(field - 1023 + kBias);
        }
    }

    // A long double differs between platforms: it never converts silently.
    Real(long double) = delete;

    // Rounded once, to nearest with ties to even.
    explicit Real(Int128 v);

    // The value of a sign-and-exponent field and a significand as the x87
    // reads them: a pseudo-denormal is the same value with exponent 1, and the
    // encodings without the integer bit (unnormals, pseudo-NaN, pseudo-infinity)
    // are invalid operands, which the x87 answers with its default NaN.
    static constexpr Real from_bits(std::uint16_t sign_exponent, std::uint64_t significand) {
        Real r;
        const bool integer_bit = (significand & kIntegerBit) != 0;
        if ((sign_exponent & kSpecialExponent) == 0 && integer_bit) ++sign_exponent;
        if ((sign_exponent & kSpecialExponent) != 0 && !integer_bit) return default_nan();
        r.sign_exponent_ = sign_exponent;
        r.significand_ = significand;
        return r;
    }
    // For fields known to be a valid encoding (integer bit set exactly when the
    // exponent field is not 0): the operations' own results.
    static constexpr Real from_canonical(std::uint16_t sign_exponent, std::uint64_t significand) {
        Real r;
        r.sign_exponent_ = sign_exponent;
        r.significand_ = significand;
        return r;
    }
    static constexpr Real infinity() { return from_bits(kSpecialExponent, kIntegerBit); }
    // What an invalid operation gives: negative, quiet, no payload.
    static constexpr Real default_nan() {
        Real r;
        r.sign_exponent_ = kSignBit | kSpecialExponent;
        r.significand_ = kIntegerBit | kQuietBit;
        return r;
    }

    constexpr std::uint16_t sign_exponent() const { return sign_exponent_; }
    constexpr std::uint64_t significand() const { return significand_; }
    constexpr std::int32_t biased_exponent() const { return sign_exponent_ & kSpecialExponent; }
    constexpr bool is_negative() const { return (sign_exponent_ & kSignBit) != 0; }
    constexpr bool is_zero() const { return significand_ == 0; }
    constexpr bool is_special() const { return biased_exponent() == kSpecialExponent; }
    constexpr bool is_nan() const { return is_special() && significand_ != kIntegerBit; }
    constexpr bool is_infinite() const { return is_special() && significand_ == kIntegerBit; }
    // Zero and the subnormals: the values whose exponent field is 0.
    constexpr bool has_zero_exponent() const { return biased_exponent() == 0; }

    constexpr Real operator-() const {
        Real r = *this;
        r.sign_exponent_ ^= kSignBit;
        return r;
    }

    friend Real operator+(Real a, Real b);
    friend Real operator-(Real a, Real b);
    friend Real operator*(Real a, Real b);
    friend Real operator/(Real a, Real b);
    Real& operator+=(Real b) { return *this = *this + b; }
    Real& operator-=(Real b) { return *this = *this - b; }
    Real& operator*=(Real b) { return *this = *this * b; }
    Real& operator/=(Real b) { return *this = *this / b; }

    // NaN is unordered (equal to nothing, itself included); -0 == +0.
    friend constexpr bool operator==(Real a, Real b) {
        if (a.is_nan() || b.is_nan()) return false;
        if (a.is_zero() && b.is_zero()) return true;
        return a.sign_exponent_ == b.sign_exponent_ && a.significand_ == b.significand_;
    }
    friend constexpr std::partial_ordering operator<=>(Real a, Real b) {
        if (a.is_nan() || b.is_nan()) return std::partial_ordering::unordered;
        if (a.is_zero() && b.is_zero()) return std::partial_ordering::equivalent;
        if (a.is_negative() != b.is_negative()) {
            return a.is_negative() ? std::partial_ordering::less : std::partial_ordering::greater;
        }
        // Same sign: the fields order the magnitudes, subnormals below the normals.
        const auto ea = a.biased_exponent();
        const auto eb = b.biased_exponent();
        std::partial_ordering magnitude = ea != eb ? ea <=> eb : a.significand_ <=> b.significand_;
        if (a.is_negative()) magnitude = 0 <=> magnitude;
        return magnitude;
    }

    // Rounded once to the nearest double, ties to even (times are doubles).
    explicit operator double() const;

  private:
    std::uint64_t significand_ = 0;
    std::uint16_t sign_exponent_ = 0;
};

static_assert(std::is_trivially_copyable_v<Real> && sizeof(Real) <= 16,
              "Real is passed and stored by value everywhere");

// The <cmath> operations the program uses, on the working format.
constexpr bool isnan(Real x) {
    return x.is_nan();
}
constexpr bool isinf(Real x) {
    return x.is_infinite();
}
constexpr bool isfinite(Real x) {
    return !x.is_special();
}
constexpr bool signbit(Real x) {
    return x.is_negative();
}
constexpr Real abs(Real x) {
    return Real::from_bits(x.sign_exponent() & Real::kSpecialExponent, x.significand());
}
Real rint(Real x);   // nearest integer, halves to even
Real trunc(Real x);  // toward zero
Real sqrt(Real x);
// x - q*y with q = x/y cut toward zero, exact; the sign of x.
Real fmod(Real x, Real y);
// x * 2^n, rounded once.
Real ldexp(Real x, std::int32_t n);
// The exponent of x as x = m * 2^e with 1 <= m < 2 (x finite and not zero;
// INT_MIN for zero and NaN, INT_MAX for infinities).
std::int32_t ilogb(Real x);
// The binary32 bit pattern of x, rounded once (nearest, ties to even).
std::uint32_t to_binary32_bits(Real x);

// Stores into integer variables: nearest integer, halves to even; anything out
// of range (infinities and NaN too) stores the most negative value of the type.
std::int64_t to_int64(Real x);
std::int32_t to_int32(Real x);

}  // namespace cp
