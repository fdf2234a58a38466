// Output reaches the display at its pace while rows stream, and at once
// whenever the program waits: for a key, a line or a real pause.
#include <gtest/gtest.h>

#include <deque>

#include "console/split_terminal.hpp"

namespace cp {
namespace {

using namespace std::chrono_literals;

class Keys final : public KeySource {
  public:
    explicit Keys(bool interactive) : interactive_(interactive) {}
    bool interactive() const override { return interactive_; }
    bool key_ready() override { return interactive_ && !typed.empty(); }
    std::optional<std::string> next_key() override {
        if (typed.empty()) return std::nullopt;
        std::string key = typed.front();
        typed.pop_front();
        return key;
    }
    std::deque<std::string> typed;

  private:
    bool interactive_;
};

// Counts flushes, and whether each left a row unshown.
class Display final : public ScreenSink {
  public:
    void text(const Screen&, std::int32_t, std::int32_t, std::string_view) override { ++unshown; }
    void row_left(const Screen&, std::int32_t, RowExit) override {}
    void scrolled(const Screen&) override {}
    void moved(const Screen&) override {}
    void cleared(const Screen&) override {}
    void beep() override {}
    void flush() override {
        ++flushes;
        unshown = 0;
    }
    void finish(const Screen&) override { flush(); }
    int flushes = 0;
    int unshown = 0;
};

struct Paced {
    explicit Paced(bool interactive) : keys(interactive) {}
    FlushPacer::Clock::time_point now{};
    Keys keys;
    Display display;
    SplitTerminal terminal{keys, display, [this] { return now; }};
    Screen screen;

    // What a search does per row: print it, check for a key, pause.
    void rows(int count, std::chrono::microseconds apart, std::int32_t pause = 0) {
        for (int i = 0; i < count; ++i) {
            now += apart;
            terminal.text(screen, 0, 0, "row");
            terminal.key_ready();
            terminal.sleep_ms(pause);
        }
    }
};

TEST(FlushPacing, StreamingRowsGoOutAtTheDisplaysPace) {
    Paced paced(true);
    paced.rows(6600, 150us);  // the compressed search of 32, about 1 s
    EXPECT_GE(paced.display.flushes, 55);
    EXPECT_LE(paced.display.flushes, 63);
    // Slow rows still show one by one.
    const int before = paced.display.flushes;
    paced.rows(10, 40ms);
    EXPECT_EQ(paced.display.flushes - before, 10);
    EXPECT_EQ(paced.display.unshown, 0);
}

TEST(FlushPacing, EveryWaitShowsEverythingAtOnce) {
    Paced paced(true);
    paced.rows(1, 1ms);
    paced.rows(5, 1ms, 5);  // a chosen pause shows each row before it
    EXPECT_EQ(paced.display.flushes, 6);
    paced.rows(3, 1ms);
    ASSERT_GT(paced.display.unshown, 0);
    paced.keys.typed = {" ", "\r"};
    ASSERT_TRUE(paced.terminal.key_ready());  // the run-time prompt's key
    paced.terminal.next_key();
    EXPECT_EQ(paced.display.unshown, 0);
    paced.terminal.text(paced.screen, 0, 0, "prompt");
    paced.terminal.next_key();  // its line, typed ahead or not
    EXPECT_EQ(paced.display.unshown, 0);
}

TEST(FlushPacing, KeysFromAPipeFlushOnlyBeforeARealPause) {
    Paced paced(false);
    paced.rows(1000, 1ms);
    EXPECT_EQ(paced.display.flushes, 0);
    paced.rows(1, 1ms, 20);
    EXPECT_EQ(paced.display.flushes, 1);
}

}  // namespace
}  // namespace cp
