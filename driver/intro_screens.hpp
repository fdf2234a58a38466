#pragma once
#include <cstdint>

#include "console/console.hpp"
#include "driver/state.hpp"

namespace cp {

// Sums of even powers of two, shown once at start-up; returns at Enter.
void show_start_table(Console& console, const State& state);
// Explains the permutations and the commands; resets three settings and reseeds.
void show_text_screen(Console& console, State& state);
void print_warning_line(Console& console, const State& state, std::int32_t colour);

}  // namespace cp
