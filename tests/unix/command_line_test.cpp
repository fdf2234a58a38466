// The command line of the real program: what each argument prints, where, and
// with which exit status; nothing but --help and --version is taken.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_exec.hpp"

namespace cp {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string read_all(int fd) {
    std::string text;
    char bytes[4096];
    for (ssize_t got; (got = read(fd, bytes, sizeof bytes)) > 0;) {
        text.append(bytes, static_cast<std::size_t>(got));
    }
    close(fd);
    return text;
}

// Standard input is empty: a program that started anyway would show its start
// table before it noticed. `stdout_path` replaces the output pipe.
Outcome run_with(const std::vector<std::string>& arguments, const char* stdout_path = nullptr) {
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(stdout_path != nullptr ? open(stdout_path, O_WRONLY) : out[1], 1);
        dup2(err[1], 2);
        for (const int fd : {out[0], out[1], err[0], err[1]}) close(fd);
        testing::exec_program(COLLATZPERM_BINARY, arguments);
    }
    close(out[1]);
    close(err[1]);
    Outcome outcome;
    outcome.out = read_all(out[0]);
    outcome.err = read_all(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    return outcome;
}

std::string usage_error(const std::string& first_line) {
    return "collatzperm: " + first_line + "\nTry 'collatzperm --help' for more information.\n";
}

TEST(CommandLine, EachArgumentHasItsAnswer) {
    const std::string help = run_with({"--help"}).out;
    ASSERT_EQ(help.rfind("Usage: collatzperm [--help | --version]\n", 0), 0U) << help;
    for (const char* part : {"NO_COLOR", "man collatzperm", "printf", "Q   "}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(help.find('\x1b'), std::string::npos);

    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err;
    };
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
        {{"/?"}, 2, "", usage_error("unexpected argument '/?'")},  // Windows' habit only
    };
    for (const Case& c : cases) {
        const Outcome outcome = run_with(c.arguments);
        const std::string name = c.arguments.front();
        EXPECT_EQ(outcome.status, c.status) << name;
        EXPECT_EQ(outcome.out, c.out) << name;
        EXPECT_EQ(outcome.err, c.err) << name;
    }
}

// A help text that could not be written is not reported as shown.
TEST(CommandLine, AnswerThatCannotBeWrittenFails) {
    for (const char* option : {"--help", "--version"}) {
        const Outcome outcome = run_with({option}, "/dev/full");
        EXPECT_EQ(outcome.status, 1) << option;
        EXPECT_EQ(outcome.err, "collatzperm: cannot write to standard output\n") << option;
    }
}

}  // namespace
}  // namespace cp
