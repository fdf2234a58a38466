// The whole program with arbitrary bytes as its keys, at a scripted terminal:
// it must end by itself (when its keys run out, or when its budget of steps is
// spent), and never touch memory it does not own.
//
// Input: the first byte picks how keys arrive (bit 0: typed ahead at a terminal,
// where the run-time key checks see them, or from a pipe, where they never do)
// and the screens' language (bit 1: English); then every byte is one key,
// except 0xFF, which makes the next byte the scan code of a two-byte key. Keys
// stop after kMaxKeys or kMaxLines Enters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/console.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"
#include "scripted_terminal.hpp"

namespace {

constexpr std::size_t kMaxKeys = 600;
constexpr int kMaxLines = 12;
// Rows and pauses a run may take before its keyboard goes away; a search of
// 2^32 compressed prints some 6,900 rows, so this leaves room for a few.
constexpr std::int64_t kStepBudget = 30000;
constexpr unsigned char kTwoByteKey = 0xFF;

// The scripted terminal with a budget: once it is spent, a key check reports a
// key and the key turns out to be the end of the input, as when a terminal
// closes during a run.
class BudgetTerminal final : public cp::Terminal {
  public:
    explicit BudgetTerminal(bool interactive) : inner_(interactive) {}
    cp::testing::ScriptedTerminal& inner() { return inner_; }

    void text(const cp::Screen& s, std::int32_t row, std::int32_t column,
              std::string_view bytes) override {
        check_cursor(s);
        inner_.text(s, row, column, bytes);
    }
    void row_left(const cp::Screen& s, std::int32_t row, cp::RowExit how) override {
        ++steps_;
        check_cursor(s);
        inner_.row_left(s, row, how);
    }
    void scrolled(const cp::Screen& s) override { inner_.scrolled(s); }
    void moved(const cp::Screen& s) override {
        check_cursor(s);
        inner_.moved(s);
    }
    void cleared(const cp::Screen& s) override { inner_.cleared(s); }
    void beep() override { inner_.beep(); }
    bool key_ready() override { return spent() || inner_.key_ready(); }
    std::optional<std::string> next_key() override {
        if (spent()) return std::nullopt;
        return inner_.next_key();
    }
    void sleep_ms(std::int32_t ms) override {
        ++steps_;
        inner_.sleep_ms(ms);
    }
    cp::Real seconds_since_midnight() override { return inner_.seconds_since_midnight(); }
    void finish(const cp::Screen& s) override { inner_.finish(s); }

  private:
    bool spent() const { return steps_ > kStepBudget; }
    static void check_cursor(const cp::Screen& s) {
        if (s.cursor_row() < 0 || s.cursor_row() >= s.rows() || s.cursor_column() < 0 ||
            s.cursor_column() >= s.columns()) {
            std::abort();
        }
    }

    cp::testing::ScriptedTerminal inner_;
    std::int64_t steps_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    BudgetTerminal terminal((data[0] & 1) != 0);
    std::size_t keys = 0;
    int lines = 0;
    for (std::size_t i = 1; i < size && keys < kMaxKeys && lines < kMaxLines; ++i, ++keys) {
        if (data[i] == kTwoByteKey && i + 1 < size) {
            std::string key(2, '\0');
            key[1] = static_cast<char>(data[++i]);
            terminal.inner().press(std::move(key));
            continue;
        }
        if (data[i] == '\r') ++lines;
        terminal.inner().press(std::string(1, static_cast<char>(data[i])));
    }
    cp::Console console(terminal);
    cp::State state;
    state.language = (data[0] & 2) != 0 ? cp::Language::English : cp::Language::German;
    cp::run_program(console, state);
    console.finish();
    // The program only ends at "Q" (and its key) or when the keys have run out.
    if (!console.input_ended() && terminal.inner().keys_left() != 0 && state.command != "Q") {
        std::abort();
    }
    return 0;
}
