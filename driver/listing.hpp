#pragma once
// "F", "D" and "G": the table of the last search again, each start number with
// its whole sequence down to 1.
#include "console/console.hpp"
#include "driver/state.hpp"

namespace cp {

void list_last_search(Console& console, State& state);

}  // namespace cp
