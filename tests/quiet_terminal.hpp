#pragma once
// A terminal that keeps nothing of what is shown and never reports a key during
// a run: only the program's own work and memory count. Keys can be queued for
// its line reads; its clock moves a millisecond per reading.
#include <deque>
#include <string>
#include <string_view>

#include "console/terminal.hpp"

namespace cp::testing {

class QuietTerminal final : public Terminal {
  public:
    void type(std::string_view text) {
        for (const char c : text) keys_.emplace_back(1, c);
    }
    void text(const Screen&, std::int32_t, std::int32_t, std::string_view) override {}
    void row_left(const Screen&, std::int32_t, RowExit) override {}
    void scrolled(const Screen&) override {}
    void moved(const Screen&) override {}
    void cleared(const Screen&) override {}
    void beep() override {}
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override {
        if (keys_.empty()) return std::nullopt;
        std::string key = std::move(keys_.front());
        keys_.pop_front();
        return key;
    }
    void sleep_ms(std::int32_t) override {}
    Real seconds_since_midnight() override { return now_ += Real(1) / 1000; }
    void finish(const Screen&) override {}

  private:
    std::deque<std::string> keys_;
    Real now_ = 36000;
};

}  // namespace cp::testing
