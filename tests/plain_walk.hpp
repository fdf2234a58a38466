#pragma once
// The backward tree walked node by node: the reference the counter and the
// pieces are checked against.
#include <cstdint>
#include <span>
#include <vector>

#include "search/tree.hpp"

namespace cp::testing {

// Calls visit(node) for every node under `node` (itself first) down to
// `deepest`, in the walk's order.
template <class Visit>
void walk_nodes(const TreeNode& node, StepRules rules, std::int32_t deepest, Visit&& visit) {
    if (node.depth > deepest) return;
    visit(node);
    if (node.depth == deepest) return;
    walk_nodes(doubled(node), rules, deepest, visit);
    if (const auto p = multiplied(node, rules)) walk_nodes(*p, rules, deepest, visit);
}

inline std::vector<std::uint64_t> counts_by_walking(StepRules rules,
                                                    std::span<const TreePart> parts,
                                                    std::int32_t deepest) {
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(deepest) + 1, 0);
    const auto count = [&](const TreeNode& node) {
        ++counts[static_cast<std::size_t>(node.depth)];
    };
    for (const TreePart& part : parts) {
        if (part.below) {
            walk_nodes(part.node, rules, deepest, count);
        } else if (part.node.depth <= deepest) {
            count(part.node);
        }
    }
    return counts;
}

}  // namespace cp::testing
