// The display run: every value of a sequence from its start value down to 1.
#include "explorer/loop_history.hpp"
#include "explorer/runs.hpp"

namespace cp {
namespace {

constexpr std::int32_t kEvenColour = 9;
constexpr std::int32_t kRandomLow = 3;
constexpr std::int32_t kRandomHigh = 200;

}  // namespace

void run_display(SequenceOutput& out, State& state, EntryCode code, std::int32_t multiplier,
                 std::int64_t start, RunCounters counters, ValueSet& had) {
    Console& console = out.console();
    const std::int32_t s = state.multiplierSign;
    const bool compressed = state.compressedMode == 1;
    const bool random = code == EntryCode::Random;
    const bool compact = state.zeroCommand == 1;

    state.defaultStart = start;
    history_empty(state);
    SequenceValue n = start;
    // Random values may repeat by right; every other run that meets a value
    // again is in a cycle and would never reach 1.
    had.clear();
    had.insert(n);

    bool ended = false;
    do {
        bool forced = false;  // the odd step after a repeat, whatever the parity
        for (;;) {
            const SequenceValue before = n;
            Real shown = 0;
            bool positive_odd = false;
            bool fits = true;
            RunValueKind kind = RunValueKind::halving;
            if (!forced && is_even(n)) {
                n /= 2;
                shown = as_real(n);
                positive_odd = counts_as_odd(n);
            } else {
                if (!forced && random) {
                    n = 2 * static_cast<SequenceValue>(
                                state.random.random_between(kRandomLow, kRandomHigh)) +
                        1;
                    out.marker();
                    kind = RunValueKind::random;
                } else {
                    kind = RunValueKind::odd_step;
                }
                history_empty(state);
                const OddStep step = odd_step(n, multiplier, s, compressed);
                n = step.value;
                shown = step.approximate;
                positive_odd = step.positive_odd;
                fits = step.fits;
            }
            if (positive_odd) {
                ++counters.odds;
                console.set_color(state.rowColour, -1);
            } else {
                console.set_color(kEvenColour, -1);
            }
            ++counters.steps;

            if (!fits) {
                // A value that would leave 128 bits ends the run like a repeat.
                out.value(shown);
                out.marker();
                ended = true;
                break;
            }
            if (history_holds(state, n)) {
                observe_value(state, n, RunValueKind::repeat);
                out.value(n);
                out.marker();
                had.insert(n);
                // With the halving of the compressed mode the odd step after a
                // repeat of 0 gives 0 again, for ever.
                if (forced && n == before) {
                    ended = true;
                    break;
                }
                forced = true;
                continue;
            }
            history_insert(state, n);
            if (!random && n != 1 && !had.insert(n)) {
                observe_value(state, n, RunValueKind::repeat);
                out.value(n);
                out.marker();
                ended = true;
                break;
            }
            observe_value(state, n, kind);
            if (compact) {
                out.compact(n);
            } else {
                out.value(n);
            }
            out.wrap_check();
            break;
        }
    } while (!ended && n != 1);
    print_run_summary(out, state, counters);
}

}  // namespace cp
