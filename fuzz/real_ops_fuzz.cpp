// Every operation of the working format on operands from the input, checked
// bit for bit against the x87. Each 21 bytes are two operands (significand,
// then sign and exponent, least significant byte first) and a byte that may
// move the second operand's exponent next to the first's, where additions
// interact. At the end the number of operations checked goes to stderr.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "x87_oracle.hpp"

namespace {

constexpr std::size_t kOperandBytes = 10;
constexpr std::size_t kPairBytes = 2 * kOperandBytes + 1;

cp::Real operand(const std::uint8_t* p) {
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) significand = significand << 8 | p[i];
    return cp::Real::from_bits(static_cast<std::uint16_t>(p[8] | p[9] << 8), significand);
}

struct Count {
    unsigned long long operations = 0;
    ~Count() {
        std::fprintf(stderr, "real_ops_fuzz: %llu operations checked, 0 differed\n", operations);
    }
};
Count count;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#ifdef __GLIBC__
    if (!cp::x87::available()) return 0;
    for (std::size_t pos = 0; pos + kPairBytes <= size; pos += kPairBytes) {
        const cp::Real a = operand(data + pos);
        cp::Real b = operand(data + pos + kOperandBytes);
        const std::uint8_t near = data[pos + 2 * kOperandBytes];
        if ((near & 1) != 0 && !a.is_special()) {
            const int e = a.biased_exponent() + (near >> 1) - 64;
            if (e > 0 && e < cp::Real::kSpecialExponent) {
                b = cp::Real::from_bits(
                    static_cast<std::uint16_t>((b.sign_exponent() & cp::Real::kSignBit) | e),
                    b.significand() | cp::Real::kIntegerBit);
            }
        }
        for (std::size_t i = 0; i < cp::real_ops::kOps.size(); ++i) {
            const cp::Real soft = cp::real_ops::kOps[i].run(a, b);
            const cp::Real hard = cp::x87::run(i, a, b);
            ++count.operations;
            if (!cp::real_ops::same_bits(soft, hard)) {
                std::fprintf(stderr, "%s %s %s: software %s, x87 %s\n",
                             std::string(cp::real_ops::kOps[i].name).c_str(),
                             cp::real_ops::hex(a).c_str(), cp::real_ops::hex(b).c_str(),
                             cp::real_ops::hex(soft).c_str(), cp::real_ops::hex(hard).c_str());
                std::abort();
            }
        }
    }
#else
    (void)data, (void)size;
#endif
    return 0;
}
