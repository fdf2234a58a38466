#include "console/process.hpp"

#include "console/windows/handles.hpp"

namespace cp {

namespace {

std::atomic<bool> interrupted{false};

// Called on a thread of its own. The first Ctrl+C is taken; a second one, and
// Ctrl+Break, go on to the default handler, which ends the program.
BOOL WINAPI note_interrupt(DWORD event) {
    if (event != CTRL_C_EVENT) return FALSE;
    return interrupted.exchange(true) ? FALSE : TRUE;
}

}  // namespace

bool error_is_terminal() {
    return is_console(2);
}

bool output_is_terminal() {
    return is_console(1);
}

const std::atomic<bool>& catch_interrupt() {
    SetConsoleCtrlHandler(note_interrupt, TRUE);
    return interrupted;
}

}  // namespace cp
