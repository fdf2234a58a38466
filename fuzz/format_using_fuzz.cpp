// format_using with the mask and the values from the input: any 80-bit pattern
// (NaN, infinities, denormals, the unnormal encodings) in any mask.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "console/numbers/number_format.hpp"

namespace {
constexpr std::size_t kValueBytes = 10;  // the significand and the sign and exponent
constexpr std::size_t kMaxValues = 8;
constexpr std::size_t kOutputLimit = 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::size_t count = data[0] % (kMaxValues + 1);
    std::size_t pos = 1;
    std::vector<cp::Real> values;
    while (values.size() < count && pos + kValueBytes <= size) {
        // The significand, then the sign and exponent, least significant byte first.
        std::uint64_t significand = 0;
        for (int i = 7; i >= 0; --i)
            significand = significand << 8 | data[pos + static_cast<std::size_t>(i)];
        const auto sign_exponent = static_cast<std::uint16_t>(data[pos + 8] | data[pos + 9] << 8);
        values.push_back(cp::Real::from_bits(sign_exponent, significand));
        pos += kValueBytes;
    }
    const std::string_view mask(reinterpret_cast<const char*>(data) + pos, size - pos);
    const std::string out = cp::format_using(mask, values);
    if (out.size() > kOutputLimit) std::abort();
    if (values.empty() && !out.empty()) std::abort();
    // Each value once more through the 15-digit text form.
    for (const cp::Real x : values) {
        if (cp::number_text(x).empty()) std::abort();
    }
    return 0;
}
