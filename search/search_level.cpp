#include "console/strings.hpp"
#include "search/permutation_search.hpp"
#include "search/search_walk.hpp"
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

// The shared walk, seen by the rows: the pattern on the state, a first-odd
// line for each predecessor taken when asked for, a row for each start number.
struct PermutationSearch::RowVisitor {
    State& state;
    PermutationSearch& search;
    StepRules rules() const {
        return {.sign = state.multiplierSign == 1 ? +1 : -1,
                .compressed = state.compressedMode != 0};
    }
    bool stopped() const { return !state.stopRequest.empty(); }
    void mark(std::int64_t position, bool multiplication) {
        state.stepPattern[static_cast<std::size_t>(position - 1)] = multiplication ? kMarker : '.';
    }
    void accepted(std::int64_t p) {
        if (state.firstOddOption == 1) search.print_first_odd_line(p);
    }
    void entered(std::int64_t, std::int64_t) {}
    void found(std::int64_t start, std::int64_t multiplications) {
        state.currentStart = start;
        search.printRow(multiplications);
    }
};

// The same, told to the observer: each value the walk enters below 1, each
// start number before its row.
struct PermutationSearch::ObservedRowVisitor : RowVisitor {
    Observer& observer;
    // Every value but 1 came by the step its parent marked in the pattern.
    void entered(std::int64_t value, std::int64_t stepsLeft) {
        if (stepsLeft >= state.exponent) return;
        observer.search_node(value, state.exponent - stepsLeft,
                             state.stepPattern[static_cast<std::size_t>(stepsLeft)] == kMarker);
    }
    void found(std::int64_t start, std::int64_t multiplications) {
        observer.search_row(start, multiplications, state.stepPattern);
        RowVisitor::found(start, multiplications);
    }
};

void PermutationSearch::searchLevel(std::int64_t value, std::int64_t stepsLeft,
                                    std::int64_t multiplications) {
    // Whether someone watches is settled once a search: the walk that
    // nobody watches pays nothing for it.
    if (state_.observer != nullptr) {
        ObservedRowVisitor visitor{{state_, *this}, *state_.observer};
        cp::searchLevel(visitor, value, stepsLeft, multiplications);
    } else {
        RowVisitor visitor{state_, *this};
        cp::searchLevel(visitor, value, stepsLeft, multiplications);
    }
}

}  // namespace cp
