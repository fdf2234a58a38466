#include "console/console.hpp"

#include <algorithm>

#include "console/numbers/number_format.hpp"

namespace cp {

namespace {
constexpr std::int32_t kMaxScreenSide = 65535;
constexpr std::size_t kMaxLineLength = 10000;
constexpr std::int32_t kZoneWidth = 14;
constexpr char kEnter = 13;
constexpr char kBackspace = 8;

}  // namespace

Console::Console(Terminal& terminal) : terminal_(terminal) {}

bool Console::set_screen_size(std::int32_t columns, std::int32_t rows) {
    if (columns < 1 || rows < 1 || columns > kMaxScreenSide || rows > kMaxScreenSide) return false;
    if (input_ended_) return false;
    // Growing and then setting the exact size both clear the screen; the net effect is one clear.
    terminal_.row_left(screen_, screen_.cursor_row(), RowExit::Move);
    screen_.resize(columns, rows);
    terminal_.resized(screen_);
    terminal_.cleared(screen_);
    return true;
}

void Console::scroll() {
    screen_.scroll_up();
    terminal_.scrolled(screen_);
}

void Console::print_text(std::string_view bytes) {
    if (input_ended_ || bytes.empty()) return;
    // Most text fits the rest of its row, with no wrap pending.
    if (screen_.wrap_pending() ||
        static_cast<std::size_t>(screen_.columns() - screen_.cursor_column()) <= bytes.size()) {
        print_across_rows(bytes);
        return;
    }
    const std::int32_t row = screen_.cursor_row();
    const std::int32_t column = screen_.cursor_column();
    screen_.put(bytes);
    terminal_.text(screen_, row, column, bytes);
}

void Console::print_across_rows(std::string_view bytes) {
    const std::int32_t bottom = screen_.rows() - 1;
    while (!bytes.empty()) {
        if (screen_.wrap_pending()) {
            screen_.set_wrap_pending(false);
            scroll();
        }
        const std::int32_t row = screen_.cursor_row();
        const std::int32_t column = screen_.cursor_column();
        const auto room = static_cast<std::size_t>(screen_.columns() - column);
        const std::string_view chunk = bytes.substr(0, std::min(room, bytes.size()));
        bytes.remove_prefix(chunk.size());
        screen_.put(chunk);
        terminal_.text(screen_, row, column, chunk);
        if (screen_.cursor_column() < screen_.columns()) continue;
        terminal_.row_left(screen_, row, RowExit::Wrap);
        if (row < bottom) {
            screen_.set_cursor(row + 1, 0);
        } else {
            // The scroll waits for the next byte or line break; a locate cancels it.
            screen_.set_cursor(row, 0);
            screen_.set_wrap_pending(true);
        }
    }
}

void Console::print_newline() {
    if (input_ended_) return;
    const std::int32_t bottom = screen_.rows() - 1;
    const std::int32_t row = screen_.cursor_row();
    if (row == bottom) {
        if (screen_.wrap_pending()) {
            screen_.set_wrap_pending(false);
            scroll();
        }
        terminal_.row_left(screen_, row, RowExit::LineBreak);
        scroll();
        screen_.set_cursor(bottom, 0);
    } else {
        terminal_.row_left(screen_, row, RowExit::LineBreak);
        screen_.set_cursor(row + 1, 0);
    }
    screen_.set_wrap_pending(false);
}

void Console::print_zone() {
    static constexpr std::string_view kBlanks = "              ";
    print_text(kBlanks.substr(
        0, static_cast<std::size_t>(kZoneWidth - screen_.cursor_column() % kZoneWidth)));
}

void Console::print_number(Real value) {
    std::string text;
    append_number_text(text, value);
    text.push_back(' ');
    print_text(text);
}

void Console::locate(std::int32_t row, std::int32_t column) {
    if (input_ended_) return;
    const std::int32_t new_row = (row < 1 || row > screen_.rows()) ? screen_.cursor_row() : row - 1;
    const std::int32_t new_column =
        (column < 1 || column > screen_.columns()) ? screen_.cursor_column() : column - 1;
    if (new_row != screen_.cursor_row())
        terminal_.row_left(screen_, screen_.cursor_row(), RowExit::Move);
    screen_.set_cursor(new_row, new_column);
    screen_.set_wrap_pending(false);
    terminal_.moved(screen_);
}

void Console::clear_screen() {
    if (input_ended_) return;
    terminal_.row_left(screen_, screen_.cursor_row(), RowExit::Move);
    screen_.clear();
    terminal_.cleared(screen_);
}

std::optional<std::string> Console::next_key() {
    if (input_ended_) return std::nullopt;
    std::optional<std::string> key = terminal_.next_key();
    if (!key) input_ended_ = true;
    return key;
}

std::int32_t Console::key_waiting() {
    if (input_ended_) return 0;
    return terminal_.key_ready() ? -1 : 0;
}

std::string Console::read_key() {
    if (key_waiting() == 0) return {};
    return next_key().value_or(std::string{});
}

std::string Console::wait_key() {
    return next_key().value_or(std::string{});
}

void Console::cursor_left() {
    std::int32_t row = screen_.cursor_row();
    std::int32_t column = screen_.cursor_column();
    if (screen_.wrap_pending()) {
        column = screen_.columns() - 1;
    } else if (column > 0) {
        --column;
    } else if (row > 0) {
        --row;
        column = screen_.columns() - 1;
    }
    if (row != screen_.cursor_row())
        terminal_.row_left(screen_, screen_.cursor_row(), RowExit::Move);
    screen_.set_cursor(row, column);
    screen_.set_wrap_pending(false);
    terminal_.moved(screen_);
}

std::string Console::read_line() {
    std::string line;
    for (;;) {
        const std::optional<std::string> key = next_key();
        if (!key) return {};
        if (key->size() != 1) continue;  // keys without a character
        const char c = (*key)[0];
        if (c == kEnter) {
            print_newline();
            return line;
        }
        if (c == kBackspace) {
            if (line.empty()) continue;
            cursor_left();
            print_text(" ");
            cursor_left();
            line.pop_back();
            continue;
        }
        if (static_cast<unsigned char>(c) < 32) continue;
        if (line.size() >= kMaxLineLength) continue;
        line.push_back(c);
        print_text(*key);
    }
}

void Console::sleep_ms(std::int32_t ms) {
    if (input_ended_) return;
    terminal_.sleep_ms(ms);
}

void Console::beep() {
    if (input_ended_) return;
    terminal_.beep();
}

Real Console::seconds_since_midnight() {
    return terminal_.seconds_since_midnight();
}

void Console::finish() {
    terminal_.finish(screen_);
}

}  // namespace cp
