#include "search/pieces.hpp"

#include <algorithm>

namespace cp {

namespace {

std::size_t parts_below(std::span<const TreePart> parts) {
    return static_cast<std::size_t>(
        std::count_if(parts.begin(), parts.end(), [](const TreePart& p) { return p.below; }));
}

}  // namespace

std::vector<TreePart> cut_finer(StepRules rules, std::span<const TreePart> parts,
                                std::int32_t deepest, std::size_t at_least) {
    std::vector<TreePart> cut(parts.begin(), parts.end());
    // One level more under every part at each round, until there are enough.
    while (parts_below(cut) < at_least) {
        std::vector<TreePart> finer;
        bool grown = false;
        for (const TreePart& part : cut) {
            if (!part.below || part.node.depth >= deepest) {
                finer.push_back(part);
                continue;
            }
            grown = true;
            finer.push_back({part.node, false});
            finer.push_back({doubled(part.node), true});
            if (const auto p = multiplied(part.node, rules)) finer.push_back({*p, true});
        }
        cut = std::move(finer);
        if (!grown) break;
    }
    return cut;
}

std::vector<TreePart> piece_of_tree(StepRules rules, std::int32_t deepest, std::int32_t index,
                                    std::int32_t count) {
    const TreePart root{};
    const std::vector<TreePart> cut =
        cut_finer(rules, std::span(&root, 1), deepest, 16 * static_cast<std::size_t>(count));
    const std::size_t whole = std::max<std::size_t>(parts_below(cut), 1);
    // The parts below the cut share out evenly; a node above the cut goes with
    // the part that follows it, which lies under it.
    std::vector<TreePart> piece;
    std::size_t seen = 0;
    std::vector<TreePart> waiting;
    for (const TreePart& part : cut) {
        if (!part.below) {
            waiting.push_back(part);
            continue;
        }
        const auto owner =
            static_cast<std::int32_t>(seen * static_cast<std::size_t>(count) / whole) + 1;
        ++seen;
        if (owner == index) {
            piece.insert(piece.end(), waiting.begin(), waiting.end());
            piece.push_back(part);
        }
        waiting.clear();
    }
    if (index == count) piece.insert(piece.end(), waiting.begin(), waiting.end());
    return piece;
}

}  // namespace cp
