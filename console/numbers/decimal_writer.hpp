#pragma once
// Writing unsigned integers as decimal digits, two at a time, for the hot
// number-printing paths (no allocation, no locale).
#include <cstdint>

namespace cp::detail {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Number of decimal digits of v (1 for 0). Most printed numbers are short:
// a comparison or two.
inline int decimal_length(std::uint64_t v) {
    int n = 1;
    for (;;) {
        if (v < 10) return n;
        if (v < 100) return n + 1;
        if (v < 1000) return n + 2;
        if (v < 10000) return n + 3;
        v /= 10000;
        n += 4;
    }
}

// Writes the digits of v so that they end just before `end`; returns the
// position of the first digit. Four digits per division of the whole value.
inline char* write_decimal_backward(char* end, std::uint64_t v) {
    while (v >= 10000) {
        const auto four = static_cast<std::uint32_t>(v % 10000);
        v /= 10000;
        const std::uint32_t high = four / 100;
        const std::uint32_t low = four - high * 100;
        end -= 4;
        end[0] = kDigitPairs[2 * high];
        end[1] = kDigitPairs[2 * high + 1];
        end[2] = kDigitPairs[2 * low];
        end[3] = kDigitPairs[2 * low + 1];
    }
    while (v >= 100) {
        const auto pair = static_cast<unsigned>(v % 100) * 2;
        v /= 100;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
    }
    if (v >= 10) {
        const auto pair = static_cast<unsigned>(v) * 2;
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
    } else {
        *--end = static_cast<char>('0' + v);
    }
    return end;
}

// Writes exactly `width` digits of v (with leading zeros) from `begin` on.
inline void write_decimal_fixed(char* begin, int width, std::uint64_t v) {
    char* end = begin + width;
    while (end != begin) {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    }
}

// write_decimal_backward for a 128-bit value: nineteen digits at
// a time, the last first.
__extension__ using DecimalWide = unsigned __int128;
inline char* write_wide_decimal_backward(char* end, DecimalWide v) {
    constexpr std::uint64_t kPiece = 10'000'000'000'000'000'000u;
    while (v >> 64 != 0) {
        const auto low = static_cast<std::uint64_t>(v % kPiece);
        v /= kPiece;
        end -= 19;
        write_decimal_fixed(end, 19, low);
    }
    return write_decimal_backward(end, static_cast<std::uint64_t>(v));
}

}  // namespace cp::detail
