#pragma once
// The backward walk from 1, depth first, one level per step back: the one walk
// behind the interactive search's rows and the records of the commands for
// scripts. A visitor sees what the walk does, in the walk's order:
//   StepRules rules()                     the step map the tree belongs to
//   bool stopped()                        asked on entering a level
//   void entered(Value value, std::int64_t stepsLeft)
//                                         the level of `value` goes on
//   void mark(std::int64_t position, bool multiplication)
//                                         the step at pattern position
//                                         `position` (1-based) is taken
//   void accepted(Value p)                p is taken as a multiplication
//                                         predecessor (before its subtree)
//   void found(Value start, std::int64_t multiplications)
//                                         a start number, its pattern complete
#include <cstdint>

#include "search/tree.hpp"

namespace cp {

// The multiplication predecessor of `value`, or 0 when it has none (a
// predecessor is always above 1). 128-bit values are taken apart by hand: the
// compiler would divide them by 3 in a library call, twice per value.
template <class Value>
constexpr Value walk_predecessor(Value value, StepRules rules) {
    return multiplication_predecessor(value, rules).value_or(0);
}

template <>
constexpr TreeValue walk_predecessor(TreeValue value, StepRules rules) {
    const TreeValue base = rules.compressed ? 2 * value : value;
    // 2^64 leaves the remainder 1 by 3, so both halves count as they are.
    const auto low = static_cast<std::uint64_t>(base);
    const auto high = static_cast<std::uint64_t>(base >> 64);
    const std::uint64_t remainder = (low % 3 + high % 3) % 3;
    if (remainder != (rules.sign > 0 ? 1u : 2u)) return 0;
    // An exact division by 3 is a multiplication by its inverse modulo 2^128.
    constexpr TreeValue kInverseOf3 =
        (TreeValue{0xAAAAAAAAAAAAAAAAu} << 64) | TreeValue{0xAAAAAAAAAAAAAAABu};
    const TreeValue p = (rules.sign > 0 ? base - 1 : base + 1) * kInverseOf3;
    if (p % 2 == 0 || p <= 1) return 0;
    return p;
}

// One level: `value` reached so far, `stepsLeft` steps still to walk back
// (also the pattern position this level marks), `multiplications` on the path.
// The division branch comes before the multiplication branch, and the
// multiplication mark stands whether or not a predecessor is taken.
template <class Value, class Visitor>
void searchLevel(Visitor& visitor, Value value, std::int64_t stepsLeft,
                 std::int64_t multiplications) {
    if (visitor.stopped()) return;
    visitor.entered(value, stepsLeft);
    const std::int64_t rest = stepsLeft - 1;
    const Value candidate = 2 * value;

    visitor.mark(stepsLeft, false);
    if (rest == 0) {
        visitor.found(candidate, multiplications);
    } else {
        searchLevel(visitor, candidate, rest, multiplications);
    }

    visitor.mark(stepsLeft, true);
    const Value p = walk_predecessor(value, visitor.rules());
    if (p == 0) return;
    visitor.accepted(p);
    if (rest == 0) {
        visitor.found(p, multiplications + 1);
    } else {
        searchLevel(visitor, p, rest, multiplications + 1);
    }
}

}  // namespace cp
