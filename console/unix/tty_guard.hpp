#pragma once
// Puts the terminal back the way the program found it, on every way out: the
// normal end, exit(), a fatal signal (SIGTERM, SIGHUP, SIGINT, SIGQUIT and the
// crash signals), an uncaught exception (abort). Ctrl+Z restores it for the
// shell and sets it up again on resume. Signal handlers can only reach
// process-wide state, so this state lives here, once per process.
#include <termios.h>

namespace cp::tty_guard {

// Exit status after Ctrl+\ (or any SIGQUIT): the program ends at once, as after
// Ctrl+Break, without the core dump of the signal's default action.
inline constexpr int kQuitStatus = 128 + 3;

// Switches the terminal on fd to the program's raw keyboard mode, remembering
// the modes it had. False if fd is not a terminal.
bool enter_raw_input(int fd);
// Restores the remembered modes (if raw mode is on).
void leave_raw_input();

// A terminal on fd shows the program's colours (if `colours`): they are reset on the way out.
// While the program draws, and only when it is the job in front, the
// terminal's translation of LF into CR LF is off: the program ends its lines
// with CR LF itself, and without the translation the kernel passes each write
// on whole instead of in one piece per line, which is most of the cost of
// output. It is back on at every way out and while stopped.
void watch_output(int fd, bool colours = true);
void unwatch_output();

// Readable after a resize or a resume (-1 before any handler is installed):
// a wait for keys also waits on it, so that it wakes for one that came just
// before it began. take_wakes() empties it.
int wake_fd();
void take_wakes();

// True once after each resize of the terminal (and after a resume).
bool take_resized();
// True once after the program was continued after Ctrl+Z or a stop: the
// colours must be sent again.
bool take_resumed();

// The raw modes for a terminal that had `modes`: no echo, no line editing,
// Ctrl+C and Ctrl+S/Ctrl+Q as keys; Ctrl+\ and Ctrl+Z still signal.
termios raw_modes(const termios& modes);

}  // namespace cp::tty_guard
