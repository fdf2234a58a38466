#pragma once
// Where the screen's changes go: a terminal's display, or a plain transcript.
// The calls mirror the output half of Terminal.
#include <cstdint>
#include <string_view>

#include "console/screen.hpp"
#include "console/terminal.hpp"

namespace cp {

class ScreenSink {
  public:
    virtual ~ScreenSink() = default;
    virtual void text(const Screen& screen, std::int32_t row, std::int32_t column,
                      std::string_view bytes) = 0;
    virtual void row_left(const Screen& screen, std::int32_t row, RowExit how) = 0;
    virtual void scrolled(const Screen& screen) = 0;
    virtual void moved(const Screen& screen) = 0;
    virtual void cleared(const Screen& screen) = 0;
    virtual void beep() = 0;
    // Hands everything buffered to the operating system.
    virtual void flush() = 0;
    // The program ends: what is still pending, then flush.
    virtual void finish(const Screen& screen) = 0;
};

}  // namespace cp
