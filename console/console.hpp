#pragma once
// The console operations the program calls. Each updates the Screen model and
// hands the visible change to the Terminal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "console/numbers/real.hpp"
#include "console/screen.hpp"
#include "console/terminal.hpp"

namespace cp {

class Console {
  public:
    explicit Console(Terminal& terminal);

    bool set_screen_size(std::int32_t columns, std::int32_t rows);
    // The window around the screen, where the terminal has one (see ScreenSink).
    void maximize_window() { terminal_.maximize_window(); }
    PixelSize window_pixel_size() { return terminal_.window_pixel_size(); }
    PixelSize work_area_pixel_size() { return terminal_.work_area_pixel_size(); }
    void move_window(std::int32_t x, std::int32_t y) { terminal_.move_window(x, y); }

    void print_text(std::string_view bytes);
    void print_newline();
    void print_zone();
    // Sign place, 15 significant digits and one trailing blank.
    void print_number(Real value);
    // 1-based; a row or column out of range keeps the current one.
    void locate(std::int32_t row, std::int32_t column);
    std::int32_t cursor_column() const { return screen_.cursor_column() + 1; }  // 1-based
    std::int32_t cursor_row() const { return screen_.cursor_row() + 1; }        // 1-based
    // A value outside 0..15 keeps that colour (-1 = keep).
    void set_color(std::int32_t foreground, std::int32_t background) {
        const auto in_range = [](std::int32_t colour) {
            return static_cast<std::uint32_t>(colour) <= 15;
        };
        screen_.set_colors(in_range(foreground) ? foreground : screen_.foreground(),
                           in_range(background) ? background : screen_.background());
    }
    void clear_screen();

    // -1 if a key is waiting, 0 if not.
    std::int32_t key_waiting();
    // The key string, "" if none is waiting.
    std::string read_key();
    // The next key string; "" only once the input has ended.
    std::string wait_key();
    // Echoed line up to Enter (at most 10,000 characters); "" once the input has ended.
    std::string read_line();

    void sleep_ms(std::int32_t ms);
    void beep();
    Real seconds_since_midnight();

    // True once the keyboard input has ended: the program then ends as after
    // "Q", and nothing more is shown.
    bool input_ended() const { return input_ended_; }
    // Writes what is still pending; called once when the program ends.
    void finish();

    const Screen& screen() const { return screen_; }

  private:
    // Text that reaches the end of its row or follows a pending wrap.
    void print_across_rows(std::string_view bytes);
    void cursor_left();
    void scroll();
    std::optional<std::string> next_key();

    Terminal& terminal_;
    Screen screen_;
    bool input_ended_ = false;
};

}  // namespace cp
