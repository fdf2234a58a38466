#pragma once
// The counter behind count_levels, with the choice it makes for itself open
// to tests and benchmarks.
#include <optional>

#include "search/level_counts.hpp"

namespace cp {

struct CounterChoices {
    // How many levels at the bottom are counted by residue classes instead of
    // node by node: 0, 6, 8, 10, 12, 13 or 14 (others round down). Unset: the
    // counter chooses by the size of the work and the memory of its jobs.
    std::optional<std::int32_t> residue_levels;
};

std::optional<std::vector<std::uint64_t>> count_levels_with(StepRules rules,
                                                            std::span<const TreePart> parts,
                                                            std::int32_t deepest,
                                                            const CountOptions& options,
                                                            CounterChoices choices);

}  // namespace cp
