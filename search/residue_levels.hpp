#pragma once
// The lowest levels of the tree counted by residue classes. How many nodes
// lie j levels under a node of depth 3 or more depends only on its value
// modulo 3^j (and, in the plain modes, on whether it is even), so the nodes of
// a level need not be told apart beyond that: a count per class, carried down
// level by level, gives the counts of every depth below at once.
//
// In the plain modes only even nodes are kept by class: an odd node's one
// child is twice it, so an odd node is counted where it is and its child kept
// a level further down.
#include <cstdint>
#include <span>
#include <vector>

#include "search/tree.hpp"

namespace cp {

// The cells a job fills at the two levels above the carried ones: 16 bits a
// class, 3^levels of them for the top level and 3^(levels - 1) for the next;
// a cell that wraps round is noted in spills, for 65,536 more.
//
// The classes come in no order, and a cell far off in memory costs the walk
// more than all else: additions wait in a bucket for each 8,192 cells and are
// made a bucket at a time, in a stretch of memory the cache holds.
class FrontierCells {
  public:
    FrontierCells() = default;
    explicit FrontierCells(std::size_t size);
    // The memory of `size` cells with their buckets.
    static std::uint64_t bytes_for(std::size_t size);

    void add(std::uint32_t cell) {
        const std::uint32_t bucket = cell >> kBucketBits;
        std::uint16_t& n = waiting_[bucket];
        bucket_cells_[(static_cast<std::size_t>(bucket) << kWaitingBits) + n] = cell;
        if (++n == kWaiting) settle(bucket);
    }
    // Makes every waiting addition.
    void settle();

    std::vector<std::uint16_t> cells;
    std::vector<std::uint32_t> spills;

  private:
    static constexpr std::uint32_t kBucketBits = 13;
    static constexpr std::uint32_t kWaitingBits = 10;
    static constexpr std::uint32_t kWaiting = 1u << kWaitingBits;
    void settle(std::uint32_t bucket);

    std::vector<std::uint16_t> waiting_;       // per bucket
    std::vector<std::uint32_t> bucket_cells_;  // kWaiting per bucket
};

class ResidueLevels {
  public:
    // Levels `levels` (depth deepest - levels) down to 0 (depth deepest).
    ResidueLevels(StepRules rules, std::int32_t deepest, std::int32_t levels);

    // n nodes at level j <= levels whose values are `residue` modulo 3^j.
    void add(std::int32_t level, std::uint64_t residue, std::uint64_t n);
    // A job's cells, which are emptied.
    void take(FrontierCells& cells);
    // Carries every node added down to the bottom and adds the nodes of each
    // depth to counts (deepest + 1 of them).
    void carry_down(std::span<std::uint64_t> counts);

  private:
    void carry(std::int32_t level, std::uint64_t residue, std::uint64_t n);
    std::vector<std::uint64_t>& level(std::int32_t j);

    StepRules rules_;
    std::int32_t deepest_;
    std::int32_t levels_;
    std::vector<std::uint64_t> counts_;
    std::vector<std::vector<std::uint64_t>> by_level_;
};

}  // namespace cp
