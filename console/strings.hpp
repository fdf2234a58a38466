#pragma once
// Byte-string operations with 1-based positions.
#include <cstdint>
#include <string>
#include <string_view>

namespace cp {

// a-z and the code page 437 letters ä ö ü é ñ å ç to their capitals.
std::string upper_keys(std::string_view s);
std::string substring(std::string_view s, std::int32_t start, std::int32_t count);
// Replaces bytes of target in place; the target never changes its length.
void overwrite(std::string& target, std::int32_t start, std::int32_t count,
               std::string_view source);
std::string trim_leading(std::string_view s, std::string_view pattern);
std::string remove_all(std::string_view s, std::string_view match);
std::string spaces(std::int32_t n);
std::string char_string(std::int32_t code);
// Code of the first byte, -1 for the empty string.
std::int32_t first_code(std::string_view s);
// Negative, zero or positive, comparing bytes as unsigned numbers.
std::int32_t compare(std::string_view a, std::string_view b);
std::string concat(std::string_view a, std::string_view b);
// Field n (1-based) of a comma-separated line: leading blanks skipped, a quoted
// field without its quotes, trailing blanks dropped; "" beyond the last field.
std::string input_field(std::string_view line, std::int32_t n);

// The marker character: a small filled square in code page 437.
inline constexpr char kMarker = static_cast<char>(254);

}  // namespace cp
