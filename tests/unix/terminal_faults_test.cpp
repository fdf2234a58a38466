// The real program at a pseudo-terminal, under a tiny job-control shell of the
// test's own: the terminal's modes after each way out are the modes it had
// before the program started, Ctrl+Z really stops it and lets it resume, and a
// resize in the middle of a session draws what follows at the new width.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "program_exec.hpp"
#include "read_until.hpp"
#include "vt_emulator.hpp"

namespace cp {
namespace {

constexpr std::string_view kPromptEnd = "Eingabe i (max 32) ";
constexpr unsigned short kRows = 100;

bool same_modes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// The shell runs the program in a process group of its own in the foreground,
// as a login shell would, and reports on a pipe: "P<pid>;" once, "S;" when the
// program stops (it then waits for a byte to continue it), "E<status>;" or
// "K<signal>;" at its end.
// With keys from a pipe the program reads the test's `keys` pipe instead of the
// terminal; in the background the shell keeps the terminal for itself.
struct ShellOptions {
    bool keys_from_pipe = false;
    bool background = false;
    unsigned short columns = 80;
    std::vector<std::string> arguments{};
    bool no_colour = false;  // NO_COLOR set for the program
};

class ShellSession {
  public:
    explicit ShellSession(ShellOptions options = {}) : options_(options) {
        winsize size{kRows, options_.columns, 0, 0};
        if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0) return;
        tcgetattr(slave_, &before_);
        int report[2];
        int control[2];
        if (pipe2(report, O_CLOEXEC) != 0 || pipe2(control, O_CLOEXEC) != 0) return;
        if (options_.keys_from_pipe && pipe2(keys_, O_CLOEXEC) != 0) return;
        shell_ = fork();
        if (shell_ == 0) {
            close(master_);
            setsid();
            ioctl(slave_, TIOCSCTTY, 0);
            run_shell(report[1], control[0]);
        }
        close(report[1]);
        close(control[0]);
        if (keys_[0] >= 0) close(keys_[0]);
        keys_[0] = -1;
        report_ = report[0];
        control_ = control[1];
        program_ = static_cast<pid_t>(std::stol(next_report("P")));
    }
    ~ShellSession() {
        if (program_ > 0) kill(program_, SIGKILL);
        if (shell_ > 0) {
            kill(shell_, SIGKILL);
            waitpid(shell_, nullptr, 0);
        }
        for (const int fd : {master_, slave_, report_, control_, keys_[1]})
            if (fd >= 0) close(fd);
    }

