// collatzperm: keys from standard input and the screen on standard output, each
// handled the terminal way when it is a terminal and the pipe way when it is not;
// or, after a command word, a command for scripts.
#include <string_view>
#include <vector>

#include "app/command_line.hpp"
#include "app/language.hpp"
#include "commands/commands.hpp"
#include "console/console.hpp"
#include "console/picture_channel.hpp"
#include "console/split_terminal.hpp"
#include "console/standard_streams.hpp"
#include "driver/program.hpp"
#include "driver/state.hpp"
#include "pictures/picture_records.hpp"

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const cp::LanguageChoice language = cp::choose_language(arguments);
    if (language.error != 0) return language.error;
    // The commands write field names, in no language: a language before them
    // changes nothing.
    if (!language.rest.empty() && cp::is_command_word(language.rest.front())) {
        return cp::run_command_of_process(language.rest);
    }
    if (const auto status = cp::answer_command_line(language.rest)) return *status;

    const cp::StandardStreams streams =
        cp::open_standard_streams({.colours = cp::colours_wanted()});
    cp::SplitTerminal terminal(*streams.keys, *streams.screen);
    cp::Console console(terminal);
    cp::State state;
    state.language = language.language;
    // A page beside the terminal draws what the program shows.
    cp::PictureRecorder pictures(cp::send_to_pictures);
    if (cp::picture_channel_open()) state.observer = &pictures;
    cp::run_program(console, state);
    console.finish();
    return 0;
}
