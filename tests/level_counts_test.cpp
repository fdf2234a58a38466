// The counter against published counts and against the tree walked node by
// node, in every mode, with every way it can count the lowest levels, any
// number of jobs, parts of the tree and values beyond 64 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "console/jobs.hpp"
#include "plain_walk.hpp"
#include "search/level_counter.hpp"
#include "search/pieces.hpp"
#include "search/residue_levels.hpp"

namespace cp {
namespace {

using testing::counts_by_walking;

constexpr StepRules kPlus{1, false};
constexpr StepRules kMinus{-1, false};
constexpr StepRules kPlusCompressed{1, true};
constexpr StepRules kMinusCompressed{-1, true};
constexpr StepRules kModes[] = {kPlus, kMinus, kPlusCompressed, kMinusCompressed};

const TreePart kRoot{};

std::vector<std::uint64_t> counted(StepRules rules, std::span<const TreePart> parts,
                                   std::int32_t deepest, std::int32_t jobs = 1,
                                   std::optional<std::int32_t> levels = std::nullopt) {
    CountOptions options;
    options.jobs = jobs;
    auto counts = count_levels_with(rules, parts, deepest, options, {levels});
    EXPECT_TRUE(counts);
    return counts ? *counts : std::vector<std::uint64_t>{};
}

std::string mode_name(StepRules rules) {
    return std::string(rules.sign > 0 ? "3n+1" : "3n-1") + (rules.compressed ? " compressed" : "");
}

TEST(LevelCounts, PublishedCounts) {
    struct Known {
        StepRules rules;
        std::int32_t depth;
        std::uint64_t count;
    };
    for (const Known& k :
         {Known{kPlus, 29, 578}, Known{kPlusCompressed, 29, 2829}, Known{kPlus, 32, 1174},
          Known{kPlusCompressed, 32, 6682}, Known{kMinus, 32, 1073},
          Known{kMinusCompressed, 32, 5772}, Known{kPlus, 40, 7628}, Known{kPlus, 60, 823238}}) {
        const auto counts = count_levels(k.rules, std::span(&kRoot, 1), k.depth);
        ASSERT_TRUE(counts);
        EXPECT_EQ(counts->back(), k.count) << mode_name(k.rules) << " at " << k.depth;
    }
    const std::vector<std::uint64_t> first = {1, 1,  1,  1,  1,  2,  2,  4,  4,  6, 6,
                                              8, 10, 14, 18, 24, 29, 36, 44, 58, 72};
    EXPECT_EQ(*count_levels(kPlus, std::span(&kRoot, 1), 20), first);
}

// Every way of counting the lowest levels, with one job and with several.
TEST(LevelCounts, EqualTheWalkInEveryMode) {
    struct Case {
        std::int32_t deepest;
        std::vector<std::int32_t> levels;
    };
    std::int32_t jobs = 1;
    for (const StepRules rules : kModes) {
        for (const Case& c : {Case{9, {0, 6}}, Case{24, {0, 6, 10}}, Case{40, {6, 12}}}) {
            const auto expected = counts_by_walking(rules, std::span(&kRoot, 1), c.deepest);
            for (const std::int32_t levels : c.levels) {
                jobs = jobs % 3 + 1;
                EXPECT_EQ(counted(rules, std::span(&kRoot, 1), c.deepest, jobs, levels), expected)
                    << mode_name(rules) << " to " << c.deepest << " with " << levels
                    << " residue levels and " << jobs << " jobs";
            }
        }
    }
    // The most levels, which take the most memory, once.
    EXPECT_EQ(counted(kPlusCompressed, std::span(&kRoot, 1), 40, 2, 14),
              counts_by_walking(kPlusCompressed, std::span(&kRoot, 1), 40));
}

// A cell of 16 bits that wraps round still counts every node.
TEST(LevelCounts, CellsThatWrapRoundCountOn) {
    const std::int32_t deepest = 20;
    const std::int32_t levels = 6;
    ResidueLevels by_cells(kPlusCompressed, deepest, levels);
    ResidueLevels at_once(kPlusCompressed, deepest, levels);
    FrontierCells cells(729 + 243);
    for (std::uint32_t i = 0; i < 200000; ++i) cells.add(i % 3 == 0 ? 5 : 729 + 7);
    by_cells.take(cells);
    at_once.add(levels, 5, 66667);
    at_once.add(levels - 1, 7, 133333);
    std::vector<std::uint64_t> expected(deepest + 1, 0), got(deepest + 1, 0);
    at_once.carry_down(expected);
    by_cells.carry_down(got);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got[deepest - levels], 66667u);
}

// A node found by taking the predecessor wherever it has a subtree of more
// than one chain: values far from powers of two, with every residue and
// parity below them.
TreeNode deep_node(StepRules rules, std::int32_t depth) {
    TreeNode node{};
    while (node.depth < depth) {
        const auto p = multiplied(node, rules);
        node = p && p->value % 3 != 0 ? *p : doubled(node);
    }
    return node;
}

// Subtrees deep down, whose values leave 64 and then 96 bits: the walk in
// 128 bits hands over to the one in 64 where the bottom is more than 100 deep.
TEST(LevelCounts, PartsDeepDownAndSinglesEqualTheWalk) {
    struct Case {
        std::int32_t depth_of_part;
        std::int32_t deepest;
    };
    for (const StepRules rules : kModes) {
        for (const Case c : {Case{64, 100}, Case{60, 101}, Case{74, 110}, Case{96, 127}}) {
            const TreeNode node = deep_node(rules, c.depth_of_part);
            const std::vector<TreePart> parts = {
                {doubled(node), false}, {node, true}, {deep_node(rules, 5), false}};
            const auto expected = counts_by_walking(rules, parts, c.deepest);
            EXPECT_GT(expected.back(), 1000u);
            EXPECT_EQ(counted(rules, parts, c.deepest, 2), expected)
                << mode_name(rules) << " from " << c.depth_of_part << " to " << c.deepest;
        }
    }
}

TEST(LevelCounts, CutsAndPiecesCountAsTheWhole) {
    for (const StepRules rules : kModes) {
        const std::int32_t deepest = 44;
        const auto whole = counted(rules, std::span(&kRoot, 1), deepest);
        const auto cut = cut_finer(rules, std::span(&kRoot, 1), deepest, 100);
        EXPECT_GE(cut.size(), 100u);
        EXPECT_EQ(counted(rules, cut, deepest, 2), whole) << mode_name(rules);
        std::vector<std::uint64_t> sum(whole.size(), 0);
        for (const auto& piece : cut_into_pieces(rules, deepest, 7)) {
            const auto counts = counted(rules, piece, deepest, 3);
            for (std::size_t d = 0; d < sum.size(); ++d) sum[d] += counts[d];
        }
        EXPECT_EQ(sum, whole) << mode_name(rules);
    }
}

TEST(LevelCounts, ProgressEndsDoneAndAStopGivesNothing) {
    WorkProgress progress;
    std::atomic<bool> stop{false};
    CountOptions options{2, &stop, &progress};
    ASSERT_TRUE(count_levels(kPlusCompressed, std::span(&kRoot, 1), 50, options));
    EXPECT_GT(progress.total.load(), 0u);
    EXPECT_EQ(progress.done.load(), progress.total.load());
    EXPECT_FALSE(count_levels(kPlus, std::span(&kRoot, 1), kDeepestLevel + 1));
    stop = true;
    EXPECT_FALSE(count_levels(kPlus, std::span(&kRoot, 1), 127, options));
}

// A count of days, stopped once it is under way.
TEST(LevelCounts, StopsOnceUnderWay) {
    if (!threads_available()) GTEST_SKIP() << "no threads here to set the flag meanwhile";
    std::atomic<bool> stop{false};
    CountOptions options{2, &stop, nullptr};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stop = true;
    });
    EXPECT_FALSE(count_levels(kPlusCompressed, std::span(&kRoot, 1), 127, options));
    stopper.join();
}

