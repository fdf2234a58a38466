#include "search/residue_levels.hpp"

#include "search/residue_classes.hpp"

#include <algorithm>

namespace cp {

namespace {}  // namespace

FrontierCells::FrontierCells(std::size_t size)
    : cells(size, 0),
      waiting_((size >> kBucketBits) + 1, 0),
      bucket_cells_(waiting_.size() << kWaitingBits) {}

std::uint64_t FrontierCells::bytes_for(std::size_t size) {
    const std::uint64_t buckets = (size >> kBucketBits) + 1;
    return 2 * static_cast<std::uint64_t>(size) + buckets * (kWaiting * 4 + 2);
}

void FrontierCells::settle(std::uint32_t bucket) {
    const std::uint32_t* cell = &bucket_cells_[static_cast<std::size_t>(bucket) << kWaitingBits];
    for (std::uint32_t k = 0; k < waiting_[bucket]; ++k) {
        if (++cells[cell[k]] == 0) spills.push_back(cell[k]);
    }
    waiting_[bucket] = 0;
}

void FrontierCells::settle() {
    for (std::uint32_t b = 0; b < waiting_.size(); ++b) settle(b);
}

ResidueLevels::ResidueLevels(StepRules rules, std::int32_t deepest, std::int32_t levels)
    : rules_(rules),
      deepest_(deepest),
      levels_(levels),
      counts_(static_cast<std::size_t>(deepest) + 1, 0),
      by_level_(static_cast<std::size_t>(levels) + 1) {}

std::vector<std::uint64_t>& ResidueLevels::level(std::int32_t j) {
    auto& cells = by_level_[static_cast<std::size_t>(j)];
    if (cells.empty()) cells.assign(power_of_three(j), 0);
    return cells;
}

void ResidueLevels::add(std::int32_t level_index, std::uint64_t residue, std::uint64_t n) {
    // The top level is never stored: it is 3 times the next in size, and
    // 64 bits a class there would be most of the memory.
    if (level_index == levels_) {
        carry(level_index, residue, n);
    } else {
        level(level_index)[residue] += n;
    }
}

void ResidueLevels::take(FrontierCells& frontier) {
    frontier.settle();
    const std::uint64_t top = power_of_three(levels_);
    const auto add_cell = [&](std::uint64_t i, std::uint64_t n) {
        if (i < top) {
            add(levels_, i, n);
        } else {
            add(levels_ - 1, i - top, n);
        }
    };
    for (std::uint64_t i = 0; i < frontier.cells.size(); ++i) {
        if (frontier.cells[i] != 0) add_cell(i, frontier.cells[i]);
    }
    for (const std::uint32_t i : frontier.spills) add_cell(i, std::uint64_t{1} << 16);
    std::fill(frontier.cells.begin(), frontier.cells.end(), std::uint16_t{0});
    frontier.spills.clear();
}

// n nodes of level j with residue r: their count, and their children at the
// levels below.
void ResidueLevels::carry(std::int32_t j, std::uint64_t r, std::uint64_t n) {
    counts_[static_cast<std::size_t>(deepest_ - j)] += n;
    if (j == 0) return;
    const std::uint64_t below = power_of_three(j - 1);
    level(j - 1)[doubled_residue(r, below)] += n;
    if (r % 3 != branching_residue(rules_)) return;
    const std::uint64_t p = predecessor_residue(r, below, rules_);
    if (rules_.compressed) {
        level(j - 1)[p] += n;
        return;
    }
    // p is odd: counted here, its child twice it one level further down.
    counts_[static_cast<std::size_t>(deepest_ - j + 1)] += n;
    if (j >= 2) level(j - 2)[doubled_residue(p, power_of_three(j - 2))] += n;
}

void ResidueLevels::carry_down(std::span<std::uint64_t> counts) {
    for (std::int32_t j = levels_ - 1; j >= 0; --j) {
        auto& cells = by_level_[static_cast<std::size_t>(j)];
        for (std::uint64_t r = 0; r < cells.size(); ++r) {
            if (cells[r] != 0) carry(j, r, cells[r]);
        }
        std::vector<std::uint64_t>().swap(cells);
    }
    for (std::size_t d = 0; d < counts.size() && d < counts_.size(); ++d) counts[d] += counts_[d];
    std::fill(counts_.begin(), counts_.end(), 0);
}

}  // namespace cp
