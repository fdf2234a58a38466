// The terminal halves on a real pseudo-terminal: raw mode while the program
// runs, keys as the program sees them, and the terminal's modes restored on
// every way out.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "console/unix/tty_guard.hpp"
#include "console/unix/tty_input.hpp"
#include "console/unix/tty_output.hpp"
#include "read_until.hpp"

namespace cp {
namespace {

void say(std::string_view text) {
    [[maybe_unused]] const ssize_t ignored = ::write(1, text.data(), text.size());
}

// Writes each key the child reads as hex ("k:00 48;") until it reads q.
int echo_keys_until_q(TtyInput& input) {
    for (;;) {
        const std::optional<std::string> key = input.next_key();
        if (!key) return 7;
        std::string line = "k:";
        for (const char c : *key) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x ", static_cast<unsigned char>(c));
            line += hex;
        }
        line += ";";
        say(line);
        if (*key == "q") return 0;
    }
}

class PtyChild {
  public:
    explicit PtyChild(const std::function<int()>& body) {
        char name[128] = {};
        winsize size{24, 80, 0, 0};
        pid_ = forkpty(&master_, name, nullptr, &size);
        if (pid_ == 0) _exit(body());
        slave_ = ::open(name, O_RDWR | O_NOCTTY);
    }
    ~PtyChild() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    bool started() const { return pid_ > 0 && master_ >= 0 && slave_ >= 0; }

    // Reads what the child wrote until `needle` appears; false after 5 s.
    bool wait_for(std::string_view needle) {
        return testing::read_until(master_, seen_, needle, 0, std::chrono::seconds(5));
    }
    void type(std::string_view keys) {
        ASSERT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    termios modes() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    int wait_status() {
        int status = 0;
        waitpid(pid_, &status, 0);
        reaped_ = true;
        return status;
    }
    pid_t pid() const { return pid_; }
    int master() const { return master_; }
    const std::string& seen() const { return seen_; }

  private:
    pid_t pid_ = -1;
    int master_ = -1;
    int slave_ = -1;
    bool reaped_ = false;
    std::string seen_;
};

bool is_raw(const termios& t) {
    return (t.c_lflag & (ICANON | ECHO)) == 0 && (t.c_lflag & ISIG) != 0 &&
           t.c_cc[VINTR] == _POSIX_VDISABLE && (t.c_iflag & (ICRNL | IXON)) == 0;
}
bool is_cooked(const termios& t) {
    return (t.c_lflag & (ICANON | ECHO | ISIG)) == (ICANON | ECHO | ISIG) && t.c_cc[VINTR] == 3;
}

TEST(TtyPty, RawWhileRunningKeysDecodedAndModesRestoredAtTheEnd) {
    PtyChild child([] {
        TtyInput input(0);
        say("ready;");
        return echo_keys_until_q(input);
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_for("ready;"));
    EXPECT_TRUE(is_raw(child.modes()));
    // Ctrl+C is a key; Up, an umlaut, Enter and Backspace as the program knows them.
    child.type("\x03\x1b[A\xc3\xa4\r\x7f");
    ASSERT_TRUE(child.wait_for("k:03 ;k:00 48 ;k:84 ;k:0d ;k:08 ;")) << child.seen();
    child.type("\x1b");  // a lone Esc counts once its time is up
    ASSERT_TRUE(child.wait_for("k:1b ;")) << child.seen();
    child.type("q");
    ASSERT_TRUE(child.wait_for("k:71 ;"));
    const int status = child.wait_status();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(is_cooked(child.modes()));
}

TEST(TtyPty, ModesRestoredAfterTermHupAndExit) {
    for (const int sig : {SIGTERM, SIGHUP}) {
        PtyChild child([] {
            TtyInput input(0);
            say("ready;");
            return echo_keys_until_q(input);
        });
        ASSERT_TRUE(child.started());
        ASSERT_TRUE(child.wait_for("ready;"));
        ASSERT_TRUE(is_raw(child.modes()));
        kill(child.pid(), sig);
        const int status = child.wait_status();
        ASSERT_TRUE(WIFSIGNALED(status)) << sig;
        EXPECT_EQ(WTERMSIG(status), sig);
        EXPECT_TRUE(is_cooked(child.modes())) << sig;
    }
    // exit() from deep inside, past the destructors: the exit handler restores.
    PtyChild child([] {
        TtyInput input(0);
        say("ready;");
        std::exit(5);
        return 0;
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_for("ready;"));
    const int status = child.wait_status();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 5);
    EXPECT_TRUE(is_cooked(child.modes()));
}

TEST(TtyPty, CtrlBackslashEndsAtOnceAndRestores) {
    PtyChild child([] {
        TtyInput input(0);
        TtyOutput output(1);
        say("ready;");
        return echo_keys_until_q(input);
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_for("ready;"));
    child.type("\x1c");
    const int status = child.wait_status();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), tty_guard::kQuitStatus);
    EXPECT_TRUE(is_cooked(child.modes()));
    EXPECT_TRUE(child.wait_for("\x1b[0m"));  // the colours were reset too
}

TEST(TtyPty, SuspendRestoresAndResumeSetsRawModeAgain) {
    PtyChild child([] {
        TtyInput input(0);
        TtyOutput output(1);
        tty_guard::take_resumed();
        say("ready;");
        for (;;) {
            const std::optional<std::string> key = input.next_key();
            if (!key || *key == "q") return 0;
            if (*key == "r") say(tty_guard::take_resumed() ? "resumed;" : "not resumed;");
            if (*key == "w") say(tty_guard::take_resized() ? "resized;" : "same size;");
        }
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_for("ready;"));
    // The child's process group has no shell to continue it, so it does not
    // stop; it still goes through the suspend and the resume.
    kill(child.pid(), SIGTSTP);
    ASSERT_TRUE(child.wait_for("\x1b[0m"));
    child.type("r");
    ASSERT_TRUE(child.wait_for("resumed;")) << child.seen();
    EXPECT_TRUE(is_raw(child.modes()));
    child.type("w");  // the resume counts as a resize: the size may have changed meanwhile
    ASSERT_TRUE(child.wait_for("resized;"));
    winsize narrower{24, 40, 0, 0};
    ASSERT_EQ(ioctl(child.master(), TIOCSWINSZ, &narrower), 0);
    child.type("w");
    ASSERT_TRUE(child.wait_for("resized;resized;")) << child.seen();
    child.type("q");
    const int status = child.wait_status();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(is_cooked(child.modes()));
}

// A resize that lands just before the wait for a key begins still wakes it,
// so that the screen catches up without a key.
TEST(TtyPty, AResizeJustBeforeAWaitForKeysStillWakesIt) {
    PtyChild child([] {
        TtyInput input(0);
        TtyOutput output(1);
        input.set_screen_hook([] { say("woken;"); });
        raise(SIGWINCH);  // handled at once: the flag and the wake byte are set
        say("waiting;");
        const std::optional<std::string> key = input.next_key();
        return key && *key == "q" ? 0 : 1;
    });
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.wait_for("waiting;woken;")) << child.seen();
    child.type("q");
    const int status = child.wait_status();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace cp
