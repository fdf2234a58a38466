#pragma once
// The backward tree of the permutation search: 1 at its root, and below every
// value the values one step before it, twice the value first, then the odd
// value whose multiplication step leads to it, where the search takes one. A
// value at depth d reaches 1 after exactly d steps and not before, so the
// values at depth i are the start numbers of 2^i, in the order of the rows.
#include <cstdint>
#include <optional>

namespace cp {

// Every value of depth d is at most 2^d, so 128 bits hold every depth that
// the commands for scripts take.
__extension__ using TreeValue = unsigned __int128;
inline constexpr std::int32_t kDeepestLevel = 127;

// Which step map the tree belongs to.
struct StepRules {
    std::int32_t sign = +1;   // +1: 3n+1, -1: 3n-1
    bool compressed = false;  // a multiplication and its halving, (3n±1)/2, as one step
    friend bool operator==(const StepRules&, const StepRules&) = default;
};

// The odd value p > 1 whose multiplication step leads to `value`, if there is
// one. `value` is positive; Value is any integer type wide enough for 2 * value.
template <class Value>
constexpr std::optional<Value> multiplication_predecessor(Value value, StepRules rules) {
    const Value base = rules.compressed ? 2 * value : value;
    Value p = 0;
    if (rules.sign > 0) {
        if (base % 3 != 1) return std::nullopt;
        p = base / 3;
    } else {
        if (base % 3 != 2) return std::nullopt;
        p = (base + 1) / 3;
    }
    if (p % 2 == 0 || p <= 1) return std::nullopt;
    return p;
}

// A node of the tree with its path down to 1.
struct TreeNode {
    TreeValue value = 1;
    std::int32_t depth = 0;
    // Multiplication steps on the path from value down to 1.
    std::int32_t multiplications = 0;
    // Bit k is set when step k + 1 of that path, counted from value, is a
    // multiplication.
    TreeValue steps = 0;
    friend bool operator==(const TreeNode&, const TreeNode&) = default;
};

// The children of a node: twice the value, then the predecessor, if any.
inline TreeNode doubled(const TreeNode& node) {
    return {2 * node.value, node.depth + 1, node.multiplications, node.steps << 1};
}
inline std::optional<TreeNode> multiplied(const TreeNode& node, StepRules rules) {
    const auto p = multiplication_predecessor(node.value, rules);
    if (!p) return std::nullopt;
    return TreeNode{*p, node.depth + 1, node.multiplications + 1, (node.steps << 1) | 1};
}

// One part of a cut through the tree: a node with everything below it, or
// the node alone (a node above the cut).
struct TreePart {
    TreeNode node;
    bool below = true;
    friend bool operator==(const TreePart&, const TreePart&) = default;
};

}  // namespace cp
