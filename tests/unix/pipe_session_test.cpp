// The real program in pipe mode: keys from a file, the transcript on standard
// output, the end of the input ending it like "Q"; with keys from a pipe that
// has none yet, what it has shown is out while it waits.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "program_exec.hpp"
#include "read_until.hpp"
#include "timed_session.hpp"

namespace cp {
namespace {

using testing::run_session;

const std::string kMarkerUtf8 = "\u25A0";

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::size_t find_line(const std::vector<std::string>& lines, const std::string& prefix,
                      std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].rfind(prefix, 0) == 0) return i;
    }
    return lines.size();
}

TEST(PipeSession, StartTableTextScreenAndFirstSearch) {
    const auto result = run_session("\nQ\n\n");
    EXPECT_EQ(result.exit_status, 0);
    const auto lines = lines_of(result.transcript);
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines[0], "   0           0            + 1           = 1            4  1 ");
    EXPECT_EQ(lines[20], "  Bitte EMTER  ..........");
    // The text screen's clear does not erase the transcript; it follows.
    const std::size_t intro = find_line(lines, "  Das Programm zeigt");
    ASSERT_LT(intro, lines.size());
    const std::size_t first_row = find_line(lines, "  i.m = 17.0", intro);
    ASSERT_LT(first_row, lines.size());
    EXPECT_EQ(lines[first_row],
              "  i.m = 17.0   ____________131072  ................." + kMarkerUtf8 + " =1 0x");
    const std::size_t result_line = find_line(lines, "    " + kMarkerUtf8, first_row);
    EXPECT_EQ(result_line, first_row + 36);
    const std::string expected =
        "    " + kMarkerUtf8 + " = 1 Wultiplikation      ...       35 Dif.= 100 %  ";
    EXPECT_EQ(lines[result_line].substr(0, expected.size()), expected);
    EXPECT_EQ(lines.back(),
              "                 Q=Quitt  T=Text+clear  ENTER: stop/go  Eingabe i "
              "(max 32) Q");
}

TEST(PipeSession, EndOfInputEndsLikeQuit) {
    for (const std::string keys : {"", "\n", "\n20", "\n20\n", "\r\n5\r\n"}) {
        const auto result = run_session(keys);
        EXPECT_EQ(result.exit_status, 0) << keys;
        EXPECT_EQ(result.transcript.find('\x1b'), std::string::npos);
    }
    const auto lines = lines_of(run_session("\r\n5\r\n").transcript);
    EXPECT_LT(find_line(lines, "  i.m = 5.1"), lines.size());  // CR LF is one Enter
}

TEST(PipeSession, BeepIsBelAheadOfItsRow) {
    const auto result = run_session("\n40\nQ\n\n");
    EXPECT_EQ(result.exit_status, 0);
    const std::size_t bel = result.transcript.find('\a');
    ASSERT_NE(bel, std::string::npos);
    // The beep comes before the search for 10, ahead of its first row.
    EXPECT_EQ(result.transcript.substr(bel + 1, 12), "  i.m = 10.0");
}

TEST(PipeSession, LanguageFromTheEnvironmentUnlessAnOptionSaysOtherwise) {
    const std::string german = "  Bitte EMTER  ..........";
    const std::string english = "  Please press ENTER  ..........";
    struct Case {
        const char* variable;
        const char* value;
        std::vector<std::string> arguments;
        const std::string& press_enter;
    };
    const Case cases[] = {
        {"COLLATZPERM_LANGUAGE", "en", {}, english},
        {"COLLATZPERM_LANGUAGE", "En", {}, english},
        {"COLLATZPERM_LANGUAGE", "en", {"--language=de"}, german},
        {"COLLATZPERM_LANGUAGE", "fr", {}, german},  // unknown: ignored
        {"COLLATZPERM_LANGUAGE", "de", {"--language", "en"}, english},
        {"LC_ALL", "en_US.UTF-8", {}, german},  // the locale does not switch it
    };
    for (const Case& c : cases) {
        ASSERT_EQ(setenv(c.variable, c.value, 1), 0);
        const auto result = testing::run_timed_session("", std::chrono::seconds(30), c.arguments);
        unsetenv(c.variable);
        EXPECT_EQ(result.exit_status, 0) << c.value;
        const auto lines = lines_of(result.transcript);
        ASSERT_GT(lines.size(), 20u) << c.value;
        EXPECT_EQ(lines[20], c.press_enter) << c.variable << "=" << c.value;
    }
}

// The program with a pipe for its keys and one for its transcript, both held
// by the test, as another program driving it would hold them.
class PipedProgram {
  public:
    PipedProgram() {
        int keys[2];
        int out[2];
        if (pipe2(keys, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(keys[0], 0);
            dup2(out[1], 1);
            testing::exec_program(COLLATZPERM_BINARY);
        }
        close(keys[0]);
        close(out[1]);
        keys_ = keys[1];
        out_ = out[0];
    }
    ~PipedProgram() {
        if (keys_ >= 0) close(keys_);
        if (out_ >= 0) close(out_);
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    void type(std::string_view keys) {
        ASSERT_EQ(write(keys_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    // Reads the transcript until `needle` appears; false after 10 s.
    bool wait_for(std::string_view needle) { return testing::read_until(out_, seen_, needle); }
    // Ends the keys and waits for the program; its exit status.
    int end() {
        close(keys_);
        keys_ = -1;
        while (wait_for("never shown")) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int keys_ = -1;
    int out_ = -1;
    bool reaped_ = false;
    std::string seen_;
};

TEST(PipeSession, WhatIsShownIsOutWhileItWaitsForKeys) {
    PipedProgram program;
    // The start table waits for Enter, the prompt after the first search for a line.
    ASSERT_TRUE(program.wait_for("   8           85"));
    program.type("\r");
    ASSERT_TRUE(program.wait_for("Wultiplikation"));
    program.type("5\r");
    ASSERT_TRUE(program.wait_for("  i.m = 5.1"));
    EXPECT_EQ(program.end(), 0);
}

}  // namespace
}  // namespace cp
