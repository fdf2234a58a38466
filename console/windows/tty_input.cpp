#include "console/windows/tty_input.hpp"

#include "console/windows/handles.hpp"
#include "console/windows/key_record.hpp"
#include "console/windows/tty_guard.hpp"

namespace cp {

TtyInput::TtyInput(int fd) : handle_(handle_of(fd)) {
    raw_ = tty_guard::enter_raw_input(handle_);
}

TtyInput::~TtyInput() {
    if (raw_) tty_guard::leave_raw_input();
}

std::optional<std::string> TtyInput::key_of(const INPUT_RECORD& event) {
    if (event.EventType == WINDOW_BUFFER_SIZE_EVENT) {
        tty_guard::note_resized();
        if (screen_hook_) screen_hook_();
        return std::nullopt;
    }
    // Mouse, focus and menu events are no keys.
    if (event.EventType != KEY_EVENT) return std::nullopt;
    return key_from_record(event.Event.KeyEvent);
}

bool TtyInput::key_ready() {
    // The program asks after every row of a search. An input handle is
    // signalled while events wait; asking that costs a host such as Wine a
    // sixth of a look at the events themselves.
    if (ended_ || WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) return false;
    // Events that are no keys are taken out of the way, up to the first key.
    while (!ended_) {
        INPUT_RECORD event{};
        DWORD got = 0;
        if (!PeekConsoleInputW(handle_, &event, 1, &got) || got == 0) return false;
        if (event.EventType == KEY_EVENT && key_from_record(event.Event.KeyEvent)) return true;
        if (!ReadConsoleInputW(handle_, &event, 1, &got)) return false;
        key_of(event);
    }
    return false;
}

std::optional<std::string> TtyInput::next_key() {
    while (!ended_) {
        DWORD pending = 0;
        if (screen_hook_ && GetNumberOfConsoleInputEvents(handle_, &pending) && pending == 0) {
            screen_hook_();
        }
        INPUT_RECORD event{};
        DWORD got = 0;
        if (!ReadConsoleInputW(handle_, &event, 1, &got)) {
            // The console is gone: the keyboard with it.
            ended_ = true;
            break;
        }
        if (got == 0) continue;
        if (std::optional<std::string> key = key_of(event)) return key;
    }
    return std::nullopt;
}

}  // namespace cp
