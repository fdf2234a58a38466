// The back ends on a real console: key events in its input queue, cells in
// its screen buffer, and the console put back on every way out. They need a
// console, which Wine gives a process that has a terminal (make test-windows
// runs the tests in one); without a console they skip.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "console/console.hpp"
#include "console/pipe_input.hpp"
#include "console/split_terminal.hpp"
#include "console/windows/tty_guard.hpp"
#include "console/windows/tty_input.hpp"
#include "console/windows/tty_output.hpp"

namespace cp {
namespace {

using namespace std::chrono_literals;

HANDLE open_console(const wchar_t* name) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

int fd_of(HANDLE handle) {
    return _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
}

// What the program must leave as it found it.
struct ConsoleState {
    DWORD input_mode = 0;
    DWORD output_mode = 0;
    WORD attribute = 0;
    DWORD cursor_size = 0;
    BOOL cursor_visible = FALSE;
    bool operator==(const ConsoleState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ConsoleState& s) {
    return out << "input mode " << s.input_mode << ", output mode " << s.output_mode
               << ", attribute " << s.attribute << ", cursor " << s.cursor_size << "% "
               << (s.cursor_visible ? "shown" : "hidden");
}

class RealConsole : public ::testing::Test {
  protected:
    void SetUp() override {
        in_ = open_console(L"CONIN$");
        out_ = open_console(L"CONOUT$");
        DWORD mode = 0;
        if (!GetConsoleMode(in_, &mode) || !GetConsoleMode(out_, &mode)) {
            GTEST_SKIP() << "no console";
        }
        saved_ = state();
        FlushConsoleInputBuffer(in_);
    }
    void TearDown() override {
        if (in_ != INVALID_HANDLE_VALUE && GetConsoleMode(in_, &saved_.input_mode)) set(saved_);
    }

    ConsoleState state() const {
        ConsoleState s;
        GetConsoleMode(in_, &s.input_mode);
        GetConsoleMode(out_, &s.output_mode);
        CONSOLE_SCREEN_BUFFER_INFO info{};
        GetConsoleScreenBufferInfo(out_, &info);
        s.attribute = info.wAttributes;
        CONSOLE_CURSOR_INFO cursor{};
        GetConsoleCursorInfo(out_, &cursor);
        s.cursor_size = cursor.dwSize;
        s.cursor_visible = cursor.bVisible;
        return s;
    }
    void set(const ConsoleState& s) const {
        SetConsoleMode(in_, s.input_mode);
        SetConsoleMode(out_, s.output_mode);
        SetConsoleTextAttribute(out_, s.attribute);
        const CONSOLE_CURSOR_INFO cursor{s.cursor_size, s.cursor_visible};
        SetConsoleCursorInfo(out_, &cursor);
    }
    void queue(const INPUT_RECORD& record) const {
        DWORD written = 0;
        WriteConsoleInputW(in_, &record, 1, &written);
    }
    void queue_key(bool down, WORD vk, WORD scan, wchar_t ch) const {
        INPUT_RECORD record{};
        record.EventType = KEY_EVENT;
        record.Event.KeyEvent = {down, 1, vk, scan, {}, 0};
        record.Event.KeyEvent.uChar.UnicodeChar = ch;
        queue(record);
    }

