#pragma once
// How much of the tree lies under a node, estimated from its value and depth
// alone, so that the tree can be cut into pieces of about equal work without
// walking it. Near the bottom the estimate is exact.
//
// The nodes j levels under a node depend only on its value modulo 3^j (and
// its parity, in the plain modes): a table over the residues modulo 3^11
// gives them 11 levels down. Each of those is weighed by how much its kind
// of node (its residue modulo 3 and parity) grows on average over the next
// 11 levels, and the sum is scaled by the tree's growth per level to the
// node's depth, so that nodes of different depths compare.
#include <cstdint>
#include <vector>

#include "search/tree.hpp"

namespace cp {

__extension__ using Estimate = unsigned __int128;

class SubtreeEstimate {
  public:
    SubtreeEstimate(StepRules rules, std::int32_t deepest);

    // About the nodes of depth `deepest` under `node` (node included), times
    // per_node(deepest). 0 for a node below `deepest`.
    Estimate of(const TreeNode& node) const;
    // What one node of depth d weighs: nodes at the bottom weigh this at
    // d = deepest, and d + 1 weighs about 1 / (growth per level) of d.
    Estimate per_node(std::int32_t depth) const;

    struct Table;

  private:
    StepRules rules_;
    std::int32_t deepest_;
    const Table* table_;
    std::vector<Estimate> per_node_;
};

}  // namespace cp
