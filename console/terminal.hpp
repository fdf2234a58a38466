#pragma once
// A terminal back end: where the console's visible changes go, where keys and
// time come from. The console applies every change to its Screen first and then
// tells the terminal, in the order the changes happen; a back end reads the
// screen for whatever it needs to show.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/real.hpp"
#include "console/screen.hpp"

namespace cp {

// How the cursor left a row.
enum class RowExit {
    LineBreak,  // print_newline (told before the scroll it may cause)
    Wrap,       // writing filled the last column
    Move,       // locate, or Backspace going up a row
};

class Terminal {
  public:
    virtual ~Terminal() = default;

    // Output.
    // bytes now stand in row `row` from `column` on, in the screen's current attribute.
    virtual void text(const Screen& screen, std::int32_t row, std::int32_t column,
                      std::string_view bytes) = 0;
    // The cursor is leaving `row`; the screen still shows the row at that index.
    virtual void row_left(const Screen& screen, std::int32_t row, RowExit how) = 0;
    // The screen has scrolled up one row (its top row is gone).
    virtual void scrolled(const Screen& screen) = 0;
    // The cursor has moved to the screen's cursor position (after a row_left for
    // moves to another row); a line break's own move is implied by row_left.
    virtual void moved(const Screen& screen) = 0;
    // The screen has been cleared (told after row_left of the cursor row, if changed).
    virtual void cleared(const Screen& screen) = 0;
    virtual void beep() = 0;

    // Input. key_ready never blocks; next_key blocks and gives nullopt at the end
    // of input. Keys come as the program's key strings: one byte, or 0 and a scan code.
    virtual bool key_ready() = 0;
    virtual std::optional<std::string> next_key() = 0;

    // Time.
    virtual void sleep_ms(std::int32_t ms) = 0;
    virtual Real seconds_since_midnight() = 0;

    // The program ends: write what is still pending.
    virtual void finish(const Screen& screen) = 0;
};

}  // namespace cp
