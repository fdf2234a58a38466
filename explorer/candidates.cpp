// "88" and "99": the next or a random start value; in 3n-1 only one whose
// sequence reaches 1 without running into a loop.
#include "console/strings.hpp"
#include "explorer/loop_history.hpp"
#include "explorer/runs.hpp"

namespace cp {
namespace {

constexpr std::int32_t kRandomLow = 10000000;
constexpr std::int32_t kRandomHigh = 1000000000;
constexpr std::int32_t kRejectedColour = 12;

}  // namespace

bool loop_free(SequenceOutput& out, State& state, std::int64_t candidate, ValueSet& had) {
    history_empty(state);
    had.clear();  // the candidate itself is not recorded: a cycle shows at its first repeat
    SequenceValue v = candidate;
    for (;;) {
        bool rejected = false;
        Real shown = 0;
        if (is_even(v)) {
            v /= 2;
        } else {
            const OddStep step = odd_step(v, 3, -1, false);
            v = step.value;
            if (!step.fits) {
                // A value that would leave 128 bits rejects the candidate like a repeat.
                rejected = true;
                shown = step.approximate;
            }
        }
        if (!rejected && (history_holds(state, v) || had.contains(v))) {
            // The history sees the 501 newest values; the run's own record of
            // every value also ends cycles longer than that.
            rejected = true;
            shown = as_real(v);
            observe_value(state, v, RunValueKind::repeat);
        }
        if (rejected) {
            history_empty(state);
            out.console().set_color(kRejectedColour, -1);
            out.value(shown);
            return false;
        }
        history_insert(state, v);
        had.insert(v);
        if (v == 1) return true;
    }
}

std::int64_t choose_candidate(SequenceOutput& out, State& state, EntryCode code, ValueSet& had) {
    Console& console = out.console();
    bool restart_at_one = false;
    for (;;) {
        std::int64_t candidate = 0;
        if (code == EntryCode::RandomNext) {
            candidate = 2 * static_cast<std::int64_t>(
                                state.random.random_between(kRandomLow, kRandomHigh)) +
                        1;
        } else if (restart_at_one) {
            candidate = 1;
        } else {
            candidate = to_int64(static_cast<Real>(state.defaultStart) + 1);
        }
        out.marker();
        out.wrap_check();
        console.set_color(state.rowColour, -1);
        observe_value(state, candidate, RunValueKind::candidate);
        out.value(static_cast<Real>(candidate));
        out.wrap_check();
        state.defaultStart = candidate;
        if (state.multiplierSign > 0 || loop_free(out, state, candidate, had)) return candidate;
        // No value below 1 reaches 1 in 3n-1: stepping through them one by one
        // (from -2^63 after the largest value wraps) would never end.
        restart_at_one = candidate < 1;
    }
}

}  // namespace cp
