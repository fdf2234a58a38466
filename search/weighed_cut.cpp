#include "search/weighed_cut.hpp"

#include <algorithm>

namespace cp {

namespace {

// More parts than this would cost more memory than the counting itself.
constexpr std::size_t kMostParts = std::size_t{1} << 18;

std::size_t parts_below(const std::vector<WeighedPart>& cut) {
    return static_cast<std::size_t>(
        std::count_if(cut.begin(), cut.end(), [](const WeighedPart& p) { return p.part.below; }));
}

// The part cut until no piece of it weighs more than `most`, in the walk's
// order: a node before the nodes under it, twice a value before its
// predecessor.
void cut_part(const WeighedPart& whole, StepRules rules, const SubtreeEstimate& estimate,
              std::int32_t deepest, Estimate most, std::vector<WeighedPart>& out) {
    std::vector<WeighedPart> stack{whole};
    while (!stack.empty()) {
        const WeighedPart part = stack.back();
        stack.pop_back();
        const TreeNode& node = part.part.node;
        if (!part.part.below || part.weight <= most || node.depth >= deepest) {
            out.push_back(part);
            continue;
        }
        out.push_back({{node, false}, 0});
        if (const auto p = multiplied(node, rules)) {
            stack.push_back({{*p, true}, estimate.of(*p)});
        }
        const TreeNode twice = doubled(node);
        stack.push_back({{twice, true}, estimate.of(twice)});
    }
}

}  // namespace

std::vector<WeighedPart> weighed_cut(StepRules rules, std::span<const TreePart> parts,
                                     std::int32_t deepest, std::size_t at_least) {
    const SubtreeEstimate estimate(rules, deepest);
    std::vector<WeighedPart> given;
    Estimate total = 0;
    for (const TreePart& part : parts) {
        const Estimate weight = part.below ? estimate.of(part.node) : 0;
        given.push_back({part, weight});
        total += weight;
    }
    at_least = std::clamp<std::size_t>(at_least, 1, kMostParts);
    Estimate most = std::max<Estimate>(total / at_least, 1);
    std::vector<WeighedPart> cut;
    std::size_t below_before = 0;
    // Estimates are not exact: where a round leaves too few parts, the parts
    // are cut again to half the weight, as long as that gives more.
    for (;;) {
        cut.clear();
        for (const WeighedPart& part : given) cut_part(part, rules, estimate, deepest, most, cut);
        const std::size_t below = parts_below(cut);
        if (below >= at_least || below == below_before || most == 1) break;
        below_before = below;
        most = std::max<Estimate>(most / 2, 1);
    }
    return cut;
}

}  // namespace cp
