#pragma once
// The sequence explorer: single sequences from the entry codes "00", "66", "75",
// "77", "88", "99" and the commands "A", "C" and "0".
#include "console/console.hpp"
#include "driver/state.hpp"

namespace cp {

// Handles state.command. Every command gets a line break first. Returns true
// when it was a sequence request (its run and summary are shown and the prompt
// follows), false when the command goes on to the new-exponent step.
bool explore_sequence(Console& console, State& state);

}  // namespace cp