// The nodes of parts in the order the walk meets them.
std::vector<TreeNode> nodes_of(std::span<const TreePart> parts, StepRules rules,
                               std::int32_t deepest) {
    std::vector<TreeNode> nodes;
    const auto keep = [&](const TreeNode& node) { nodes.push_back(node); };
    for (const TreePart& part : parts) {
        if (part.below) {
            testing::walk_nodes(part.node, rules, deepest, keep);
        } else {
            keep(part.node);
        }
    }
    return nodes;
}

TEST(Pieces, JoinedInOrderAreTheWalk) {
    const std::int32_t deepest = 30;
    for (const StepRules rules : kModes) {
        const auto whole = nodes_of(std::span(&kRoot, 1), rules, deepest);
        EXPECT_EQ(nodes_of(cut_finer(rules, std::span(&kRoot, 1), deepest, 500), rules, deepest),
                  whole);
        for (const std::int32_t count : {1, 3, 16, 200}) {
            const auto pieces = cut_into_pieces(rules, deepest, count);
            ASSERT_EQ(pieces.size(), static_cast<std::size_t>(count));
            std::vector<TreeNode> joined;
            for (std::int32_t k = 1; k <= count; ++k) {
                const auto piece = piece_of_tree(rules, deepest, k, count);
                EXPECT_EQ(piece, pieces[static_cast<std::size_t>(k) - 1]);
                const auto nodes = nodes_of(piece, rules, deepest);
                joined.insert(joined.end(), nodes.begin(), nodes.end());
            }
            EXPECT_EQ(joined, whole) << mode_name(rules) << " in " << count << " pieces";
        }
    }
    EXPECT_TRUE(piece_of_tree(kPlus, deepest, 0, 3).empty());
    EXPECT_TRUE(piece_of_tree(kPlus, deepest, 4, 3).empty());
}

// Every piece holds about as many start numbers as the others.
TEST(Pieces, AboutEqual) {
    struct Case {
        StepRules rules;
        std::int32_t deepest, count;
    };
    for (const Case c : {Case{kPlus, 60, 8}, Case{kMinusCompressed, 50, 30}}) {
        std::vector<std::uint64_t> sizes;
        for (const auto& piece : cut_into_pieces(c.rules, c.deepest, c.count)) {
            sizes.push_back(counted(c.rules, piece, c.deepest).back());
        }
        const auto [least, most] = std::minmax_element(sizes.begin(), sizes.end());
        EXPECT_LT(*most, *least * 3 / 2) << mode_name(c.rules);
    }
}

}  // namespace
}  // namespace cp
