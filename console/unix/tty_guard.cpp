#include "console/unix/tty_guard.hpp"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace cp::tty_guard {

namespace {
constexpr char kResetColours[] = "\x1b[0m";

// Only what a signal handler may touch: plain values and lock-free atomics.
termios g_saved_modes{};
termios g_raw_modes{};
std::atomic<int> g_input_fd{-1};  // >= 0 while raw mode is on
std::atomic<int> g_output_fd{-1};
std::atomic<bool> g_colours{true};  // the output terminal has colours to reset
// >= 0 while the line-end translation of the output terminal is off (see watch_output).
std::atomic<int> g_line_ends_fd{-1};
std::atomic<bool> g_resized{false};
std::atomic<bool> g_resumed{false};
// A byte per resize or resume, so that a wait for keys wakes for it even when
// the signal came just before the wait began.
int g_wake_read = -1;
int g_wake_write = -1;
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// Only the one flag is touched, so that it does not matter whether the input's
// modes, taken and restored whole, belong to the same terminal.
void set_line_end_translation(int fd, bool on) {
    termios modes{};
    if (tcgetattr(fd, &modes) != 0) return;
    if (on) {
        modes.c_oflag |= ONLCR;
    } else {
        modes.c_oflag &= ~static_cast<tcflag_t>(ONLCR);
    }
    tcsetattr(fd, TCSANOW, &modes);
}

// A job in the background must not change the modes under the job in front
// (nor be stopped for trying). A terminal that is not this process's
// controlling terminal, such as a bare pseudo-terminal, has no such job.
bool may_change_modes(int fd) {
    const pid_t front = tcgetpgrp(fd);
    if (front < 0) return errno == ENOTTY;
    return front == getpgrp();
}

// Async-signal-safe: tcgetattr, tcsetattr, tcgetpgrp and write only.
void restore_terminal() {
    const int saved_errno = errno;
    if (const int out = g_output_fd.load(); out >= 0 && g_colours.load()) {
        [[maybe_unused]] const ssize_t ignored =
            ::write(out, kResetColours, sizeof kResetColours - 1);
    }
    if (const int in = g_input_fd.load(); in >= 0) tcsetattr(in, TCSANOW, &g_saved_modes);
    if (const int out = g_line_ends_fd.load(); out >= 0) set_line_end_translation(out, true);
    errno = saved_errno;
}

void reapply_raw_mode() {
    const int saved_errno = errno;
    if (const int in = g_input_fd.load(); in >= 0) tcsetattr(in, TCSANOW, &g_raw_modes);
    if (const int out = g_line_ends_fd.load(); out >= 0 && may_change_modes(out)) {
        set_line_end_translation(out, false);
    }
    errno = saved_errno;
}

void wake_the_waiter() {
    if (g_wake_write < 0) return;
    const int saved_errno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(g_wake_write, &byte, 1);  // full: awake anyway
    errno = saved_errno;
}

void on_fatal_signal(int sig) {
    restore_terminal();
    // The shell's prompt should not land in the middle of the program's last row.
    if (const int out = g_output_fd.load(); out >= 0) {
        [[maybe_unused]] const ssize_t ignored = ::write(out, "\r\n", 2);
    }
    if (sig == SIGQUIT) _exit(kQuitStatus);
    // SA_RESETHAND has put back the default action; it takes effect once this returns.
    raise(sig);
}

void on_stop_signal(int sig) {
    restore_terminal();
    signal(sig, SIG_DFL);
    sigset_t stop{};
    sigemptyset(&stop);
    sigaddset(&stop, sig);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    raise(sig);  // stops here until continued (an orphaned process group does not stop)
    reapply_raw_mode();
    g_resumed.store(true);
    g_resized.store(true);
    wake_the_waiter();
    struct sigaction again {};
    again.sa_handler = on_stop_signal;
    sigemptyset(&again.sa_mask);
    again.sa_flags = SA_RESTART;
    sigaction(sig, &again, nullptr);
}

void on_continue(int) {
    reapply_raw_mode();
    g_resumed.store(true);
    g_resized.store(true);  // the size may have changed meanwhile
    wake_the_waiter();
}

void on_resize(int) {
    g_resized.store(true);
    wake_the_waiter();
}

void install(int sig, void (*handler)(int), int flags) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = flags;
    sigaction(sig, &action, nullptr);
}

void restore_at_exit() {
    restore_terminal();
    g_input_fd.store(-1);
    g_output_fd.store(-1);
    g_line_ends_fd.store(-1);
}

void install_handlers_once() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    if (int wake[2]; pipe(wake) == 0) {
        // pipe2 would do this in one call, but macOS lacks it.
        for (const int fd : wake) {
            fcntl(fd, F_SETFD, FD_CLOEXEC);
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        }
        g_wake_read = wake[0];
        g_wake_write = wake[1];
    }
    for (const int sig :
         {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL}) {
        install(sig, on_fatal_signal, SA_RESETHAND);
    }
    install(SIGTSTP, on_stop_signal, SA_RESTART);
    install(SIGCONT, on_continue, SA_RESTART);
    install(SIGWINCH, on_resize, SA_RESTART);
    std::atexit(restore_at_exit);
}
}  // namespace

termios raw_modes(const termios& modes) {
    termios raw = modes;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | IEXTEN);
    raw.c_lflag |= ISIG;  // Ctrl+\ and Ctrl+Z keep their signals
    raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
    raw.c_cflag |= CS8;
    raw.c_cc[VINTR] = _POSIX_VDISABLE;  // Ctrl+C is a key of the program
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return raw;
}

bool enter_raw_input(int fd) {
    termios modes{};
    if (!isatty(fd) || tcgetattr(fd, &modes) != 0) return false;
    install_handlers_once();
    g_saved_modes = modes;
    g_raw_modes = raw_modes(modes);
    g_input_fd.store(fd);
    if (tcsetattr(fd, TCSANOW, &g_raw_modes) != 0) {
        g_input_fd.store(-1);
        return false;
    }
    return true;
}

void leave_raw_input() {
    const int fd = g_input_fd.exchange(-1);
    if (fd >= 0) tcsetattr(fd, TCSANOW, &g_saved_modes);
}

void watch_output(int fd, bool colours) {
    install_handlers_once();
    g_colours.store(colours);
    g_output_fd.store(fd);
    termios modes{};
    if (g_line_ends_fd.load() >= 0 || !isatty(fd) || !may_change_modes(fd) ||
        tcgetattr(fd, &modes) != 0) {
        return;
    }
    const tcflag_t translating = OPOST | ONLCR;
    if ((modes.c_oflag & translating) != translating) return;
    g_line_ends_fd.store(fd);
    set_line_end_translation(fd, false);
}

void unwatch_output() {
    g_output_fd.store(-1);
    if (const int fd = g_line_ends_fd.exchange(-1); fd >= 0) set_line_end_translation(fd, true);
}

int wake_fd() {
    return g_wake_read;
}

void take_wakes() {
    char bytes[64];
    while (g_wake_read >= 0 && ::read(g_wake_read, bytes, sizeof bytes) > 0) {
    }
}

bool take_resized() {
    // Checked on every output call: a plain load first keeps that cheap.
    return g_resized.load(std::memory_order_relaxed) && g_resized.exchange(false);
}
bool take_resumed() {
    return g_resumed.load(std::memory_order_relaxed) && g_resumed.exchange(false);
}

}  // namespace cp::tty_guard