    bool started() const { return program_ > 0; }
    pid_t program() const { return program_; }
    termios modes_before() const { return before_; }
    termios modes_now() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    void type(std::string_view keys) {
        const int to = keys_[1] >= 0 ? keys_[1] : master_;
        ASSERT_EQ(write(to, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    void resume() { ASSERT_EQ(write(control_, "c", 1), 1); }
    // A new width, as a terminal window being resized: the program gets SIGWINCH.
    void resize(unsigned short columns) {
        const winsize size{kRows, columns, 0, 0};
        ASSERT_EQ(ioctl(master_, TIOCSWINSZ, &size), 0);
    }

    // Reads the program's output until needle appears after `from`; false after 10 s.
    bool wait_for(std::string_view needle, std::size_t from = 0) {
        return testing::read_until(master_, seen_, needle, from);
    }
    std::size_t seen_size() const { return seen_.size(); }
    const std::string& seen() const { return seen_; }
    std::size_t position(std::string_view needle, std::size_t from) const {
        return seen_.find(needle, from);
    }
    // The prompt after the result line of a search that began after `from`.
    bool wait_for_next_prompt(std::size_t from) {
        if (!wait_for("Wultiplikation", from)) return false;
        return wait_for(kPromptEnd, seen_.find("Wultiplikation", from));
    }
    std::string tail() const { return seen_.substr(seen_.size() > 600 ? seen_.size() - 600 : 0); }
    // Keeps the pty drained (a full one would block the program) while waiting
    // for the shell's next report of the given kind; its text after the letter.
    std::string next_report(std::string_view kind) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            const std::size_t end = reports_.find(';');
            if (end != std::string::npos) {
                std::string one = reports_.substr(0, end);
                reports_.erase(0, end + 1);
                if (one.rfind(kind, 0) == 0) return one.substr(kind.size());
                return "unexpected " + one;
            }
            if (std::chrono::steady_clock::now() > deadline) return "no report";
            pollfd waits[2] = {{report_, POLLIN, 0}, {master_, POLLIN, 0}};
            if (poll(waits, 2, 50) <= 0) continue;
            char bytes[4096];
            if ((waits[1].revents & POLLIN) != 0) {
                const ssize_t got = read(master_, bytes, sizeof bytes);
                if (got > 0) seen_.append(bytes, static_cast<std::size_t>(got));
            }
            if ((waits[0].revents & (POLLIN | POLLHUP)) != 0) {
                const ssize_t got = read(report_, bytes, sizeof bytes);
                if (got <= 0) return "no report";
                reports_.append(bytes, static_cast<std::size_t>(got));
            }
        }
    }

  private:
    [[noreturn]] void run_shell(int report, int control) {
        const pid_t program = fork();
        if (program == 0) {
            setpgid(0, 0);
            for (int fd = 0; fd < 3; ++fd) dup2(slave_, fd);
            if (keys_[0] >= 0) dup2(keys_[0], 0);
            if (options_.no_colour) {
                setenv("NO_COLOR", "1", 1);
            } else {
                unsetenv("NO_COLOR");
            }
            testing::exec_program(COLLATZPERM_BINARY, options_.arguments);
        }
        setpgid(program, program);
        if (!options_.background) tcsetpgrp(slave_, program);
        say(report, "P" + std::to_string(program) + ";");
        for (;;) {
            int status = 0;
            if (waitpid(program, &status, WUNTRACED) < 0) _exit(1);
            if (WIFSTOPPED(status)) {
                say(report, "S;");
                char go = 0;
                if (read(control, &go, 1) != 1) _exit(1);
                kill(-program, SIGCONT);
                continue;
            }
            if (WIFEXITED(status)) say(report, "E" + std::to_string(WEXITSTATUS(status)) + ";");
            if (WIFSIGNALED(status)) say(report, "K" + std::to_string(WTERMSIG(status)) + ";");
            _exit(0);
        }
    }
    static void say(int fd, const std::string& text) {
        [[maybe_unused]] const ssize_t ignored = write(fd, text.data(), text.size());
    }

    ShellOptions options_;
    int master_ = -1;
    int slave_ = -1;
    int keys_[2] = {-1, -1};
    int report_ = -1;
    int control_ = -1;
    pid_t shell_ = -1;
    pid_t program_ = -1;
    termios before_{};
    std::string seen_;
    std::string reports_;
};

// Start-up up to the first prompt.
void start(ShellSession& session) {
    ASSERT_TRUE(session.started());
    ASSERT_TRUE(session.wait_for("Bitte"));
    session.type("\r");
    ASSERT_TRUE(session.wait_for(kPromptEnd));
    ASSERT_FALSE(same_modes(session.modes_now(), session.modes_before()));  // raw now
}

TEST(TerminalFaults, NormalEndRestoresTheModes) {
    ShellSession session;
    start(session);
    const std::size_t mark = session.seen_size();
    session.type("5\r");
    ASSERT_TRUE(session.wait_for("i.m = 5.", mark));
    ASSERT_TRUE(session.wait_for_next_prompt(mark));
    session.type("Q\rx");
    EXPECT_EQ(session.next_report("E"), "0") << session.tail();
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
}

TEST(TerminalFaults, SignalsAndFailuresRestoreTheModes) {
    // SIGSEGV and SIGABRT stand for a failure inside the program (an uncaught
    // exception ends in abort); the program cannot be made to fail from outside.
    for (const int sig : {SIGTERM, SIGHUP, SIGSEGV, SIGABRT}) {
        ShellSession session;
        start(session);
        kill(session.program(), sig);
        EXPECT_EQ(session.next_report("K"), std::to_string(sig)) << sig;
        EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before())) << sig;
    }
}

