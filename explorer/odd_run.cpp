// "66": a compressed list of the odd values of a sequence.
#include "console/numbers/arithmetic.hpp"
#include "console/strings.hpp"
#include "explorer/runs.hpp"
#include "explorer/texts.hpp"

namespace cp {
namespace {

constexpr std::int32_t kClosingColour = 14;

std::int32_t trailing_zero_bits(SequenceValue v) {
    UnsignedSequenceValue bits = static_cast<UnsignedSequenceValue>(v);
    if (v < 0) bits = ~bits + 1;  // |v|; divisibility does not care for the sign
    const auto low = static_cast<std::uint64_t>(bits);
    if (low != 0) return __builtin_ctzll(low);
    return 64 + __builtin_ctzll(static_cast<std::uint64_t>(bits >> 64));
}

void print_closing_line(SequenceOutput& out, const ExplorerTexts& texts, std::int64_t steps) {
    static constexpr char kBlankAndMarker[] = {' ', kMarker};
    static constexpr char kTimesAndMarker[] = {'x', ' ', kMarker};
    Console& console = out.console();
    console.print_newline();
    console.set_color(kClosingColour, -1);
    console.print_text(std::string_view(kBlankAndMarker, sizeof kBlankAndMarker));
    out.value(static_cast<Real>(steps));
    console.print_text(std::string_view(kTimesAndMarker, sizeof kTimesAndMarker));
    console.print_text(texts.compressed_run_note);
    console.print_newline();
    console.print_newline();
}

}  // namespace

void run_compressed_odd(SequenceOutput& out, const State& state, SequenceValue n,
                        RunCounters counters, ValueSet& had) {
    const SequenceValue s = state.multiplierSign;
    had.clear();
    had.insert(n);
    // Every value the run reaches counts, also the halvings it does not print;
    // meeting one again means a cycle, shown like a repeat. 1 ends the run anyway.
    const auto met_again = [&](SequenceValue v) {
        if (v == 1 || had.insert(v)) return false;
        observe_value(state, v, RunValueKind::repeat);
        out.value(v);
        out.marker();
        return true;
    };
    bool ended = false;
    do {
        if (is_even(n)) {
            n /= 2;
            ended = met_again(n);
        } else {
            SequenceValue sum = 0;
            std::int32_t k = 0;
            SequenceValue odd_part = 0;
            if (!__builtin_add_overflow(n, s, &sum)) {
                // n + s = 0 has no largest power of two: nothing to step, the run ends.
                if (sum == 0) break;
                k = trailing_zero_bits(sum);
                odd_part = sum >> k;
            } else {
                k = 127;  // n + s is +-2^127
                odd_part = n > 0 ? 1 : -1;
            }
            // k steps n -> (3n+s)/2 in one: 3^k * ((n+s) / 2^k) - s.
            SequenceValue jump = odd_part;
            bool fits = true;
            for (std::int32_t i = 0; fits && i < k; ++i)
                fits = !__builtin_mul_overflow(jump, 3, &jump);
            if (fits) fits = !__builtin_sub_overflow(jump, s, &jump);
            if (!fits) {
                // Beyond 128 bits: shown as the working format has it, then ended.
                const Real approximate = as_real(odd_part) * power(3, k) - static_cast<Real>(s);
                out.value(approximate);
                out.marker();
                ended = true;
            } else {
                n = jump;
                ended = met_again(n);
                while (!ended && is_even(n)) {
                    n /= 2;
                    ended = met_again(n);
                }
                if (!ended) {
                    observe_value(state, n, RunValueKind::odd_step);
                    out.value(n);
                    out.wrap_check();
                }
            }
        }
        ++counters.steps;
    } while (!ended && n != 1);
    print_closing_line(out, explorer_texts(state.language), counters.steps);
}

}  // namespace cp
