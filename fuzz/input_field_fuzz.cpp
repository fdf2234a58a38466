// input_field on any line and field number: a piece of the line, never more.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/strings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the field, -8 to 247.
    const std::int32_t n = static_cast<std::int32_t>(data[0]) - 8;
    const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string field = cp::input_field(line, n);
    if (field.size() > line.size()) std::abort();
    if (line.find(field) == std::string_view::npos) std::abort();
    if (n < 1 && !field.empty()) std::abort();
    // An unquoted field has neither a comma nor blanks at its ends.
    if (field.find(',') != std::string::npos && line.find('"') == std::string_view::npos) {
        std::abort();
    }
    if (!field.empty() && line.find('"') == std::string_view::npos &&
        (field.front() == ' ' || field.back() == ' ')) {
        std::abort();
    }
    // Fields beyond the last are empty.
    std::size_t commas = 0;
    for (const char c : line) commas += c == ',' ? 1 : 0;
    if (line.find('"') == std::string_view::npos && static_cast<std::size_t>(n) > commas + 1 &&
        n > 0 && !field.empty()) {
        std::abort();
    }
    return 0;
}
