#include "search/level_counts.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <utility>

#include "console/jobs.hpp"
#include "search/chain_walk.hpp"
#include "search/level_counter.hpp"
#include "search/residue_levels.hpp"
#include "search/weighed_cut.hpp"

namespace cp {

namespace {

using chain::Wide;

// The residue levels the counter is built for, most first.
constexpr std::array<std::int32_t, 6> kResidueLevels = {14, 13, 12, 10, 8, 6};
// The first depth the counter takes by residues: above it the test p > 1
// keeps 1 out of the tree, which residues do not see.
constexpr std::int32_t kFirstResidueDepth = 3;
// Below the exact top, 64-bit residues modulo 3^39 serve 39 levels.
constexpr std::int32_t kNarrowLevels = chain::Residues<std::uint64_t>::kPower;
constexpr Wide kNarrowModulus = power_of_three<Wide>(kNarrowLevels);
// Memory the jobs' cells and the carried levels may take together, so that
// the whole process stays within 64 MiB.
constexpr std::uint64_t kMemoryBudget = std::uint64_t{52} << 20;
// Spills a job collects before it hands its cells over.
constexpr std::size_t kSpillsToHandOver = std::size_t{1} << 16;
// Parts for the jobs: a few dozen a job keep every job busy to the end, and
// one about every 50 ms (some 3 million nodes at the frontier) keeps the
// progress moving; more would cost memory next to the cells.
constexpr std::size_t kLeastPartsPerJob = 64;
constexpr double kFrontierNodesPerPart = 3e6;
constexpr std::size_t kMostParts = std::size_t{1} << 15;
constexpr std::int32_t kProgressBits = 40;

std::size_t cells_for(std::int32_t levels) {
    return static_cast<std::size_t>(power_of_three(levels) + power_of_three(levels - 1));
}

std::uint64_t memory_for(std::int32_t levels, std::int32_t jobs) {
    const std::uint64_t carried = 8 * static_cast<std::uint64_t>(cells_for(levels - 1));
    return FrontierCells::bytes_for(cells_for(levels)) * static_cast<std::uint64_t>(jobs) + carried;
}

// Everything under a node, node by node: the few nodes near the top and the
// bottom, and trees too small for residues.
void count_every_node(const TreeNode& node, StepRules rules, std::int32_t deepest,
                      std::vector<std::uint64_t>& counts) {
    ++counts[static_cast<std::size_t>(node.depth)];
    if (node.depth == deepest) return;
    count_every_node(doubled(node), rules, deepest, counts);
    if (const auto p = multiplied(node, rules)) count_every_node(*p, rules, deepest, counts);
}

// About the nodes of a depth in parts whose estimates sum to `work`.
double nodes_at(const SubtreeEstimate& estimate, Estimate work, std::int32_t depth) {
    return static_cast<double>(work / std::max<Estimate>(estimate.per_node(depth), 1));
}

// The residue levels for the work: the walk above them costs about a node
// of their top level each, the cells about their number in every job.
std::int32_t choose_levels(const SubtreeEstimate& estimate, Estimate work, std::int32_t deepest,
                           std::int32_t jobs) {
    std::int32_t best = 0;
    double best_cost = nodes_at(estimate, work, deepest) * 20;
    for (const std::int32_t levels : kResidueLevels) {
        if (deepest - levels < kFirstResidueDepth || memory_for(levels, jobs) > kMemoryBudget) {
            continue;
        }
        const double cost = nodes_at(estimate, work, deepest - levels) * 16 +
                            static_cast<double>(power_of_three(levels)) * jobs * 4;
        if (cost < best_cost) {
            best = levels;
            best_cost = cost;
        }
    }
    return best;
}

std::int32_t supported_levels(std::int32_t wanted, std::int32_t deepest) {
    for (const std::int32_t levels : kResidueLevels) {
        if (levels <= wanted && deepest - levels >= kFirstResidueDepth) return levels;
    }
    return 0;
}

// What the jobs share.
struct Shared {
    StepRules rules;
    std::int32_t deepest = 0;
    const CountOptions* options = nullptr;
    std::vector<WeighedPart> parts;
    std::vector<std::uint64_t> units;  // of progress, a part
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stopped{false};
    std::mutex mutex;  // for carried
    std::unique_ptr<ResidueLevels> carried;

    bool should_stop() {
        if (options->stop && options->stop->load(std::memory_order_relaxed)) stopped = true;
        return stopped.load(std::memory_order_relaxed);
    }
};

// What a job counts for itself.
struct JobCounts {
    std::vector<std::int64_t> steps;  // runs of one node a level: +1 where one starts, -1 after it
    std::vector<std::uint64_t> nodes;
    FrontierCells cells;
};

// The chain walk's frontier: a chain's node there goes into the job's cells
// by its residue modulo 3^Levels.
template <std::int32_t Levels>
struct CellFrontier {
    static constexpr std::uint64_t kTop = power_of_three(Levels);
    static constexpr std::uint64_t kNext = kTop / 3;