    HANDLE in_ = INVALID_HANDLE_VALUE;
    HANDLE out_ = INVALID_HANDLE_VALUE;
    ConsoleState saved_;
};

TEST_F(RealConsole, KeysComeInOrderAndOtherEventsAreDropped) {
    TtyInput keys(fd_of(in_));
    FlushConsoleInputBuffer(in_);  // whatever the terminal sent before raw mode
    EXPECT_EQ(state().input_mode, DWORD{ENABLE_WINDOW_INPUT}) << "raw: no line input, no echo";
    EXPECT_FALSE(keys.key_ready());
    INPUT_RECORD mouse{};
    mouse.EventType = MOUSE_EVENT;
    INPUT_RECORD focus{};
    focus.EventType = FOCUS_EVENT;
    INPUT_RECORD resize{};
    resize.EventType = WINDOW_BUFFER_SIZE_EVENT;
    tty_guard::take_resized();
    queue(mouse);
    queue_key(true, VK_SHIFT, 42, 0);
    queue(focus);
    EXPECT_FALSE(keys.key_ready()) << "only events that are no keys";
    queue_key(true, 'A', 0x1E, L'a');
    queue_key(false, 'A', 0x1E, L'a');
    queue(resize);
    queue_key(true, VK_UP, 72, 0);
    queue_key(true, 0, 0, L'\u00E4');
    EXPECT_TRUE(keys.key_ready());
    EXPECT_EQ(keys.next_key(), "a");
    EXPECT_EQ(keys.next_key(), std::string({'\0', 72}));
    EXPECT_TRUE(tty_guard::take_resized()) << "the buffer-size event was seen on the way";
    EXPECT_EQ(keys.next_key(), "\x84");
    EXPECT_FALSE(keys.key_ready());
}

TEST_F(RealConsole, CtrlCIsAKeyEvenWhenTheConsoleSendsItAsAnEvent) {
    TtyInput keys(fd_of(in_));
    // As Wine's console does: a control event instead of a key.
    ASSERT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!keys.key_ready() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(keys.next_key(), "\x03");
}

TEST_F(RealConsole, DrawsTheScreenWithTheConsolesCellsAndColours) {
    {
        TtyOutput screen(fd_of(out_));
        PipeInput no_keys(-1);
        SplitTerminal terminal(no_keys, screen);
        Console console(terminal);
        console.set_screen_size(900, 16000);
        console.set_color(15, 0);
        console.clear_screen();
        console.print_text("ab");
        console.set_color(14, -1);
        console.print_text(std::string("c\xFE", 2));
        console.print_newline();
        console.print_text("x");
        console.locate(1, 2);
        console.print_text("B");
        console.finish();
    }
    CHAR_INFO cells[2][4] = {};
    SMALL_RECT region{0, 0, 3, 1};
    ASSERT_TRUE(ReadConsoleOutputW(out_, &cells[0][0], COORD{4, 2}, COORD{0, 0}, &region));
    const std::wstring first{cells[0][0].Char.UnicodeChar, cells[0][1].Char.UnicodeChar,
                             cells[0][2].Char.UnicodeChar, cells[0][3].Char.UnicodeChar};
    EXPECT_EQ(first, L"aBc\u25A0");
    EXPECT_EQ(cells[0][0].Attributes, 0x0F);
    EXPECT_EQ(cells[0][3].Attributes, 0x0E);
    EXPECT_EQ(cells[1][0].Char.UnicodeChar, L'x');
    EXPECT_EQ(state(), saved_) << "the output is put back as it was";
}

TEST_F(RealConsole, EveryWayOutPutsTheConsoleBack) {
    const ConsoleState before{ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT,
                              ENABLE_PROCESSED_OUTPUT, 0x1F, 25, FALSE};
    // Ctrl+Break cannot be tried here: Wine 8 raises no CTRL_BREAK_EVENT.
    for (const std::string way : {"end", "exit", "abort", "crash"}) {
        set(before);
        ASSERT_EQ(state(), before) << "the console takes the state to restore";
        std::wstring command = L"console_guard_child " + std::wstring(way.begin(), way.end());
        const std::wstring program = std::filesystem::path(COLLATZPERM_GUARD_CHILD).wstring();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &child));
        // The child has taken the console over once its input is raw.
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (state().input_mode != ENABLE_WINDOW_INPUT &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(state().input_mode, DWORD{ENABLE_WINDOW_INPUT}) << way;
        queue_key(true, 'G', 0x22, L'g');
        EXPECT_EQ(WaitForSingleObject(child.hProcess, 30000), WAIT_OBJECT_0) << way;
        DWORD status = 1;
        GetExitCodeProcess(child.hProcess, &status);
        if (way == "end" || way == "exit") {
            EXPECT_EQ(status, 0u) << way;
        }
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        EXPECT_EQ(state(), before) << way;
    }
}

}  // namespace
}  // namespace cp
