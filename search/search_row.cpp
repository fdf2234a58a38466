#include "console/numbers/arithmetic.hpp"
#include "console/numbers/number_format.hpp"
#include "console/strings.hpp"
#include "search/permutation_search.hpp"

namespace cp {

namespace {
constexpr std::string_view kPlainLabel = "  i.m =";
constexpr std::string_view kCompressedLabel = "  k.m =";
constexpr std::string_view kStartMask = "*_################  ";
constexpr std::string_view kPatternEnd = " =1";
constexpr std::string_view kMinusNote = "  3n-1 statt 3n+1    m an/ab ";
constexpr std::string_view kRunTimeKeys =
    "  Eingaben nur im Lauf:   Spalten  ABCDEFGHIJKLMNOPQRSTUVWXYZ oder Pausen  0123456789        "
    "Pausen gewaehlt:";
constexpr std::string_view kRunTimeAnswer =
    "          Eingabe hier:   Jede Taste + ENTER oder weiter mit leerem ENTER   ";
constexpr std::int32_t kStartColumn = 16;
constexpr std::int32_t kHighlightColour = 10;
constexpr std::int32_t kMinusNoteColour = 13;
constexpr std::int32_t kPromptColour = 10;
constexpr std::int32_t kAnswerColour = 15;

// Whether the integer quotient of a by b is q (0 < q): the program's integer
// division, in 64 bits.
bool quotient_is(std::int64_t a, std::int64_t b, std::int64_t q) {
    if (b == 0) return false;
    if (b == -1) return a == -q;  // a / -1 overflows for the smallest a
    return a / b == q;
}
}  // namespace

void PermutationSearch::printRow(std::int64_t multiplications) {
    State& s = state_;
    ++s.lastIndex;

    text_.assign(s.compressedMode == 0 ? kPlainLabel : kCompressedLabel);
    append_integer_text(text_, s.exponent);
    // The point, then the number of multiplications without its blank: the
    // point takes the blank's place.
    const std::size_t point = text_.size();
    append_integer_text(text_, multiplications);
    if (text_[point] == ' ') {
        text_[point] = '.';
    } else {
        text_.insert(point, 1, '.');
    }
    console_.print_text(text_);

    if (quotient_is(s.previousStart, s.currentStart, 6) ||
        quotient_is(s.previousStart, s.currentStart, 3))
        console_.set_color(kHighlightColour, -1);
    console_.locate(console_.cursor_row(), kStartColumn);
    const Real start = static_cast<Real>(s.currentStart);
    text_.clear();
    append_format_using(text_, kStartMask, std::span<const Real>(&start, 1));
    console_.print_text(text_);

    const auto index = static_cast<std::size_t>(s.lastIndex);
    if (index >= s.startNumbers.size()) s.startNumbers.resize(index + 1 + index / 2, 0);
    s.startNumbers[index] = s.currentStart;

    console_.set_color(s.rowColour, -1);
    text_.assign(s.stepPattern);
    text_.push_back(kMarker);
    text_.append(kPatternEnd);
    append_integer_text(text_, s.lastIndex);
    text_.push_back('x');
    console_.print_text(text_);

    if (s.multiplierSign > 0) {
        console_.print_newline();
        s.previousStart = s.currentStart;
    } else {
        console_.set_color(kMinusNoteColour, -1);
        console_.print_text(kMinusNote);
        console_.print_newline();
    }
    console_.sleep_ms(s.rowPauseMs);
    console_.set_color(s.rowColour, -1);
    if (console_.key_waiting() == 0) return;
    handle_run_time_key();
}

void PermutationSearch::handle_run_time_key() {
    const std::int32_t k = first_code(upper_keys(console_.read_key()));
    if (k >= '0' && k <= '9') {
        const std::int32_t digit = k - '0';
        state_.rowPauseMs = to_int32(5 * power(digit, 2));
        return;
    }
    if (k >= 'A' && k <= 'Z') return;
    run_time_prompt();
}

void PermutationSearch::run_time_prompt() {
    State& s = state_;
    // The time at the prompt does not count as search time.
    s.elapsedSeconds = static_cast<double>(console_.seconds_since_midnight() - s.elapsedSeconds);
    console_.set_color(kPromptColour, -1);
    console_.print_text(kRunTimeKeys);
    console_.print_number(square_root(int_div(s.rowPauseMs, 5)));
    console_.print_newline();
    console_.set_color(kAnswerColour, -1);
    console_.print_text(kRunTimeAnswer);
    const std::string line = console_.read_line();
    s.stopRequest = upper_keys(input_field(line, 1));
    // The end of the input ends the program: the walk must not go on.
    if (console_.input_ended()) s.stopRequest.assign(1, 'Q');
    console_.set_color(s.rowColour, -1);
    console_.locate(console_.cursor_row() - 2, 0);
    s.elapsedSeconds = static_cast<double>(console_.seconds_since_midnight() - s.elapsedSeconds);
}

}  // namespace cp
