// parse_number on any text: a finite value (never NaN), whatever the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/numbers/parse_number.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const cp::Real value = cp::parse_number(text);
    if (cp::isnan(value) || cp::isinf(value)) std::abort();
    // Leading blanks never change the number.
    if (cp::parse_number(" " + std::string(text)) != value) std::abort();
    // A minus in front of digits negates them exactly.
    if (!text.empty() && text[0] >= '0' && text[0] <= '9' &&
        cp::parse_number("-" + std::string(text)) != -value) {
        std::abort();
    }
    return 0;
}
