#pragma once
// A terminal for tests: the console's changes go through the shared renderer,
// keys come from a queue typed ahead, and the clock stands still. What the
// renderer wrote goes to show() at every flush.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>

#include "console/terminal.hpp"
#include "console/tty_renderer.hpp"

namespace cp::testing {

class RendererTerminal : public Terminal {
  public:
    explicit RendererTerminal(int width) : renderer(width) {}

    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override {
        renderer.text(screen, row, column, bytes);
    }
    void row_left(const Screen&, std::int32_t row, RowExit how) override {
        renderer.row_left(row, how);
    }
    void scrolled(const Screen&) override { renderer.scrolled(); }
    void moved(const Screen& screen) override { renderer.moved(screen); }
    void cleared(const Screen& screen) override { renderer.cleared(screen); }
    void beep() override { renderer.beep(); }
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override {
        flush();
        // After a fatal failure the session ends, as at the end of its keys.
        if (keys.empty() || ::testing::Test::HasFatalFailure()) return std::nullopt;
        std::string key = keys.front();
        keys.pop_front();
        return key;
    }
    void sleep_ms(std::int32_t) override { flush(); }
    Real seconds_since_midnight() override { return 0; }
    void flush() override {
        renderer.place_cursor();
        show(renderer.output().view());
        renderer.output().clear();
    }

    void type(std::string_view text) {
        for (const char c : text) keys.emplace_back(1, c);
    }

    TtyRenderer renderer;
    std::deque<std::string> keys;

  protected:
    virtual void show(std::string_view bytes) = 0;
};

}  // namespace cp::testing
