#pragma once
// A terminal that shows nothing and never has a key: what the program costs
// itself, without any terminal's cost.
#include "console/terminal.hpp"

namespace cp::bench {

class DiscardingTerminal final : public Terminal {
  public:
    void text(const Screen&, std::int32_t, std::int32_t, std::string_view) override {}
    void row_left(const Screen&, std::int32_t, RowExit) override {}
    void scrolled(const Screen&) override {}
    void moved(const Screen&) override {}
    void cleared(const Screen&) override {}
    void beep() override {}
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override { return std::nullopt; }
    void sleep_ms(std::int32_t) override {}
    Real seconds_since_midnight() override { return 0; }
    void finish(const Screen&) override {}
};

}  // namespace cp::bench
