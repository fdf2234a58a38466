#include "search/subtree_estimate.hpp"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

#include "search/residue_classes.hpp"

namespace cp {

namespace {

constexpr std::int32_t kTableLevels = 11;
// The first node at the top weighs 2^80; a node weighs 1/growth of its
// parent's level, rounded down level by level, which keeps 2^22 of
// precision at depth 160.
constexpr std::int32_t kScaledDepths = 160;

constexpr std::uint64_t kClasses = power_of_three(kTableLevels);

// Counts under each residue class, level by level: plain modes keep an even
// and an odd entry a class (index 2c + odd), compressed ones one.
std::vector<std::uint32_t> one_level_more(const std::vector<std::uint32_t>& below, StepRules rules,
                                          std::int32_t j) {
    const std::uint64_t m = power_of_three(j);
    const std::uint64_t m_below = power_of_three(j - 1);
    const std::uint64_t kinds = rules.compressed ? 1 : 2;
    std::vector<std::uint32_t> level(m * kinds);
    for (std::uint64_t c = 0; c < m; ++c) {
        const std::uint32_t doubled = below[doubled_residue(c, m_below) * kinds];
        if (kinds == 2) level[2 * c + 1] = doubled;
        std::uint32_t sum = doubled;
        if (c % 3 == branching_residue(rules)) {
            sum += below[predecessor_residue(c, m_below, rules) * kinds + (kinds - 1)];
        }
        level[c * kinds] = sum;
    }
    return level;
}

}  // namespace

struct SubtreeEstimate::Table {
    std::vector<std::uint32_t> weighed;  // per class modulo 3^kTableLevels (and parity)
    std::uint64_t growth_numerator = 1;
    std::uint64_t growth_denominator = 1;

    explicit Table(StepRules rules) {
        const std::uint64_t kinds = rules.compressed ? 1 : 2;
        // First the plain counts kTableLevels levels down...
        std::vector<std::uint32_t> counts(kinds, 1);
        for (std::int32_t j = 1; j <= kTableLevels; ++j) counts = one_level_more(counts, rules, j);
        // ...then the average of each kind of node...
        std::array<std::uint64_t, 6> sum{}, number{};
        for (std::uint64_t c = 0; c < kClasses; ++c) {
            for (std::uint64_t odd = 0; odd < kinds; ++odd) {
                sum[(c % 3) * 2 + odd] += counts[c * kinds + odd];
                ++number[(c % 3) * 2 + odd];
            }
        }
        // ...as the weight of the nodes at the bottom of the same table, one
        // level shorter, since a kind is a class modulo 3.
        std::vector<std::uint32_t> weights(3 * kinds);
        for (std::uint64_t k = 0; k < 3 * kinds; ++k) {
            const std::uint64_t kind = (k / kinds) * 2 + k % kinds;
            weights[k] = static_cast<std::uint32_t>(sum[kind] / number[kind]);
        }
        for (std::int32_t j = 2; j <= kTableLevels; ++j)
            weights = one_level_more(weights, rules, j);
        weighed = std::move(weights);
        // The tree grows by about 4/3 a level compressed and 1.2637 plain.
        if (rules.compressed) {
            growth_numerator = 4;
            growth_denominator = 3;
        } else {
            growth_numerator = 12637;
            growth_denominator = 10000;
        }
    }
};

namespace {

// One table per step map, made once.
const SubtreeEstimate::Table& table_for(StepRules rules) {
    static std::mutex mutex;
    static std::array<std::unique_ptr<SubtreeEstimate::Table>, 4> tables;
    const std::lock_guard lock(mutex);
    auto& table = tables[(rules.compressed ? 2 : 0) + (rules.sign > 0 ? 0 : 1)];
    if (!table) table = std::make_unique<SubtreeEstimate::Table>(rules);
    return *table;
}

std::uint64_t nodes_at(const TreeNode& node, StepRules rules, std::int32_t deepest) {
    if (node.depth == deepest) return 1;
    std::uint64_t n = nodes_at(doubled(node), rules, deepest);
    if (const auto p = multiplied(node, rules)) n += nodes_at(*p, rules, deepest);
    return n;
}

}  // namespace

SubtreeEstimate::SubtreeEstimate(StepRules rules, std::int32_t deepest)
    : rules_(rules), deepest_(deepest), table_(&table_for(rules)) {
    per_node_.resize(kScaledDepths + 1);
    per_node_[0] = Estimate{1} << 80;
    for (std::size_t d = 1; d < per_node_.size(); ++d) {
        per_node_[d] = per_node_[d - 1] * table_->growth_denominator / table_->growth_numerator;
    }
}

Estimate SubtreeEstimate::per_node(std::int32_t depth) const {
    return per_node_[static_cast<std::size_t>(std::min(depth, kScaledDepths))];
}

Estimate SubtreeEstimate::of(const TreeNode& node) const {
    if (node.depth > deepest_) return 0;
    // Near the bottom the nodes are few: count them.
    if (deepest_ - node.depth <= kTableLevels) {
        return nodes_at(node, rules_, deepest_) * per_node(deepest_);
    }
    const std::uint64_t kinds = rules_.compressed ? 1 : 2;
    const auto c = static_cast<std::uint64_t>(node.value % kClasses);
    const std::uint64_t odd = kinds == 2 ? static_cast<std::uint64_t>(node.value & 1) : 0;
    // The weights stand for the nodes 2 * kTableLevels - 1 levels down.
    return table_->weighed[c * kinds + odd] * per_node(node.depth + 2 * kTableLevels - 1);
}

}  // namespace cp