    // 2^k modulo 3^Levels, with 2^64 times it over 3^Levels: x times it
    // modulo 3^Levels is then two multiplications and a high half away
    // (Shoup's way), with no division.
    struct Factor {
        std::uint64_t value;
        std::uint64_t scaled;
    };

    FrontierCells* cells;
    std::int64_t* steps;
    std::int32_t frontier;
    std::array<Factor, kDeepestLevel + 1> twice_to;

    CellFrontier(JobCounts& job, std::int32_t frontier_depth)
        : cells(&job.cells), steps(job.steps.data()), frontier(frontier_depth) {
        std::uint64_t power = 1;
        for (Factor& factor : twice_to) {
            factor = {power, static_cast<std::uint64_t>((Wide{power} << 64) / kTop)};
            power = 2 * power % kTop;
        }
    }

    static std::uint64_t times(std::uint64_t x, Factor factor) {
        const auto quotient = static_cast<std::uint64_t>((Wide{x} * factor.scaled) >> 64);
        const std::uint64_t r = x * factor.value - quotient * kTop;
        return r >= kTop ? r - kTop : r;
    }

    bool take(std::uint64_t x, std::uint64_t, std::int32_t depth, bool odd) {
        if (odd && depth == frontier) {
            // The plain modes keep only even nodes by class: this one counts
            // here, its child twice it a level down.
            ++steps[frontier];
            --steps[frontier + 1];
            cells->add(static_cast<std::uint32_t>(kTop + 2 * (x % kNext) % kNext));
        } else {
            cells->add(static_cast<std::uint32_t>(
                times(x, twice_to[static_cast<std::size_t>(frontier - depth)])));
        }
        return true;
    }
};

// Beyond depth 100 values outgrow 64 bits before their residues may shrink
// to them: a 128-bit walk goes first and hands each chain's node 39 levels
// above the bottom to the 64-bit walk.
template <class Narrow>
struct Handover {
    Narrow* narrow;
    std::int32_t frontier;

