#include "search/pieces.hpp"

#include <algorithm>
#include <mutex>

#include "search/weighed_cut.hpp"

namespace cp {

namespace {

// Parts a piece is cut into, so that the estimates' errors even out.
constexpr std::size_t kPartsPerPiece = 16;

}  // namespace

std::vector<TreePart> cut_finer(StepRules rules, std::span<const TreePart> parts,
                                std::int32_t deepest, std::size_t at_least) {
    std::vector<TreePart> cut;
    for (const WeighedPart& part : weighed_cut(rules, parts, deepest, at_least)) {
        cut.push_back(part.part);
    }
    return cut;
}

std::vector<std::vector<TreePart>> cut_into_pieces(StepRules rules, std::int32_t deepest,
                                                   std::int32_t count) {
    if (count < 1) return {};
    const TreePart root{};
    const std::vector<WeighedPart> cut = weighed_cut(
        rules, std::span(&root, 1), deepest, kPartsPerPiece * static_cast<std::size_t>(count));
    Estimate total = 0;
    for (const WeighedPart& part : cut) total += part.weight;
    // Weights to 96 bits, so that a weight times the count stays in 128.
    std::int32_t shift = 0;
    while ((total >> shift) >> 96 != 0) ++shift;
    total >>= shift;
    // A part goes to the piece in which the middle of its weight falls; a
    // node alone goes with the part after it, which lies under it.
    std::vector<std::vector<TreePart>> pieces(static_cast<std::size_t>(count));
    Estimate before = 0;
    std::vector<TreePart> waiting;
    for (const WeighedPart& part : cut) {
        if (!part.part.below) {
            waiting.push_back(part.part);
            continue;
        }
        const Estimate weight = part.weight >> shift;
        const Estimate middle = before + weight / 2;
        before += weight;
        const std::size_t owner =
            total == 0
                ? 0
                : std::min(
                      static_cast<std::size_t>(middle * static_cast<std::uint32_t>(count) / total),
                      static_cast<std::size_t>(count) - 1);
        auto& piece = pieces[owner];
        piece.insert(piece.end(), waiting.begin(), waiting.end());
        piece.push_back(part.part);
        waiting.clear();
    }
    pieces.back().insert(pieces.back().end(), waiting.begin(), waiting.end());
    return pieces;
}

std::vector<TreePart> piece_of_tree(StepRules rules, std::int32_t deepest, std::int32_t index,
                                    std::int32_t count) {
    if (count < 1 || index < 1 || index > count) return {};
    // The commands ask for the pieces before theirs too: the last cut is kept.
    struct LastCut {
        StepRules rules;
        std::int32_t deepest = -1;
        std::int32_t count = 0;
        std::vector<std::vector<TreePart>> pieces;
    };
    static std::mutex mutex;
    static LastCut last;
    const std::lock_guard lock(mutex);
    if (last.rules != rules || last.deepest != deepest || last.count != count) {
        last = {rules, deepest, count, cut_into_pieces(rules, deepest, count)};
    }
    return last.pieces[static_cast<std::size_t>(index) - 1];
}

}  // namespace cp
