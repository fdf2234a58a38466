#include "search/level_counts.hpp"

namespace cp {

// The plain walk: every node visited once.
std::optional<std::vector<std::uint64_t>> count_levels(StepRules rules,
                                                       std::span<const TreePart> parts,
                                                       std::int32_t deepest,
                                                       const CountOptions& options) {
    std::vector<std::uint64_t> counts(static_cast<std::size_t>(deepest) + 1, 0);
    std::vector<TreeNode> stack;
    std::uint64_t visited = 0;
    for (const TreePart& part : parts) {
        if (part.node.depth > deepest) continue;
        if (!part.below) {
            ++counts[static_cast<std::size_t>(part.node.depth)];
            continue;
        }
        stack.push_back(part.node);
        while (!stack.empty()) {
            const TreeNode node = stack.back();
            stack.pop_back();
            ++counts[static_cast<std::size_t>(node.depth)];
            if ((++visited & 0xFFFFF) == 0 && options.stop && options.stop->load()) {
                return std::nullopt;
            }
            if (node.depth == deepest) continue;
            if (const auto p = multiplied(node, rules)) stack.push_back(*p);
            stack.push_back(doubled(node));
        }
    }
    if (options.stop && options.stop->load()) return std::nullopt;
    return counts;
}

}  // namespace cp
