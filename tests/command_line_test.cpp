// The command line of the real program: what each argument prints, where, and
// with which exit status; nothing but --help and --version is taken.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "console/conventions.hpp"
#include "timed_session.hpp"

namespace cp {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Line ends as the platform writes text (Windows: CR LF), taken as LF. The
// keys are empty: a program that started anyway would show its start table.
Outcome run_with(const std::vector<std::string>& arguments) {
    const testing::TimedSession session =
        testing::run_timed_session("", std::chrono::seconds(30), arguments);
    const auto lf = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    return {session.exit_status, lf(session.transcript), lf(session.errors)};
}

std::string usage_error(const std::string& first_line) {
    return "collatzperm: " + first_line + "\nTry 'collatzperm --help' for more information.\n";
}

TEST(CommandLine, EachArgumentHasItsAnswer) {
    const CommandLineConventions& platform = command_line_conventions();
    const std::string help = run_with({"--help"}).out;
    // The usage line names every way to ask for the help, and the help speaks
    // the platform's language: its shell in the example, its manual.
    const std::string usage = help.substr(0, help.find('\n'));
    for (const std::string_view option : platform.help_options) {
        EXPECT_NE(usage.find(std::string(option) + " |"), std::string::npos) << usage;
    }
    // It names the command words too.
    for (const std::string_view part :
         {std::string_view("NO_COLOR"), std::string_view("COLLATZPERM_LANGUAGE"),
          std::string_view("  --language=en  "), std::string_view("Q   "), platform.manual,
          std::string_view("  search I "), std::string_view("  count A..B "),
          std::string_view("  sequence N "), std::string_view("  help [COMMAND] ")}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    const std::string example(platform.pipe_example.substr(0, platform.pipe_example.find('\n')));
    EXPECT_NE(help.find("\n  " + example + "\n"), std::string::npos) << example;
    EXPECT_EQ(help.find('\x1b'), std::string::npos);

    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    };
    // Windows programs answer /? with their help; elsewhere it is a stray word.
    const auto& options = platform.help_options;
    const bool slash_help = std::find(options.begin(), options.end(), "/?") != options.end();
    const Case slash = slash_help ? Case{{"/?"}, 0, help, ""}
                                  : Case{{"/?"}, 2, "", usage_error("unexpected argument '/?'")};
    const Case cases[] = {
        {{"--help"}, 0, help, ""},
        {{"-h"}, 0, help, ""},
        {{"--help", "foo"}, 0, help, ""},  // the first argument decides
        {{"--version"}, 0, "collatzperm " COLLATZPERM_VERSION "\n", ""},
        {{"--bogus"}, 2, "", usage_error("unknown option '--bogus'")},
        {{"-Q"}, 2, "", usage_error("unknown option '-Q'")},
        {{"--"}, 2, "", usage_error("unknown option '--'")},
        {{"foo"}, 2, "", usage_error("unexpected argument 'foo'")},
        {{"foo", "--help"}, 2, "", usage_error("unexpected argument 'foo'")},
        {{""}, 2, "", usage_error("unexpected argument ''")},
        // The language comes first and leaves the rest to the arguments after it.
        {{"--language=en", "--version"}, 0, "collatzperm " COLLATZPERM_VERSION "\n", ""},
        {{"--language", "EN", "--language=de", "-h"}, 0, help, ""},
        {{"--version", "--language=en"}, 0, "collatzperm " COLLATZPERM_VERSION "\n", ""},
        {{"--language=en", "foo"}, 2, "", usage_error("unexpected argument 'foo'")},
        {{"--language=fr"}, 2, "", usage_error("unknown language 'fr' (de or en)")},
        {{"--language="}, 2, "", usage_error("unknown language '' (de or en)")},
        {{"--language"}, 2, "", usage_error("option '--language' needs a language: de or en")},
        {{"--languages=en"}, 2, "", usage_error("unknown option '--languages=en'")},
        slash,
    };
    for (const Case& c : cases) {
        const Outcome outcome = run_with(c.arguments);
        const std::string name = c.arguments.front();
        EXPECT_EQ(outcome.status, c.status) << name;
        EXPECT_EQ(outcome.out, c.out) << name;
        EXPECT_EQ(outcome.err, c.err) << name;
    }
}

}  // namespace
}  // namespace cp
