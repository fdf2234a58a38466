#include "app/command_line.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/help_texts.hpp"
#include "console/conventions.hpp"

namespace cp {

namespace {

constexpr int kUsageError = 2;
constexpr int kWriteError = 1;

constexpr std::string_view kVersionText = "collatzperm " COLLATZPERM_VERSION "\n";

// The help of every platform; the holes in braces take the platform's part
// (console/*/conventions.cpp) and the option tables below.
constexpr std::string_view kHelpText =
    "Usage: collatzperm [--language=en] [{help} | --version]\n"
    "       collatzperm COMMAND [ARGUMENT] [OPTION]...\n"
    "\n"
    "Explore the Collatz sequences that start at powers of two. For an exponent\n"
    "i from 1 to 32, collatzperm finds every start number whose sequence reaches\n"
    "1 after exactly i steps, as the sequence of 2^i does, and shows each with\n"
    "its pattern of divisions and multiplications. Its screens are in German,\n"
    "or in English with --language=en.\n"
    "\n"
    "Run it in a {terminal}, with no arguments but the language:\n"
    "  Enter         at the opening table: on to the text screen and the first\n"
    "                search, for 2^17\n"
    "  a number      then Enter, at the prompt: search that exponent (1 to 32)\n"
    "  Enter         at the prompt: search the next exponent\n"
    "  Q             then Enter and one more key: quit\n"
    "  Space         while a search runs: its run-time prompt, where any text\n"
    "                and Enter stop the search and Enter alone goes on (every\n"
    "                key but a digit or a letter does the same)\n"
    "  0 to 9        while a search runs: a longer pause after each row\n"
    "\n"
    "Script it with pipes: when standard input is not a {terminal}, each byte is\n"
    "a key and a line end is Enter; when standard output is not a {terminal}, it\n"
    "writes a plain UTF-8 transcript. For example:\n"
    "{example}"
    "\n"
    "Commands for scripts, records on standard output (collatzperm help COMMAND):\n"
    "{commands}"
    "\n"
    "Options:\n"
    "{options}"
    "\n"
    "Environment:\n"
    "{environment}"
    "\n"
    "{manual}";

struct OptionRow {
    std::string_view names;
    std::string_view what;
};

constexpr std::string_view kHelpOptionText = "show this help and exit";
constexpr OptionRow kVersionOption = {"--version", "show the version and exit"};
constexpr OptionRow kLanguageOption = {"--language=en",
                                       "English screens (de: German, the default)"};
constexpr OptionRow kEnvironment[] = {
    {"NO_COLOR", "set and not empty: draw without colours"},
    {"COLLATZPERM_LANGUAGE", "en: English screens, as --language=en"},
};

constexpr std::string_view kProgramName = "collatzperm: ";
constexpr std::string_view kUsageHint = "\nTry 'collatzperm --help' for more information.\n";
constexpr std::string_view kWriteFailed = "collatzperm: cannot write to standard output\n";

void write_error(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

std::string joined(std::span<const std::string_view> words, std::string_view separator) {
    std::string text;
    for (const std::string_view word : words) {
        if (!text.empty()) text += separator;
        text += word;
    }
    return text;
}

// Each line indented by two blanks.
std::string indented(std::string_view lines) {
    std::string text;
    for (std::size_t start = 0; start < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size() - 1) + 1;
        text += "  ";
        text += lines.substr(start, end - start);
        start = end;
    }
    return text;
}

std::size_t longest_name(std::span<const OptionRow> rows) {
    std::size_t longest = 0;
    for (const OptionRow& row : rows) longest = std::max(longest, row.names.size());
    return longest;
}

std::string table(std::span<const OptionRow> rows, std::size_t column) {
    std::string text;
    for (const OptionRow& row : rows) {
        text += "  ";
        text += row.names;
        text.append(column - row.names.size(), ' ');
        text += row.what;
        text += '\n';
    }
    return text;
}

void fill(std::string& text, std::string_view hole, std::string_view value) {
    for (std::size_t at = text.find(hole); at != std::string::npos;
         at = text.find(hole, at + value.size())) {
        text.replace(at, hole.size(), value);
    }
}

std::string help_text(const CommandLineConventions& platform) {
    const std::string help_names = joined(platform.help_options, ", ");
    const OptionRow options[] = {{help_names, kHelpOptionText}, kVersionOption, kLanguageOption};
    // One column for both tables, two blanks after the longest name.
    const std::size_t column = std::max(longest_name(options), longest_name(kEnvironment)) + 2;

    std::string text(kHelpText);
    fill(text, "{help}", joined(platform.help_options, " | "));
    fill(text, "{terminal}", platform.terminal);
    fill(text, "{example}", indented(platform.pipe_example));
    fill(text, "{options}", table(options, column));
    fill(text, "{environment}", table(kEnvironment, column));
    fill(text, "{commands}", kCommandSummary);
    fill(text, "{manual}", platform.manual);
    return text;
}

// A help text that did not arrive must not be reported as shown.
int answer(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) == 0 && written) return 0;
    write_error(kWriteFailed);
    return kWriteError;
}

int usage_error(std::string_view argument) {
    const bool option = argument.size() > 1 && argument.front() == '-';
    std::string problem(option ? "unknown option '" : "unexpected argument '");
    problem += argument;
    problem += '\'';
    return report_usage_error(problem);
}

}  // namespace

int report_usage_error(std::string_view problem) {
    std::string message(kProgramName);
    message += problem;
    message += kUsageHint;
    write_error(message);
    return kUsageError;
}

std::optional<int> answer_command_line(std::span<const std::string_view> arguments) {
    // The first argument decides, as with the usual option parsers.
    if (arguments.empty()) return std::nullopt;
    const std::string_view first = arguments.front();
    const CommandLineConventions& platform = command_line_conventions();
    if (std::find(platform.help_options.begin(), platform.help_options.end(), first) !=
        platform.help_options.end()) {
        return answer(help_text(platform));
    }
    if (first == "--version") return answer(kVersionText);
    return usage_error(first);
}

bool colours_wanted() {
    const char* no_colour = std::getenv("NO_COLOR");
    return no_colour == nullptr || *no_colour == '\0';
}

}  // namespace cp
