#include <cstring>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/number_format.hpp"
#include "console/strings.hpp"
#include "search/permutation_search.hpp"
#include "search/texts.hpp"

namespace cp {

namespace {
// The labels are the same in every language: i.m is the exponent and the
// number of multiplications.
constexpr std::string_view kPlainLabel = "  i.m =";
constexpr std::string_view kCompressedLabel = "  k.m =";
constexpr std::string_view kStartMask = "*_################  ";
constexpr std::string_view kPatternEnd = " =1";
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

    // The label and the pattern's end are written in place: a label with its
    // two numbers, and the end of a pattern, fit the room.
    char label[kPlainLabel.size() + 2 * kNumberTextRoom + 1];
    static_assert(kCompressedLabel.size() == kPlainLabel.size());
    std::memcpy(label, (s.compressedMode == 0 ? kPlainLabel : kCompressedLabel).data(),
                kPlainLabel.size());
    char* point = put_integer_text(label + kPlainLabel.size(), s.exponent);
    // The point, then the number of multiplications without its blank: the
    // point takes the blank's place.
    char* end = put_integer_text(point, multiplications);
    if (*point != ' ') {
        std::memmove(point + 1, point, static_cast<std::size_t>(end - point));
        ++end;
    }
    *point = '.';
    console_.print_text(std::string_view(label, static_cast<std::size_t>(end - label)));

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
    // The pattern's room stays the same for the whole search: after the first
    // row, resizing costs nothing.
    const std::size_t steps = s.stepPattern.size();
    pattern_text_.resize(steps + 1 + kPatternEnd.size() + kNumberTextRoom + 1);
    char* p = pattern_text_.data();
    std::memcpy(p, s.stepPattern.data(), steps);
    p += steps;
    *p++ = kMarker;
    std::memcpy(p, kPatternEnd.data(), kPatternEnd.size());
    p = put_integer_text(p + kPatternEnd.size(), s.lastIndex);
    *p++ = 'x';
    console_.print_text(
        std::string_view(pattern_text_.data(), static_cast<std::size_t>(p - pattern_text_.data())));

    if (s.multiplierSign > 0) {
        console_.print_newline();
        s.previousStart = s.currentStart;
    } else {
        console_.set_color(kMinusNoteColour, -1);
        console_.print_text(search_texts(s.language).minus_note);
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
    const SearchTexts& texts = search_texts(s.language);
    // The time at the prompt does not count as search time.
    s.elapsedSeconds = static_cast<double>(console_.seconds_since_midnight() - s.elapsedSeconds);
    console_.set_color(kPromptColour, -1);
    console_.print_text(texts.run_time_keys);
    console_.print_number(square_root(int_div(s.rowPauseMs, 5)));
    console_.print_newline();
    console_.set_color(kAnswerColour, -1);
    console_.print_text(texts.run_time_answer);
    const std::string line = console_.read_line();
    s.stopRequest = upper_keys(input_field(line, 1));
    // The end of the input ends the program: the walk must not go on.
    if (console_.input_ended()) s.stopRequest.assign(1, 'Q');
    console_.set_color(s.rowColour, -1);
    console_.locate(console_.cursor_row() - 2, 0);
    s.elapsedSeconds = static_cast<double>(console_.seconds_since_midnight() - s.elapsedSeconds);
}

}  // namespace cp
