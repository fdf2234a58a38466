#pragma once
// Cutting the backward tree into pieces of about equal work: for machines that
// share a count or a listing (piece K of N), and for the cores of one.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "search/tree.hpp"

namespace cp {

// Piece `index` (1 to `count`) of the tree down to `deepest`: its parts in the
// order the walk meets them (a node before the nodes under it, twice a value
// before its predecessor). The pieces depend on nothing but the rules,
// `deepest` and `count`; joined in order they hold every node once, so their
// rows joined in order are the rows of the whole.
std::vector<TreePart> piece_of_tree(StepRules rules, std::int32_t deepest, std::int32_t index,
                                    std::int32_t count);

// Every piece at once: piece k of `count` is element k - 1, as piece_of_tree
// gives it. The cut is the costly part, so this is the way to many pieces.
std::vector<std::vector<TreePart>> cut_into_pieces(StepRules rules, std::int32_t deepest,
                                                   std::int32_t count);

// The same nodes as `parts`, in the same order, cut finer where the tree
// allows, into at least `at_least` parts of about equal work.
std::vector<TreePart> cut_finer(StepRules rules, std::span<const TreePart> parts,
                                std::int32_t deepest, std::size_t at_least);

}  // namespace cp
