// Console key events become the program's key strings: synthetic records, as
// the console delivers them, against the strings the program must see.
#include "console/windows/key_record.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "console/windows/tty_guard.hpp"

namespace cp {
namespace {

struct Case {
    const char* what;
    bool down;
    WORD vk;
    WORD scan;
    wchar_t ch;
    DWORD state;
    std::optional<std::string> key;
};

std::string two(int scan) {
    return std::string{'\0', static_cast<char>(scan)};
}

KEY_EVENT_RECORD record(const Case& c) {
    KEY_EVENT_RECORD key{};
    key.bKeyDown = c.down;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = c.vk;
    key.wVirtualScanCode = c.scan;
    key.uChar.UnicodeChar = c.ch;
    key.dwControlKeyState = c.state;
    return key;
}

TEST(KeyRecord, TranslatesAsTheTerminalKeysDo) {
    constexpr DWORD kAlt = LEFT_ALT_PRESSED;
    constexpr DWORD kAltGr = RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED;
    constexpr DWORD kExtended = ENHANCED_KEY;
    const Case cases[] = {
        {"a", true, 'A', 0x1E, L'a', 0, "a"},
        {"a released", false, 'A', 0x1E, L'a', 0, std::nullopt},
        {"A with Shift", true, 'A', 0x1E, L'A', SHIFT_PRESSED, "A"},
        {"7", true, '7', 0x08, L'7', 0, "7"},
        {"ä, code page 437", true, 0, 0, L'\u00E4', 0, "\x84"},
        {"€, not in code page 437", true, 0, 0, L'\u20AC', 0, std::nullopt},
        {"half of a surrogate pair", true, 0, 0, wchar_t{0xD83D}, 0, std::nullopt},
        {"Enter", true, VK_RETURN, 0x1C, L'\r', 0, "\r"},
        {"Backspace", true, VK_BACK, 0x0E, L'\b', 0, "\b"},
        {"Tab", true, VK_TAB, 0x0F, L'\t', 0, "\t"},
        {"Ctrl+C as a key", true, 'C', 0x2E, 3, LEFT_CTRL_PRESSED, "\x03"},
        {"Esc", true, VK_ESCAPE, 0x01, 27, 0, "\x1b"},
        {"Esc without its character", true, VK_ESCAPE, 0x01, 0, 0, "\x1b"},
        {"Up", true, VK_UP, 72, 0, kExtended, two(72)},
        {"Down", true, VK_DOWN, 80, 0, kExtended, two(80)},
        {"Home", true, VK_HOME, 71, 0, kExtended, two(71)},
        {"Page Down", true, VK_NEXT, 81, 0, kExtended, two(81)},
        {"Delete", true, VK_DELETE, 83, 0, kExtended, two(83)},
        {"F1", true, VK_F1, 59, 0, 0, two(59)},
        {"F10", true, VK_F10, 68, 0, 0, two(68)},
        {"F11", true, VK_F11, 87, 0, 0, two(133)},
        {"F12", true, VK_F12, 88, 0, 0, two(134)},
        {"Pause shares Num Lock's scan code", true, VK_PAUSE, 0x45, 0, 0, two(0x45)},
        {"Alt+X", true, 'X', 45, L'x', kAlt, two(45)},
        {"Alt+Q, first letter key", true, 'Q', 0x10, L'q', kAlt, two(0x10)},
        {"Alt+M, last letter key", true, 'M', 0x32, L'm', RIGHT_ALT_PRESSED, two(0x32)},
        {"Alt+1 is no letter", true, '1', 0x02, L'1', kAlt, "1"},
        {"AltGr+Q types @", true, 'Q', 0x10, L'@', kAltGr, "@"},
        {"Alt alone", true, VK_MENU, 56, 0, kAlt, std::nullopt},
        {"Shift alone", true, VK_SHIFT, 42, 0, SHIFT_PRESSED, std::nullopt},
        {"right Shift alone", true, VK_SHIFT, 54, 0, SHIFT_PRESSED, std::nullopt},
        {"Ctrl alone", true, VK_CONTROL, 29, 0, LEFT_CTRL_PRESSED, std::nullopt},
        {"Caps Lock", true, VK_CAPITAL, 58, 0, CAPSLOCK_ON, std::nullopt},
        {"Num Lock", true, VK_NUMLOCK, 69, 0, NUMLOCK_ON, std::nullopt},
        {"Scroll Lock", true, VK_SCROLL, 70, 0, SCROLLLOCK_ON, std::nullopt},
        {"a modifier known by its scan code alone", true, 0, 0x2A, 0, 0, std::nullopt},
        {"an empty event (Wine's Home from a terminal)", true, 0, 0, 0, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(key_from_record(record(c)), c.key) << c.what;
    }
}

TEST(KeyRecord, TheCtrlCOfTheControlHandlerIsKey3) {
    const INPUT_RECORD injected = tty_guard::ctrl_c_record();
    ASSERT_EQ(injected.EventType, KEY_EVENT);
    EXPECT_EQ(key_from_record(injected.Event.KeyEvent), "\x03");
}

}  // namespace
}  // namespace cp
