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
    if (!state_.stopRequest.empty()) return;
    const std::int64_t rest = stepsLeft - 1;
    const std::int64_t candidate = 2 * value;
    // Position stepsLeft of the pattern (1-based) is this level's step.
    const auto position = static_cast<std::size_t>(stepsLeft - 1);

    state_.stepPattern[position] = '.';
    if (rest == 0) {
        state_.currentStart = candidate;
        printRow(multiplications);
    } else {
        searchLevel(candidate, rest, multiplications);
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
        printRow(multiplications + 1);
    } else {
        searchLevel(p, rest, multiplications + 1);
    }
}

}  // namespace cp
