#pragma once
// The loop history: the 501 most recent values of a sequence, newest first.
// Entries no value has reached yet hold 0, so 0 always counts as seen.
#include "driver/state.hpp"
#include "explorer/sequence_value.hpp"

namespace cp {

bool history_holds(const State& state, SequenceValue v);
void history_insert(State& state, SequenceValue v);
void history_empty(State& state);

}  // namespace cp
