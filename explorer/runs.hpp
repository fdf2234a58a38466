#pragma once
// The runs of the sequence explorer and what they share.
#include <cstdint>

#include "driver/state.hpp"
#include "explorer/sequence_output.hpp"
#include "explorer/value_set.hpp"

namespace cp {

enum class EntryCode { None, Plain, Compressed, Successor, Random, Next, RandomNext };

struct RunCounters {
    std::int64_t steps = 0;
    std::int64_t odds = -1;
};

// "66": the odd values only, each after its run of (3n+s)/2 steps and halvings.
void run_compressed_odd(SequenceOutput& out, const State& state, SequenceValue start,
                        RunCounters counters, ValueSet& had);

// "88", "99": prints the candidates (and, in 3n-1, the repeats that reject
// them) and returns the one taken; defaultStart holds it.
std::int64_t choose_candidate(SequenceOutput& out, State& state, EntryCode code, ValueSet& had);

// 3n-1: true when the candidate's sequence reaches 1 without repeating a
// value; otherwise the repeated value has been printed.
bool loop_free(SequenceOutput& out, State& state, std::int64_t candidate, ValueSet& had);

// The display run of every other request, then its run summary.
void run_display(SequenceOutput& out, State& state, EntryCode code, std::int32_t multiplier,
                 std::int64_t start, RunCounters counters, ValueSet& had);

void print_run_summary(SequenceOutput& out, const State& state, RunCounters counters);

// Tells the observer, if there is one, of a value the run prints.
inline void observe_value(const State& state, SequenceValue value, RunValueKind kind) {
    if (state.observer != nullptr) state.observer->run_value(value, kind);
}

}  // namespace cp
