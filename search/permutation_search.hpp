#pragma once
// The permutation search: every start number whose sequence reaches 1 after
// exactly `exponent` steps, found by walking the predecessors of 1 backwards,
// one row per start number, then the result line.
#include <cstdint>
#include <string>

#include "console/console.hpp"
#include "driver/state.hpp"

namespace cp {

// Runs the search for state.exponent and prints its result line.
void run_search(Console& console, State& state);

// One search in progress: the walk and its rows.
class PermutationSearch {
  public:
    PermutationSearch(Console& console, State& state) : console_(console), state_(state) {}

    // One level of the backward walk: `value` reached so far, `stepsLeft` steps
    // still to walk back (also the pattern position this level marks).
    void searchLevel(std::int64_t value, std::int64_t stepsLeft, std::int64_t multiplications);
    // Prints the row of state.currentStart, stores it, pauses and looks for a key.
    void printRow(std::int64_t multiplications);

  private:
    // The walk's visitors: the rows alone, and the rows told to the observer.
    struct RowVisitor;
    struct ObservedRowVisitor;
    void print_first_odd_line(std::int64_t p);
    void handle_run_time_key();
    void run_time_prompt();

    Console& console_;
    State& state_;
    // Reused for every row, so rows cost no allocation.
    std::string text_;
    std::string pattern_text_;
};

}  // namespace cp
