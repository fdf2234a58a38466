#pragma once
// The program: start-up, the introduction screens, the first search and the
// command loop until "Q" or the end of the input.
#include "console/console.hpp"
#include "driver/state.hpp"

namespace cp {

void run_program(Console& console, State& state);

// One pass of the command loop: the prompt, one line, its command. Returns
// false when the program ends.
bool run_command(Console& console, State& state);

// Turns state.command into the next exponent, applies the option letters and
// runs the search ("J" only toggles the listing's shortening).
void new_exponent_step(Console& console, State& state);

}  // namespace cp
