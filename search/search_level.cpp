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
    void found(std::int64_t start, std::int64_t multiplications) {
        state.currentStart = start;
        search.printRow(multiplications);
    }
};

void PermutationSearch::searchLevel(std::int64_t value, std::int64_t stepsLeft,
                                    std::int64_t multiplications) {
    RowVisitor visitor{state_, *this};
    cp::searchLevel(visitor, value, stepsLeft, multiplications);
}

}  // namespace cp
