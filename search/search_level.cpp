#include "console/strings.hpp"
#include "search/permutation_search.hpp"
#include "search/texts.hpp"

namespace cp {

namespace {
constexpr std::string_view kFirstOddIndentMinus = "              ";
}  // namespace

void PermutationSearch::print_first_odd_line(std::int64_t p) {
    const SearchTexts& texts = search_texts(state_.language);
    if (state_.multiplierSign == 1) {
        console_.print_text(texts.first_odd_plus);
        console_.print_number(static_cast<Real>(3 * p));
    } else {
        console_.print_text(kFirstOddIndentMinus);
        console_.print_number(static_cast<Real>(p));
        console_.print_text(texts.first_odd_minus);
    }
    console_.print_newline();
}

void PermutationSearch::searchLevel(std::int64_t value, std::int64_t stepsLeft,
                                    std::int64_t multiplications) {
    // Whether someone watches is settled once a search: the walk that
    // nobody watches pays nothing for it.
    if (state_.observer != nullptr) {
        level<true>(value, stepsLeft, multiplications);
    } else {
        level<false>(value, stepsLeft, multiplications);
    }
}

template <bool kObserved>
void PermutationSearch::found(std::int64_t multiplications) {
    if constexpr (kObserved) {
        state_.observer->search_row(state_.currentStart, multiplications, state_.stepPattern);
    }
    printRow(multiplications);
}

template <bool kObserved>
void PermutationSearch::level(std::int64_t value, std::int64_t stepsLeft,
                              std::int64_t multiplications) {
    if (!state_.stopRequest.empty()) return;
    if constexpr (kObserved) {
        // Every value but 1 came by the step its parent marked in the pattern.
        if (stepsLeft < state_.exponent) {
            state_.observer->search_node(
                value, state_.exponent - stepsLeft,
                state_.stepPattern[static_cast<std::size_t>(stepsLeft)] == kMarker);
        }
    }
    const std::int64_t rest = stepsLeft - 1;
    const std::int64_t candidate = 2 * value;
    // Position stepsLeft of the pattern (1-based) is this level's step.
    const auto position = static_cast<std::size_t>(stepsLeft - 1);

    state_.stepPattern[position] = '.';
    if (rest == 0) {
        state_.currentStart = candidate;
        found<kObserved>(multiplications);
    } else {
        level<kObserved>(candidate, rest, multiplications);
    }

    // Every value here is positive, so C++ division and % agree with the
    // program's truncating integer division and remainder.
    const std::int64_t base = state_.compressedMode == 0 ? value : candidate;
    const std::int64_t remainder = base % 3;
    std::int64_t p = 0;
    bool accepted = false;
    if (state_.multiplierSign == 1) {
        p = base / 3;
        accepted = remainder == 1 && p % 2 > 0 && p > 1;
    } else {
        p = (base + 1) / 3;
        accepted = remainder == 2 && p % 2 != 0 && p > 1;
    }
    // The multiplication mark stands whether or not p is taken.
    state_.stepPattern[position] = kMarker;
    if (!accepted) return;
    if (state_.firstOddOption == 1) print_first_odd_line(p);
    if (rest == 0) {
        state_.currentStart = p;
        found<kObserved>(multiplications + 1);
    } else {
        level<kObserved>(p, rest, multiplications + 1);
    }
}

}  // namespace cp
