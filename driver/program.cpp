#include "driver/program.hpp"

#include <string>
#include <string_view>

#include "console/numbers/number_format.hpp"
#include "console/numbers/parse_number.hpp"
#include "console/strings.hpp"
#include "driver/intro_screens.hpp"
#include "driver/listing.hpp"
#include "driver/texts.hpp"
#include "explorer/sequence_explorer.hpp"
#include "search/permutation_search.hpp"

namespace cp {

namespace {
constexpr std::int32_t kScreenColumns = 900;
constexpr std::int32_t kScreenRows = 16000;
constexpr std::int32_t kCommandLength = 17;

// Centres the window on the desktop's work area, as far as there is a window.
void centre_window(Console& console) {
    const PixelSize window = console.window_pixel_size();
    const PixelSize area = console.work_area_pixel_size();
    console.move_window(to_int32(static_cast<Real>(area.width - window.width) / 2),
                        to_int32(static_cast<Real>(area.height - window.height) / 2));
}

void print_prompt(Console& console, const State& state) {
    const DriverTexts& texts = driver_texts(state.language);
    console.set_color(state.multiplierSign == 1 ? 10 : 13, -1);
    if (state.command == "F") {
        console.print_text(texts.next_line);
        console.print_text(remove_all(number_text(static_cast<Real>(state.exponent)), " "));
        console.print_newline();
    }
    console.set_color(state.multiplierSign > 0 ? 14 : 13, -1);
    console.print_text(texts.prompt);
}

bool is_listing(std::string_view command) {
    return command == "F" || command == "D" || command == "G";
}
}  // namespace

void run_program(Console& console, State& state) {
    console.set_screen_size(kScreenColumns, kScreenRows);
    console.maximize_window();
    centre_window(console);
    console.set_color(15, 0);
    console.clear_screen();
    show_start_table(console, state);
    if (console.input_ended()) return;
    state.previousExponent = 16;
    state.stepDirection = +1;
    show_text_screen(console, state);
    state.command.clear();
    new_exponent_step(console, state);
    while (run_command(console, state)) {
    }
}

bool run_command(Console& console, State& state) {
    print_prompt(console, state);
    if (state.observer != nullptr) state.observer->command_prompt();
    const std::string line = console.read_line();
    if (console.input_ended()) return false;
    state.command = input_field(line, 1);
    [[maybe_unused]] const std::string second_field = input_field(line, 2);
    state.command = substring(upper_keys(state.command), 1, kCommandLength);

    if (state.command == "Q") {
        console.wait_key();
        return false;
    }
    if (state.command == "T") {
        state.previousExponent = 10;
        show_text_screen(console, state);
        new_exponent_step(console, state);
        return !console.input_ended();
    }
    state.zeroCommand = state.command == "0" ? 1 : 0;
    if (is_listing(state.command) && state.compressedMode == 0) {
        list_last_search(console, state);
        return true;
    }
    if (!explore_sequence(console, state)) new_exponent_step(console, state);
    return !console.input_ended();
}

void new_exponent_step(Console& console, State& state) {
    const std::string& command = state.command;
    state.exponent = to_int64(parse_number(command));
    if (command == "J") {
        state.showAllRows = 1 - state.showAllRows;
        state.exponent = state.previousExponent;
        return;
    }
    if (command == "X" || state.previousExponent == 2) state.stepDirection = -state.stepDirection;
    if (state.exponent >= 33 || state.previousExponent >= 32) {
        state.exponent = 10;
        console.beep();
    }
    if (state.exponent == 0) state.exponent = state.previousExponent + state.stepDirection;
    if (command == "K") {
        state.compressedMode = 1 - state.compressedMode;
        state.exponent -= 1;
        state.rowColour = 29 - state.rowColour;
    }
    if (command == "M") {
        state.multiplierSign = -state.multiplierSign;
        state.exponent -= 1;
    }
    if (command == "Z") {
        state.firstOddOption = 1 - state.firstOddOption;
        state.exponent -= 1;
    }
    if (command == "B") {
        state.beepOption = 1 - state.beepOption;
        if (state.beepOption == 1) console.beep();
    }
    // No sequence has fewer than one step: such exponents (typed negatives,
    // numbers beyond 64 bits, steps below 1) go the way of those above 32.
    if (state.exponent < 1) {
        state.exponent = 10;
        console.beep();
    }
    state.previousExponent = static_cast<std::int32_t>(state.exponent);
    run_search(console, state);
}

}  // namespace cp