TEST(TerminalFaults, CtrlBackslashEndsAtOnceAndRestores) {
    ShellSession session;
    start(session);
    session.type("\x1c");
    EXPECT_EQ(session.next_report("E"), std::to_string(128 + SIGQUIT));
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
}

TEST(TerminalFaults, CtrlZStopsWithTheModesRestoredAndResumesRaw) {
    ShellSession session;
    start(session);
    session.type("\x1a");
    ASSERT_EQ(session.next_report("S"), "");
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
    // Raw mode is back as soon as the program runs again, and the prompt it
    // waits at is drawn anew without a key.
    const std::size_t stopped_at = session.seen_size();
    session.resume();
    EXPECT_TRUE(session.wait_for(kPromptEnd, stopped_at)) << session.tail();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (same_modes(session.modes_now(), session.modes_before()) &&
           std::chrono::steady_clock::now() < deadline) {
        usleep(1000);
    }
    ASSERT_FALSE(same_modes(session.modes_now(), session.modes_before()));
    // The program answers keys as before: the next search and its prompt.
    const std::size_t mark = session.seen_size();
    session.type("5\r");
    ASSERT_TRUE(session.wait_for("i.m = 5.1", mark));
    ASSERT_TRUE(session.wait_for_next_prompt(session.position("i.m = 5.1", mark)));
    EXPECT_FALSE(same_modes(session.modes_now(), session.modes_before()));
    session.type("Q\rx");
    EXPECT_EQ(session.next_report("E"), "0") << session.tail();
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
}

// Keys from a pipe, the screen on the terminal: the terminal's LF to CR LF
// translation is off while the program draws (it ends its lines itself) and
// back at every way out; rows still start at the left margin.
TEST(TerminalFaults, ScreenOnlyTerminalHasItsLineEndsBackAtEveryWayOut) {
    for (const int sig : {0, SIGTERM, SIGSEGV}) {
        ShellSession session({.keys_from_pipe = true});
        ASSERT_TRUE(session.started());
        // Out while it waits for the first key, though it draws on a thread of its own.
        ASSERT_TRUE(session.wait_for("Bitte EMTER"));
        session.type("\r5\r");
        ASSERT_TRUE(session.wait_for("i.m = 5.1"));
        ASSERT_TRUE(session.wait_for_next_prompt(session.position("i.m = 5.1", 0)));
        const termios running = session.modes_now();
        EXPECT_EQ(running.c_oflag & ONLCR, 0U) << sig;
        EXPECT_EQ(running.c_lflag, session.modes_before().c_lflag) << sig;  // no raw keyboard
        EXPECT_EQ(session.seen().find("\r\r\n"), std::string::npos);
        EXPECT_NE(session.seen().find("\r\n  i.m = 5.1"), std::string::npos) << session.tail();
        if (sig == 0) {
            // A search that draws far more than one piece for the writing
            // thread, then the prompt it waits at, out in full.
            const std::size_t mark = session.seen_size();
            session.type("32\r");
            ASSERT_TRUE(session.wait_for("i.m = 32.0", mark));
            ASSERT_TRUE(session.wait_for_next_prompt(session.position("i.m = 32.0", mark)));
            // Every row once and in order: each ends with its running count.
            const std::string search = session.seen().substr(mark);
            int rows = 0;
            for (std::size_t at = search.find(" =1 "); at != std::string::npos;
                 at = search.find(" =1 ", at + 1)) {
                EXPECT_EQ(std::stoi(search.substr(at + 4)), rows) << "row " << rows;
                ++rows;
            }
            EXPECT_EQ(rows, 1174);
            session.type("Q\rx");
            EXPECT_EQ(session.next_report("E"), "0") << session.tail();
        } else {
            kill(session.program(), sig);
            EXPECT_EQ(session.next_report("K"), std::to_string(sig));
        }
        EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before())) << sig;
    }
}

