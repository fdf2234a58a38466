#include "console/windows/tty_guard.hpp"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace cp::tty_guard {

namespace {
// Raw input: none of line input, echo, processed input (Ctrl+C a key), mouse,
// or VT input; buffer-size events on, so that a resize is noticed.
constexpr DWORD kRawInputMode = ENABLE_WINDOW_INPUT;
constexpr DWORD kOutputMode = ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT;
constexpr DWORD kCursorPercent = 10;
constexpr WORD kCKey = 0x43;
constexpr WORD kCScan = 0x2E;
constexpr wchar_t kCtrlC = 3;

std::mutex g_drawing;
std::atomic<HANDLE> g_input{nullptr};  // non-null while raw mode is on
DWORD g_input_mode = 0;
std::atomic<HANDLE> g_output{nullptr};  // non-null while the output is watched
DWORD g_output_mode = 0;
WORD g_attribute = 0x07;
CONSOLE_CURSOR_INFO g_cursor{};
std::atomic<bool> g_resized{false};
LPTOP_LEVEL_EXCEPTION_FILTER g_previous_filter = nullptr;

// Each puts back what the program changed, once, on any thread.
void restore_output() {
    if (const HANDLE output = g_output.exchange(nullptr); output != nullptr) {
        SetConsoleTextAttribute(output, g_attribute);
        SetConsoleCursorInfo(output, &g_cursor);
        SetConsoleMode(output, g_output_mode);
    }
}

void restore_input() {
    if (const HANDLE input = g_input.exchange(nullptr); input != nullptr) {
        SetConsoleMode(input, g_input_mode);
    }
}

void restore_console() {
    restore_output();
    restore_input();
}

// Restored once the drawing in hand is done; the lock is kept, so that
// nothing is drawn on the restored console before the process ends.
void restore_for_good() {
    g_drawing.lock();
    restore_console();
}

BOOL WINAPI on_control(DWORD event) {
    if (event == CTRL_C_EVENT) {
        // A console that sends Ctrl+C as an event although processed input is
        // off (Wine's does): it becomes the key 3 all the same, in its place
        // among the keys.
        const HANDLE input = g_input.load();
        if (input == nullptr) return FALSE;
        const INPUT_RECORD record = ctrl_c_record();
        DWORD written = 0;
        WriteConsoleInputW(input, &record, 1, &written);
        return TRUE;
    }
    // Ctrl+Break, closing the window, logoff, shutdown: the program ends as
    // the system's own handler ends it, with the console restored.
    restore_for_good();
    return FALSE;
}

LONG WINAPI on_crash(EXCEPTION_POINTERS* exception) {
    // The crashing thread may be the one drawing: no waiting for the lock.
    restore_console();
    return g_previous_filter != nullptr ? g_previous_filter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void on_abort(int) {
    restore_console();
}

void install_once() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    SetConsoleCtrlHandler(on_control, TRUE);
    g_previous_filter = SetUnhandledExceptionFilter(on_crash);
    std::signal(SIGABRT, on_abort);
    std::atexit(restore_console);
}
}  // namespace

bool enter_raw_input(HANDLE input) {
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE || !GetConsoleMode(input, &mode))
        return false;
    install_once();
    g_input_mode = mode;
    g_input.store(input);
    if (!SetConsoleMode(input, kRawInputMode)) {
        g_input.store(nullptr);
        return false;
    }
    return true;
}

void leave_raw_input() {
    restore_input();
}

bool watch_output(HANDLE output) {
    DWORD mode = 0;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (output == nullptr || output == INVALID_HANDLE_VALUE || !GetConsoleMode(output, &mode) ||
        !GetConsoleScreenBufferInfo(output, &info)) {
        return false;
    }
    install_once();
    g_output_mode = mode;
    g_attribute = info.wAttributes;
    if (!GetConsoleCursorInfo(output, &g_cursor)) g_cursor = {kCursorPercent, TRUE};
    g_output.store(output);
    SetConsoleMode(output, kOutputMode);
    // The prompts want a cursor to be seen.
    CONSOLE_CURSOR_INFO shown = g_cursor;
    if (shown.dwSize == 0) shown.dwSize = kCursorPercent;
    shown.bVisible = TRUE;
    SetConsoleCursorInfo(output, &shown);
    return true;
}

void unwatch_output() {
    const std::unique_lock lock = drawing();
    restore_output();
}

WORD original_attribute() {
    return g_attribute;
}

std::unique_lock<std::mutex> drawing() {
    return std::unique_lock(g_drawing);
}

void note_resized() {
    g_resized.store(true);
}

bool take_resized() {
    return g_resized.load(std::memory_order_relaxed) && g_resized.exchange(false);
}

INPUT_RECORD ctrl_c_record() {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    KEY_EVENT_RECORD& key = record.Event.KeyEvent;
    key.bKeyDown = TRUE;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = kCKey;
    key.wVirtualScanCode = kCScan;
    key.uChar.UnicodeChar = kCtrlC;
    key.dwControlKeyState = LEFT_CTRL_PRESSED;
    return record;
}

}  // namespace cp::tty_guard
