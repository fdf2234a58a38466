#include "driver/intro_screens.hpp"

#include <array>
#include <string>
#include <string_view>

#include "console/numbers/arithmetic.hpp"
#include "console/strings.hpp"
#include "driver/texts.hpp"

namespace cp {

namespace {
constexpr std::string_view kTableIndent = "  ";
constexpr std::string_view kPlus = "+";
constexpr std::string_view kEquals = "=";
constexpr std::int32_t kTableColour = 15;
constexpr std::int32_t kKeysColour = 14;
constexpr std::int32_t kClaimsColour = 15;
constexpr std::int32_t kWarningColour = 13;
constexpr char kEnter = 13;

void print_line(Console& console, std::string_view text) {
    console.print_text(text);
    console.print_newline();
}
}  // namespace

void show_start_table(Console& console, const State& state) {
    const DriverTexts& texts = driver_texts(state.language);
    console.set_color(kTableColour, -1);
    std::int64_t sum = 0;
    for (double j = 0; j <= 30; j += 2) {
        const Real power_of_two = power(2, j);
        console.print_text(kTableIndent);
        console.print_number(j);
        console.print_zone();
        console.print_number(static_cast<Real>(sum));
        console.print_zone();
        console.print_text(kPlus);
        console.print_number(power_of_two);
        console.print_zone();
        console.print_text(kEquals);
        console.print_number(power_of_two + sum);
        console.print_zone();
        console.print_number(4 * (power_of_two + sum));
        console.print_number(1);
        console.print_newline();
        sum = to_int64(power_of_two + sum);
    }
    console.print_newline();
    print_line(console, texts.columns_note);
    print_line(console, texts.sums_note);
    console.print_newline();
    print_line(console, texts.press_enter);
    for (;;) {
        const std::string key = console.wait_key();
        if (key.empty() || key[0] == kEnter) return;  // Enter, or the end of the input
    }
}

void print_warning_line(Console& console, const State& state, std::int32_t colour) {
    console.set_color(colour, -1);
    print_line(console, driver_texts(state.language).warning);
}

void show_text_screen(Console& console, State& state) {
    const DriverTexts& texts = driver_texts(state.language);
    state.defaultStart = 24;
    console.clear_screen();
    console.print_newline();

    print_line(console, texts.intro_line1);
    console.print_text(texts.intro_line2_start);
    console.print_text(std::string(1, kMarker));
    print_line(console, texts.intro_line2_end);
    print_line(console, texts.intro_line3);
    print_line(console, texts.intro_line4);
    console.print_newline();

    console.set_color(kKeysColour, -1);
    print_line(console, texts.keys_pause);
    console.print_newline();
    for (std::string_view line : texts.keys_options) print_line(console, line);
    console.print_newline();
    for (std::string_view line : texts.keys_codes) print_line(console, line);
    console.print_newline();

    state.rowColour = 15;
    console.set_color(kClaimsColour, -1);
    for (std::string_view line : texts.claims) print_line(console, line);

    print_warning_line(console, state, kWarningColour);
    state.multiplierSign = +1;
    state.random.randomize(console.seconds_since_midnight());
}

}  // namespace cp
