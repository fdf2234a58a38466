#pragma once
// The program at a terminal: keys from a terminal on standard input, the
// screen drawn on a terminal on standard output. When only one of the two is a
// terminal, combine TtyInput or TtyOutput with the pipe halves in a SplitTerminal.
#include "console/split_terminal.hpp"
#include "console/tty_input.hpp"
#include "console/tty_output.hpp"

namespace cp {

class TtyTerminal final : public Terminal {
  public:
    explicit TtyTerminal(int input_fd = 0, int output_fd = 1)
        : input_(input_fd), output_(output_fd), split_(input_, output_) {}

    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override {
        split_.text(screen, row, column, bytes);
    }
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override {
        split_.row_left(screen, row, how);
    }
    void scrolled(const Screen& screen) override { split_.scrolled(screen); }
    void moved(const Screen& screen) override { split_.moved(screen); }
    void cleared(const Screen& screen) override { split_.cleared(screen); }
    void beep() override { split_.beep(); }
    bool key_ready() override { return split_.key_ready(); }
    std::optional<std::string> next_key() override { return split_.next_key(); }
    void sleep_ms(std::int32_t ms) override { split_.sleep_ms(ms); }
    Real seconds_since_midnight() override { return split_.seconds_since_midnight(); }
    void finish(const Screen& screen) override { split_.finish(screen); }

  private:
    TtyInput input_;
    TtyOutput output_;
    SplitTerminal split_;
};

}  // namespace cp
