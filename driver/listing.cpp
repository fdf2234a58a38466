// "F", "D" and "G": the table of the last search, each start number with its
// whole sequence down to 1.
#include "driver/listing.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "console/numbers/arithmetic.hpp"
#include "console/numbers/number_format.hpp"
#include "driver/texts.hpp"

namespace cp {
namespace {

constexpr std::string_view kPlusRowHead = " +## ####x ########### ";
constexpr std::string_view kMinusRowHead = " -## ####x ########### ";

// A long table shows its first 18 and its last 19 rows.
constexpr std::int64_t kLongestWholeTable = 36;
constexpr std::int64_t kRowsAtEachEnd = 18;

constexpr std::int32_t kOddColour = 15;
constexpr std::int32_t kSmallEvenColour = 14;
constexpr std::int64_t kSmallEven = 8;

// A table holds start numbers that reach 1; the bound keeps a damaged one from
// hanging the listing.
constexpr std::int32_t kMaxTerms = 100000;

// Terms of one colour are gathered and printed together.
class TermWriter {
  public:
    explicit TermWriter(Console& console) : console_(console) {}
    void add(std::int32_t colour, char mark) {
        if (colour != colour_) flush();
        colour_ = colour;
        pending_.push_back(mark);
    }
    void add_number(std::int32_t colour, std::int64_t v) {
        if (colour != colour_) flush();
        colour_ = colour;
        append_integer_text(pending_, v);
    }
    void flush() {
        if (pending_.empty()) return;
        console_.set_color(colour_, -1);
        console_.print_text(pending_);
        pending_.clear();
    }

    // Reused for every row head, so rows cost no allocation.
    std::string& row_head() {
        row_head_.clear();
        return row_head_;
    }

  private:
    Console& console_;
    std::string pending_;
    std::string row_head_;
    std::int32_t colour_ = -1;
};

// Reports to the state's observer or not: settled once a row, not per term.
template <bool kObserved>
void print_row(Console& console, TermWriter& terms, const State& state, std::int64_t k, char form) {
    const std::int64_t start = state.startNumbers[static_cast<std::size_t>(k)];
    std::int64_t v = 0;
    const bool fits = !__builtin_mul_overflow(start, 2, &v);
    console.set_color(kOddColour, -1);
    console.print_text(state.command);
    const std::array<Real, 3> head_values{static_cast<Real>(state.exponent), static_cast<Real>(k),
                                          static_cast<Real>(start)};
    std::string& head = terms.row_head();
    append_format_using(head, state.multiplierSign > 0 ? kPlusRowHead : kMinusRowHead, head_values);
    console.print_text(head);
    if (form == 'D' && k > 0 && v != 0 && fits) {
        while (v % 2 == 0) v /= 2;
        v *= 2;
    }
    const std::int32_t step_colour = state.multiplierSign >= 0 ? 9 : 13;
    if constexpr (kObserved) state.observer->listing_row(k, start);
    std::int32_t count = 0;
    while (fits) {
        const bool multiplication = v % 2 != 0;
        if (!multiplication) {
            v /= 2;
        } else if (__builtin_mul_overflow(v, 3, &v) ||
                   __builtin_add_overflow(v, state.multiplierSign, &v)) {
            break;
        }
        if constexpr (kObserved) state.observer->listing_value(v, multiplication);
        if (v % 2 == 0) {
            if (form == 'F') {
                terms.add(step_colour, v % 3 == 1 ? 'o' : '.');
            } else {
                terms.add_number(v <= kSmallEven ? kSmallEvenColour : step_colour, v);
            }
        } else {
            terms.add_number(kOddColour, v);
        }
        if (v == 1 || v <= 0 || ++count >= kMaxTerms) break;
    }
    terms.flush();
    console.print_newline();
}

}  // namespace

void list_last_search(Console& console, State& state) {
    const DriverTexts& texts = driver_texts(state.language);
    state.elapsedSeconds = static_cast<double>(console.seconds_since_midnight());
    const std::int32_t heading_colour = state.multiplierSign > 0 ? 14 : 13;
    console.set_color(heading_colour, -1);
    console.print_newline();
    for (std::string_view line : texts.header_lines) {
        console.print_text(line);
        console.print_newline();
    }
    console.print_text(texts.header_exponent_line);
    console.print_number(static_cast<Real>(state.exponent));
    console.print_newline();
    console.print_newline();

    const char form = state.command.empty() ? 'G' : state.command.front();
    if (state.observer != nullptr) state.observer->listing_started(form);
    const std::int64_t last_index =
        std::min(state.lastIndex, static_cast<std::int64_t>(state.startNumbers.size()) - 1);
    TermWriter terms(console);
    for (std::int64_t k = 0; k <= last_index; ++k) {
        if (state.lastIndex > kLongestWholeTable && state.showAllRows == 0 && k == kRowsAtEachEnd) {
            k = state.lastIndex - kRowsAtEachEnd;
            console.print_text(texts.skipped_rows_line);
            console.print_number(static_cast<Real>(state.lastIndex - 2 * kRowsAtEachEnd));
            console.print_newline();
            if (k > last_index) break;
        }
        if (state.observer != nullptr) {
            print_row<true>(console, terms, state, k, form);
        } else {
            print_row<false>(console, terms, state, k, form);
        }
    }

    if (state.observer != nullptr) state.observer->listing_ended();
    console.set_color(heading_colour, -1);
    console.print_text(texts.closing_line);
    console.print_text(number_text(static_cast<Real>(state.exponent)));
    console.print_text(state.multiplierSign > 0 ? texts.plus_variant : texts.minus_variant);
    console.print_newline();
    console.print_number(
        round_to(console.seconds_since_midnight() - static_cast<Real>(state.elapsedSeconds), 1));
    console.print_text(texts.listing_seconds);
}

}  // namespace cp
