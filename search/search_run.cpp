#include "console/numbers/arithmetic.hpp"
#include "console/strings.hpp"
#include "search/permutation_search.hpp"
#include "search/texts.hpp"

namespace cp {

namespace {
constexpr std::string_view kResultIndent = "    ";
constexpr std::string_view kPercent = "%  ";
constexpr std::int32_t kResultColour = 15;
}  // namespace

void run_search(Console& console, State& state) {
    state.stepPattern =
        spaces(static_cast<std::int32_t>(std::max<std::int64_t>(state.exponent, 0)));
    state.lastIndex = -1;
    console.set_color(state.rowColour, -1);
    state.elapsedSeconds = static_cast<double>(console.seconds_since_midnight());
    state.rowPauseMs = 0;
    if (state.observer != nullptr) {
        state.observer->search_started(state.exponent, state.multiplierSign,
                                       state.compressedMode != 0);
    }
    // An exponent below 1 has no sequence of that length: no rows.
    if (state.exponent >= 1) PermutationSearch(console, state).searchLevel(1, state.exponent, 0);
    if (state.observer != nullptr) state.observer->search_ended(!state.stopRequest.empty());
    state.elapsedSeconds =
        static_cast<double>(console.seconds_since_midnight() - state.elapsedSeconds);
    state.firstOddOption = 0;
    state.stopRequest.clear();
    console.set_color(kResultColour, -1);

    const Real difference =
        abs(static_cast<Real>(state.previousLastIndex) - static_cast<Real>(state.lastIndex));
    const Real divisor = larger_of(state.lastIndex, state.previousLastIndex);
    // Two tables of one row each leave nothing to divide by: no change, 0 percent.
    const Real percent = divisor == 0 ? Real{0} : round_to(100 * difference / divisor, 1);
    const SearchTexts& texts = search_texts(state.language);
    console.print_text(kResultIndent);
    console.print_text(std::string(1, kMarker));
    console.print_text(texts.result_legend);
    console.print_number(difference);
    console.print_text(texts.difference);
    console.print_number(percent);
    console.print_text(kPercent);
    console.print_number(round_to(state.elapsedSeconds, 2));
    console.print_text(texts.seconds);
    console.print_newline();
    state.previousLastIndex = state.lastIndex;
}

}  // namespace cp
