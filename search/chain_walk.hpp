#pragma once
// The counter's walk down the backward tree, chain by chain.
//
// Under a value v lie 2v, 4v, 8v, ... one a level: a chain. A chain node u
// has a second child only where u is one residue modulo 3 (and even, in the
// plain modes), so along a chain that is every second level, and never on a
// chain of multiples of 3. The walk therefore jumps from branch point to
// branch point, counts the chain's own nodes as one step up and one step
// down in an array over the depths, and hands the chain's node at the
// frontier depth to whatever counts the levels below it.
//
// Below the top, only a value's residue modulo 3^(deepest - depth) decides
// what lies under it, so the walk keeps residues modulo 3^m: doubling keeps
// the modulus, and each predecessor step divides it by 3. Values of small
// depths are below the modulus and so are kept exactly.
#include <atomic>
#include <cstdint>
#include <vector>

#include "search/residue_classes.hpp"
#include "search/tree.hpp"

namespace cp::chain {

__extension__ using Wide = unsigned __int128;

// Residues in a word of 64 or 128 bits. The largest modulus is 3^kPower,
// with 4 times it inside the word; a value of depth up to kExactDepth is
// below it, so it stays exact.
template <class Word>
struct Residues;

template <>
struct Residues<std::uint64_t> {
    static constexpr std::int32_t kPower = 39;
    static constexpr std::int32_t kExactDepth = 61;
    static constexpr std::uint64_t kInverseOf3 = 0xAAAAAAAAAAAAAAABull;
    static std::uint32_t mod3(std::uint64_t x) { return static_cast<std::uint32_t>(x % 3); }
};

template <>
struct Residues<Wide> {
    static constexpr std::int32_t kPower = 79;
    static constexpr std::int32_t kExactDepth = 125;
    static constexpr Wide kInverseOf3 = (Wide{0xAAAAAAAAAAAAAAAAull} << 64) | 0xAAAAAAAAAAAAAAABull;
    // 2^64 is 1 modulo 3.
    static std::uint32_t mod3(Wide x) {
        return static_cast<std::uint32_t>(
            (static_cast<std::uint64_t>(x) % 3 + static_cast<std::uint64_t>(x >> 64) % 3) % 3);
    }
};

// One of the four step maps, fixed at compile time for the inner loops.
template <bool kCompressed, std::int32_t kSign>
struct Rule {
    static constexpr bool compressed = kCompressed;
    // A node has a predecessor child when its value is this modulo 3.
    static constexpr auto kBranching =
        static_cast<std::uint32_t>(branching_residue({kSign, kCompressed}));
    // The predecessor of u (u is kBranching modulo 3): an exact division by 3,
    // so a multiplication by the inverse of 3 does it.
    template <class Word>
    static Word predecessor(Word u) {
        const Word base = kCompressed ? 2 * u : u;
        return (kSign > 0 ? base - 1 : base + 1) * Residues<Word>::kInverseOf3;
    }
};

// Calls body with the Rule type of `rules`.
template <class Body>
decltype(auto) with_rule(StepRules rules, Body&& body) {
    if (rules.compressed) {
        return rules.sign > 0 ? body(Rule<true, 1>{}) : body(Rule<true, -1>{});
    }
    return rules.sign > 0 ? body(Rule<false, 1>{}) : body(Rule<false, -1>{});
}

// Walks from chain nodes down to the frontier depth. Frontier takes the
// chain node at that depth: bool take(Word x, Word modulus, int32 depth,
// bool odd), where depth is the depth of the chain's first node (its node
// at the frontier is x times 2^(frontier - depth)); false stops the walk.
template <class Word, class RuleType, class Frontier>
class ChainWalker {
  public:
    // steps has deepest + 2 entries: +1 at the depth where a run of nodes, one
    // a level, begins, -1 where it ends.
    ChainWalker(std::int32_t frontier, std::int32_t deepest, std::int64_t* steps,
                Frontier& at_frontier, const std::atomic<bool>* stop)
        : frontier_(frontier),
          deepest_(deepest),
          steps_(steps),
          at_frontier_(at_frontier),
          stop_(stop) {}

    // Everything from the node of value x (a residue modulo `modulus`, exact
    // where its depth allows) at `depth` <= frontier down to the frontier.
    // False when stopped.
    bool walk(Word x, Word modulus, std::int32_t depth, bool odd) {
        stack_.clear();
        if (!start_chain(x, modulus, depth, !RuleType::compressed && odd)) return false;
        while (!stack_.empty()) {
            BranchPoint& top = stack_.back();
            const Word u = top.u;
            const Word m = top.modulus;
            const std::int32_t at = top.depth;
            // On to this chain's next branch point, two levels down, while its
            // predecessor lies above or at the frontier.
            if (at + 3 > frontier_) {
                stack_.pop_back();
            } else {
                top.u = times_four(u, m);
                top.depth = at + 2;
            }
            const std::int32_t depth_of_p = at + 1;
            // The modulus, a power of 3, divides exactly.
            const Word modulus_of_p =
                depth_of_p <= Residues<Word>::kExactDepth ? m : m * Residues<Word>::kInverseOf3;
            Word p = RuleType::predecessor(u);
            if (p >= modulus_of_p) p -= modulus_of_p;
            if (!start_chain(p, modulus_of_p, depth_of_p, !RuleType::compressed)) return false;
            if (--until_poll_ == 0) {
                until_poll_ = kPollEvery;
                if (stop_ && stop_->load(std::memory_order_relaxed)) return false;
            }
        }
        return true;
    }

  private:
    static constexpr std::uint32_t kPollEvery = 4096;

    struct BranchPoint {
        Word u;  // the chain's next node that has a predecessor child
        Word modulus;
        std::int32_t depth;  // of u
    };

    static Word times_four(Word u, Word m) {
        Word y = u << 2;
        if (y >= 2 * m) y -= 2 * m;
        if (y >= m) y -= m;
        return y;
    }

    // `first_is_odd`: in the plain modes an odd node has no predecessor
    // child, so its chain branches from 2v on.
    bool start_chain(Word x, Word m, std::int32_t depth, bool first_is_odd) {
        const std::uint32_t r = Residues<Word>::mod3(x);
        if (r == 0) {
            // A multiple of 3 never branches: one node a level to the bottom.
            ++steps_[depth];
            --steps_[deepest_ + 1];
            return true;
        }
        if (depth < frontier_) {
            ++steps_[depth];
            --steps_[frontier_];
        }
        if (!at_frontier_.take(x, m, depth, first_is_odd)) return false;
        // The chain's residues modulo 3 alternate r, 3 - r, r, ...
        const std::int32_t offset = first_is_odd ? (r == RuleType::kBranching ? 2 : 1)
                                                 : (r == RuleType::kBranching ? 0 : 1);
        if (depth + offset + 1 > frontier_) return true;
        Word u = x;
        for (std::int32_t i = 0; i < offset; ++i) {
            u <<= 1;
            if (u >= m) u -= m;
        }
        stack_.push_back({u, m, depth + offset});
        return true;
    }

    std::int32_t frontier_;
    std::int32_t deepest_;
    std::int64_t* steps_;
    Frontier& at_frontier_;
    const std::atomic<bool>* stop_;
    std::vector<BranchPoint> stack_;
    std::uint32_t until_poll_ = kPollEvery;
};

}  // namespace cp::chain
