#pragma once
// A terminal made of a key source and a screen sink, chosen separately: keys from
// a file with a terminal for output is a valid way to replay a session.
#include <functional>

#include "console/flush_pacer.hpp"
#include "console/key_source.hpp"
#include "console/screen_sink.hpp"
#include "console/terminal.hpp"

namespace cp {

class SplitTerminal final : public Terminal {
  public:
    using TimeSource = std::function<FlushPacer::Clock::time_point()>;

    // While it waits for keys the screen is out, and a resume or a resize
    // shows on it at once. `now` is the pacer's clock (tests stand it still).
    SplitTerminal(KeySource& keys, ScreenSink& sink, TimeSource now = &FlushPacer::Clock::now)
        : keys_(keys), interactive_(keys.interactive()), sink_(sink), now_(std::move(now)) {
        keys_.set_screen_hook([this] { flush(); });
    }
    ~SplitTerminal() override { keys_.set_screen_hook({}); }
    SplitTerminal(const SplitTerminal&) = delete;
    SplitTerminal& operator=(const SplitTerminal&) = delete;

    void text(const Screen& screen, std::int32_t row, std::int32_t column,
              std::string_view bytes) override {
        sink_.text(screen, row, column, bytes);
    }
    void row_left(const Screen& screen, std::int32_t row, RowExit how) override {
        sink_.row_left(screen, row, how);
    }
    void scrolled(const Screen& screen) override { sink_.scrolled(screen); }
    void moved(const Screen& screen) override { sink_.moved(screen); }
    void cleared(const Screen& screen) override { sink_.cleared(screen); }
    void beep() override { sink_.beep(); }
    void resized(const Screen& screen) override { sink_.resized(screen); }
    void maximize_window() override { sink_.maximize_window(); }
    PixelSize window_pixel_size() override { return sink_.window_pixel_size(); }
    PixelSize work_area_pixel_size() override { return sink_.work_area_pixel_size(); }
    void move_window(std::int32_t x, std::int32_t y) override { sink_.move_window(x, y); }
    void flush() override;

    bool key_ready() override;
    std::optional<std::string> next_key() override;
    void sleep_ms(std::int32_t ms) override;
    Real seconds_since_midnight() override;
    void finish(const Screen& screen) override { sink_.finish(screen); }

  private:
    // While rows stream: a flush only when the last is an interval ago.
    void flush_paced();

    KeySource& keys_;
    const bool interactive_;  // the keys' answer, asked once: it never changes
    ScreenSink& sink_;
    TimeSource now_;
    FlushPacer pacer_;
};

}  // namespace cp
