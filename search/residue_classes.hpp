#pragma once
// Residue classes of tree values modulo powers of 3, which decide everything
// below a node of depth 3 or more.
#include <cstdint>

#include "search/tree.hpp"

namespace cp {

template <class Word = std::uint64_t>
constexpr Word power_of_three(std::int32_t n) {
    Word p = 1;
    for (std::int32_t i = 0; i < n; ++i) p *= 3;
    return p;
}

// A value has a predecessor child when it is this modulo 3 (and, in the
// plain modes, even).
constexpr std::uint64_t branching_residue(StepRules rules) {
    return (rules.compressed == (rules.sign > 0)) ? 2 : 1;
}

// Of a node whose value is r modulo 3 * m (m a power of 3): its doubled
// child modulo m, and its predecessor modulo m when r is branching.
constexpr std::uint64_t doubled_residue(std::uint64_t r, std::uint64_t m) {
    return 2 * (r % m) % m;
}
constexpr std::uint64_t predecessor_residue(std::uint64_t r, std::uint64_t m, StepRules rules) {
    const std::uint64_t base = rules.compressed ? 2 * r : r;
    const std::uint64_t p = (rules.sign > 0 ? base - 1 : base + 1) / 3;
    return p >= m ? p - m : p;
}

}  // namespace cp
