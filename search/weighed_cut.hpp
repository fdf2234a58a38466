#pragma once
// A cut through the tree whose parts come with the work each is estimated to
// hold: for pieces of the tree, and for the counter's jobs and progress.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "search/subtree_estimate.hpp"
#include "search/tree.hpp"

namespace cp {

struct WeighedPart {
    TreePart part;
    Estimate weight = 0;  // 0 for a node alone
};

// The nodes of `parts` in the same order, cut where the tree allows until
// there are at least `at_least` parts with nodes under them (at most 2^18)
// and none weighs much more than the whole over `at_least`. Depends only on
// the rules, `deepest`, the parts and `at_least`.
std::vector<WeighedPart> weighed_cut(StepRules rules, std::span<const TreePart> parts,
                                     std::int32_t deepest, std::size_t at_least);

}  // namespace cp