    bool take(Wide x, Wide, std::int32_t depth, bool odd) {
        const Wide node = x << (frontier - depth);  // exact: this frontier is at most 88 deep
        return narrow->walk(static_cast<std::uint64_t>(node % kNarrowModulus),
                            static_cast<std::uint64_t>(kNarrowModulus), frontier,
                            odd && depth == frontier);
    }
};

// Hands the parts out to the jobs, one at a time: a node alone is counted
// here, one with nodes under it by count_below, whose false (or the stop
// flag) ends every job.
template <class CountBelow>
void take_parts(Shared& shared, JobCounts& job, CountBelow&& count_below) {
    for (std::size_t i = shared.next++; i < shared.parts.size(); i = shared.next++) {
        const TreePart& part = shared.parts[i].part;
        if (part.node.depth <= shared.deepest) {
            if (!part.below) {
                ++job.nodes[static_cast<std::size_t>(part.node.depth)];
            } else if (!count_below(part.node)) {
                shared.stopped = true;
            }
        }
        if (shared.should_stop()) return;
        if (shared.options->progress) shared.options->progress->done += shared.units[i];
    }
}

template <std::int32_t Levels, class RuleType>
void run_job(Shared& shared, JobCounts& job) {
    const std::int32_t deepest = shared.deepest;
    const std::int32_t frontier = deepest - Levels;
    const std::int32_t wide_frontier = deepest - kNarrowLevels;
    const bool wide_top = deepest > 100;
    const std::atomic<bool>* stop = shared.options->stop;

    CellFrontier<Levels> cells(job, frontier);
    using Narrow = chain::ChainWalker<std::uint64_t, RuleType, CellFrontier<Levels>>;
    Narrow narrow(frontier, deepest, job.steps.data(), cells, stop);
    Handover<Narrow> handover{&narrow, wide_frontier};
    chain::ChainWalker<Wide, RuleType, Handover<Narrow>> wide(wide_frontier, deepest,
                                                              job.steps.data(), handover, stop);

    const auto walk = [&](const auto& self, const TreeNode& node) -> bool {
        if (node.depth > frontier) {
            count_every_node(node, shared.rules, deepest, job.nodes);
            return true;
        }
        if (node.depth < kFirstResidueDepth) {
            ++job.nodes[static_cast<std::size_t>(node.depth)];
            if (!self(self, doubled(node))) return false;
            const auto p = multiplied(node, shared.rules);
            return !p || self(self, *p);
        }
        const bool odd = (node.value & 1) != 0;
        if (wide_top && node.depth < wide_frontier) {
            return wide.walk(node.value, power_of_three<Wide>(chain::Residues<Wide>::kPower),
                             node.depth, odd);
        }
        const Wide x = node.depth <= chain::Residues<std::uint64_t>::kExactDepth
                           ? node.value
                           : node.value % kNarrowModulus;
        return narrow.walk(static_cast<std::uint64_t>(x),
                           static_cast<std::uint64_t>(kNarrowModulus), node.depth, odd);
    };

    take_parts(shared, job, [&](const TreeNode& node) {
        const bool walked = walk(walk, node);
        if (job.cells.spills.size() >= kSpillsToHandOver) {
            const std::lock_guard lock(shared.mutex);
            shared.carried->take(job.cells);
        }
        return walked;
    });
}

// Trees too small for residues: every node counted.
void run_small_job(Shared& shared, JobCounts& job) {
    take_parts(shared, job, [&](const TreeNode& node) {
        count_every_node(node, shared.rules, shared.deepest, job.nodes);
        return true;
    });
}

template <std::size_t... I>
void run_job_for(std::int32_t levels, Shared& shared, JobCounts& job, std::index_sequence<I...>) {
    chain::with_rule(shared.rules, [&](auto rule) {
        using RuleType = decltype(rule);
        const bool known = ((levels == kResidueLevels[I]
                                 ? (run_job<kResidueLevels[I], RuleType>(shared, job), true)
                                 : false) ||
                            ...);
        if (!known) run_small_job(shared, job);
    });
}

}  // namespace

std::optional<std::vector<std::uint64_t>> count_levels_with(StepRules rules,
                                                            std::span<const TreePart> parts,
                                                            std::int32_t deepest,
                                                            const CountOptions& options,
                                                            CounterChoices choices) {
    if (deepest < 0) return std::vector<std::uint64_t>{};
    // Deeper values would leave 128 bits.
    if (deepest > kDeepestLevel) return std::nullopt;
    const std::int32_t jobs = std::max(1, options.jobs);
    const SubtreeEstimate estimate(rules, deepest);
    Estimate work = 0;
    for (const TreePart& part : parts) {
        if (part.below) work += estimate.of(part.node);
    }
    const std::int32_t levels = choices.residue_levels
                                    ? supported_levels(*choices.residue_levels, deepest)
                                    : choose_levels(estimate, work, deepest, jobs);

    Shared shared;
    shared.rules = rules;
    shared.deepest = deepest;
    shared.options = &options;
    const double frontier_nodes = nodes_at(estimate, work, deepest - levels);
    const auto wanted_parts = static_cast<std::size_t>(
        std::min(frontier_nodes / kFrontierNodesPerPart, static_cast<double>(kMostParts)));
    shared.parts = weighed_cut(
        rules, parts, deepest,
        std::clamp(wanted_parts, kLeastPartsPerJob * static_cast<std::size_t>(jobs), kMostParts));
    // Progress in units of the parts' estimated work, about 2^40 for the whole.
    const Estimate unit = std::max<Estimate>(work >> kProgressBits, 1);
    std::uint64_t total_units = 0;
    for (const WeighedPart& part : shared.parts) {
        const auto units = static_cast<std::uint64_t>(part.weight / unit);
        shared.units.push_back(units);
        total_units += units;
    }
    if (options.progress) {
        options.progress->done = 0;
        options.progress->total = total_units;
    }
    if (levels > 0) shared.carried = std::make_unique<ResidueLevels>(rules, deepest, levels);

    std::vector<JobCounts> counted(static_cast<std::size_t>(jobs));
    run_jobs(jobs, [&](std::int32_t j) {
        JobCounts& job = counted[static_cast<std::size_t>(j)];
        job.steps.assign(static_cast<std::size_t>(deepest) + 2, 0);
        job.nodes.assign(static_cast<std::size_t>(deepest) + 1, 0);
        if (levels == 0) {
            run_small_job(shared, job);
            return;
        }
        job.cells = FrontierCells(cells_for(levels));
        run_job_for(levels, shared, job, std::make_index_sequence<kResidueLevels.size()>());
        if (!shared.should_stop()) {
            const std::lock_guard lock(shared.mutex);
            shared.carried->take(job.cells);
        }
        job.cells = {};
    });
    if (shared.should_stop()) return std::nullopt;

    std::vector<std::uint64_t> counts(static_cast<std::size_t>(deepest) + 1, 0);
    for (const JobCounts& job : counted) {
        std::int64_t run = 0;
        for (std::size_t d = 0; d < counts.size(); ++d) {
            run += job.steps[d];
            counts[d] += job.nodes[d] + static_cast<std::uint64_t>(run);
        }
    }
    if (shared.carried) shared.carried->carry_down(counts);
    return counts;
}

std::optional<std::vector<std::uint64_t>> count_levels(StepRules rules,
                                                       std::span<const TreePart> parts,
                                                       std::int32_t deepest,
                                                       const CountOptions& options) {
    return count_levels_with(rules, parts, deepest, options, {});
}

}  // namespace cp
