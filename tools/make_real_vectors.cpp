// Writes the recorded vectors of the working format: operations with the
// x87's results, which the tests then check on every platform, emulators
// included. Run on x86-64 Linux:
//   cmake --build build-test --target real_vectors
#include <cstdio>
#include <fstream>
#include <iostream>

#include "x87_oracle.hpp"

namespace {

constexpr int kPerOperation = 150;
constexpr std::uint64_t kSeed = 1987;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_real_vectors FILE\n";
        return 2;
    }
    if (!cp::x87::available()) {
        std::cerr << "make_real_vectors: the results come from the x87: run it on x86-64 Linux\n";
        return 1;
    }
    using namespace cp;
    std::ofstream out(argv[1]);
    out << "# The working format against the x87: operation, operands, result, as\n"
           "# sign-and-exponent:significand in hex. Written by tools/make_real_vectors.cpp\n"
           "# on x86-64; the power lines hold the software's own results (no hardware\n"
           "# instruction computes them), so that every platform gives the same bits.\n";
    real_ops::Sampler sampler(kSeed);
    const std::vector<Real> boundary = real_ops::boundary_values();
    const auto operands = [&](int k) -> std::array<Real, 2> {
        if (k % 3 != 0) return sampler.pair();
        return {boundary[sampler.bits() % boundary.size()],
                boundary[sampler.bits() % boundary.size()]};
    };
    int disagreements = 0;
#ifdef __GLIBC__
    for (std::size_t i = 0; i < real_ops::kOps.size(); ++i) {
        for (int k = 0; k < kPerOperation; ++k) {
            const auto [a, b] = operands(k);
            const Real result = x87::run(i, a, b);
            if (!real_ops::same_bits(result, real_ops::kOps[i].run(a, b))) ++disagreements;
            out << real_ops::kOps[i].name << ' ' << real_ops::hex(a) << ' ' << real_ops::hex(b)
                << ' ' << real_ops::hex(result) << '\n';
        }
    }
#endif
    for (int k = 0; k < kPerOperation; ++k) {
        auto [x, y] = operands(k);
        if (k % 2 == 0) y = Real(static_cast<double>(y) / 1e4);  // results in range
        out << "power " << real_ops::hex(x) << ' ' << real_ops::hex(y) << ' '
            << real_ops::hex(power(x, y)) << '\n';
    }
    if (disagreements != 0) {
        std::cerr << "make_real_vectors: " << disagreements
                  << " results differ from the software\n";
        return 1;
    }
    return out ? 0 : 1;
}
