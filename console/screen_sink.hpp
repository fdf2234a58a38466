#pragma once
// Where the screen's changes go: a terminal's display, or a plain transcript.
// The console applies every change to its Screen first and then tells the sink,
// in the order the changes happen; a sink reads the screen for whatever it
// needs to show.
#include <cstdint>
#include <string_view>

#include "console/screen.hpp"

namespace cp {

// Pixels of a window or of the desktop's work area; 0 where there is none.
struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// How the cursor left a row.
enum class RowExit {
    LineBreak,  // print_newline (told before the scroll it may cause)
    Wrap,       // writing filled the last column
    Move,       // locate, Backspace going up a row, or a clear
};

class ScreenSink {
  public:
    virtual ~ScreenSink() = default;
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
    // The screen has been cleared (told after row_left of the cursor row).
    virtual void cleared(const Screen& screen) = 0;
    virtual void beep() = 0;
    // The screen has a new size (told before the clear it implies): a console
    // with a screen buffer of its own takes it on where the host allows it.
    virtual void resized(const Screen& screen) { static_cast<void>(screen); }
    // The window that shows the screen. A terminal has none to size, maximise
    // or move: these do nothing, and the sizes are 0.
    virtual void maximize_window() {}
    virtual PixelSize window_pixel_size() { return {}; }
    virtual PixelSize work_area_pixel_size() { return {}; }
    virtual void move_window(std::int32_t x, std::int32_t y) {
        static_cast<void>(x);
        static_cast<void>(y);
    }
    // Hands everything buffered to the operating system.
    virtual void flush() {}
    // The program ends: what is still pending, then flush.
    virtual void finish(const Screen& screen) = 0;
};

}  // namespace cp
