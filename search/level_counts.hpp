#pragma once
// How many values the backward tree holds at each depth: the number of start
// numbers of every 2^i, without listing them.
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "search/tree.hpp"

namespace cp {

// Work done, in units of the counter's own choosing, against the work there
// is; written by the counter, read by whoever shows progress.
struct WorkProgress {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> total{0};
};

struct CountOptions {
    std::int32_t jobs = 1;
    // Polled while counting; once set, the count gives up.
    const std::atomic<bool>* stop = nullptr;
    WorkProgress* progress = nullptr;
};

// For every depth d from 0 to `deepest`, the nodes of depth d in the parts
// (a part with `below` counts its node and every node under it down to
// `deepest`, one without counts its node alone). Nothing when stopped, or
// when `deepest` is beyond kDeepestLevel.
std::optional<std::vector<std::uint64_t>> count_levels(StepRules rules,
                                                       std::span<const TreePart> parts,
                                                       std::int32_t deepest,
                                                       const CountOptions& options = {});

}  // namespace cp