// In the background the terminal belongs to the job in front: the program
// leaves its modes alone (and is not stopped for touching them).
TEST(TerminalFaults, ScreenOnlyInTheBackgroundLeavesTheModesAlone) {
    ShellSession session({.keys_from_pipe = true, .background = true});
    ASSERT_TRUE(session.started());
    session.type("\r5\r");
    ASSERT_TRUE(session.wait_for_next_prompt(0));
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
    session.type("Q\rx");
    EXPECT_EQ(session.next_report("E"), "0") << session.tail();
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
}

// --help at a terminal writes its text and leaves the terminal as it was.
TEST(TerminalFaults, HelpLeavesTheModesAlone) {
    ShellSession session({.arguments = {"--help"}});
    ASSERT_TRUE(session.started());
    EXPECT_EQ(session.next_report("E"), "0");
    EXPECT_TRUE(session.wait_for("man collatzperm")) << session.tail();
    EXPECT_EQ(session.seen().find('\x1b'), std::string::npos);
    EXPECT_TRUE(same_modes(session.modes_now(), session.modes_before()));
}

// With NO_COLOR the terminal gets the same bytes less every colour code.
TEST(TerminalFaults, NoColorDrawsTheSameWithoutColourCodes) {
    const auto first_search = [](bool no_colour) {
        ShellSession session({.no_colour = no_colour});
        start(session);
        session.type("Q\rx");
        EXPECT_EQ(session.next_report("E"), "0") << session.tail();
        // Up to the search time, which differs from run to run.
        return session.seen().substr(0, session.seen().find("Wultiplikation"));
    };
    const std::regex sgr("\x1b\\[[0-9;]*m");
    const std::string plain = first_search(true);
    const std::string coloured = first_search(false);
    ASSERT_NE(plain.find("i.m = 17.0"), std::string::npos);
    EXPECT_FALSE(std::regex_search(plain, sgr));
    EXPECT_TRUE(std::regex_search(coloured, sgr));
    EXPECT_EQ(std::regex_replace(coloured, sgr, ""), plain);
}

// The lines a terminal shows from the one that holds `first` to the last one
// with text; a search's time, which differs from run to run, as "T sek".
std::vector<std::string> lines_from(const testing::Emulator& screen, std::string_view first) {
    static const std::regex search_time("[0-9.E+-]+ sek$");
    std::vector<std::string> lines;
    for (int y = 0; y < screen.height(); ++y) {
        if (lines.empty() && screen.line(y).find(first) == std::string::npos) continue;
        lines.push_back(std::regex_replace(screen.line(y), search_time, "T sek"));
    }
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// Narrowed at a prompt, the program draws what follows as if it had started at
// the new width: rows that now wrap, the run-time prompt (Enter typed ahead
// into the search), and the rows that then overwrite it two rows up.
TEST(TerminalFaults, AfterAResizeTheScreenIsAsIfStartedAtThatWidth) {
    constexpr unsigned short kNarrow = 40;
    const auto picture = [](bool resized) {
        ShellSession session({.columns = resized ? static_cast<unsigned short>(80) : kNarrow});
        start(session);
        testing::Emulator screen(resized ? 80 : kNarrow, kRows);
        screen.feed(session.seen());
        const std::size_t fed = session.seen_size();
        if (resized) {
            session.resize(kNarrow);
            screen.resize(kNarrow);
        }
        session.type("9\r\r\r");
        EXPECT_TRUE(session.wait_for("Eingabe hier", fed));
        EXPECT_TRUE(session.wait_for_next_prompt(session.position("Eingabe hier", fed)));
        screen.feed(session.seen().substr(fed));
        return lines_from(screen, "i.m = 9.0");
    };
    const std::vector<std::string> expected = picture(false);
    ASSERT_GT(expected.size(), 10U);
    EXPECT_EQ(picture(true), expected);
}

}  // namespace
}  // namespace cp
