#pragma once
// The test double of a terminal: a queue of keys, a clock that only moves when
// the program sleeps or takes a key, and the console's screen to read cell by
// cell. Rows also go to an in-memory transcript, by the pipe back end's rule.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.hpp"
#include "console/terminal.hpp"
#include "console/transcript_output.hpp"

namespace cp::testing {

class ScriptedTerminal final : public Terminal {
  public:
    // interactive: key checks see queued keys, as typed-ahead keys at a terminal;
    // otherwise they never do, as with keys from a pipe.
    explicit ScriptedTerminal(bool interactive = true) : interactive_(interactive) {}

    // Queues each byte of text as a key ("\r" is Enter).
    void type(std::string_view text);
    // Queues one key string (for the two-byte keys).
    void press(std::string key) { keys_.push_back(std::move(key)); }
    std::size_t keys_left() const { return keys_.size(); }

    std::int32_t beeps() const { return beeps_; }
    std::int64_t slept_ms() const { return slept_ms_; }
    std::int32_t sleeps() const { return sleeps_; }
    void set_time(Real seconds) { now_ = seconds; }
    // The clock moves on by this much with every key the program takes.
    void set_key_delay(Real seconds) { key_delay_ = seconds; }

    // Rows in the order the program left them, as a transcript would show them.
    std::vector<std::string> transcript();

    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override {
        transcript_.text(screen, row, column, bytes);
    }
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override {
        transcript_.row_left(screen, row, how);
    }
    void scrolled(const Screen&) override {}
    void moved(const Screen&) override {}
    void cleared(const Screen& screen) override { transcript_.cleared(screen); }
    void beep() override { ++beeps_; }
    bool key_ready() override { return interactive_ && !keys_.empty(); }
    std::optional<std::string> next_key() override;
    void sleep_ms(std::int32_t ms) override;
    Real seconds_since_midnight() override { return now_; }
    void finish(const Screen& screen) override { transcript_.finish(screen); }

  private:
    bool interactive_;
    std::deque<std::string> keys_;
    TranscriptOutput transcript_{-1};
    std::int32_t beeps_ = 0;
    std::int64_t slept_ms_ = 0;
    std::int32_t sleeps_ = 0;
    Real now_ = 36000;  // 10:00:00
    Real key_delay_ = 0;
};

// Text of a screen row without its trailing blanks.
std::string row_text(const Screen& screen, std::int32_t row);
// Foreground colour of a cell (1-based column, as the program counts).
std::int32_t colour_at(const Screen& screen, std::int32_t row, std::int32_t column);

}  // namespace cp::testing
