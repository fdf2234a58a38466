#pragma once
// A terminal back end: where the console's visible changes go (the ScreenSink
// half), where keys and time come from.
#include <cstdint>
#include <optional>
#include <string>

#include "console/numbers/real.hpp"
#include "console/screen_sink.hpp"

namespace cp {

class Terminal : public ScreenSink {
  public:
    // Input. key_ready never blocks; next_key blocks and gives nullopt at the end
    // of input. Keys come as the program's key strings: one byte, or 0 and a scan code.
    virtual bool key_ready() = 0;
    virtual std::optional<std::string> next_key() = 0;

    // Time.
    virtual void sleep_ms(std::int32_t ms) = 0;
    virtual Real seconds_since_midnight() = 0;
};

}  // namespace cp
