#include "console/windows/key_record.hpp"

#include <algorithm>
#include <array>

#include "console/cp437.hpp"

namespace cp {

namespace {
constexpr char kEsc = 27;
// Scan codes of the keys that only modify others: Ctrl, left and right
// Shift, Alt, Caps Lock, Num Lock, Scroll Lock.
constexpr std::array<WORD, 7> kModifierScans = {0x1D, 0x2A, 0x36, 0x38, 0x3A, 0x45, 0x46};
constexpr std::array<WORD, 12> kModifierKeys = {
    VK_SHIFT,  VK_CONTROL, VK_MENU,     VK_CAPITAL,  VK_NUMLOCK, VK_SCROLL,
    VK_LSHIFT, VK_RSHIFT,  VK_LCONTROL, VK_RCONTROL, VK_LMENU,   VK_RMENU,
};
// F11 and F12 have scan codes 87 and 88, but the program knows them as 133
// and 134, the codes a PC BIOS gives them.
constexpr WORD kF11Scan = 87;
constexpr WORD kF12Scan = 88;
constexpr char kF11Key = static_cast<char>(133);
constexpr char kF12Key = static_cast<char>(134);

bool is_modifier(const KEY_EVENT_RECORD& key) {
    const auto has = [](const auto& list, WORD value) {
        return std::find(list.begin(), list.end(), value) != list.end();
    };
    // Pause shares Num Lock's scan code, but has a key code of its own.
    if (key.wVirtualKeyCode != 0 && !has(kModifierKeys, key.wVirtualKeyCode)) return false;
    return has(kModifierKeys, key.wVirtualKeyCode) || has(kModifierScans, key.wVirtualScanCode);
}

// The letter keys of the main block: Q to P, A to L, Z to M.
bool is_letter_key(WORD scan) {
    return (scan >= 0x10 && scan <= 0x19) || (scan >= 0x1E && scan <= 0x26) ||
           (scan >= 0x2C && scan <= 0x32);
}

bool alt_held(const KEY_EVENT_RECORD& key) {
    const DWORD state = key.dwControlKeyState;
    if ((state & (LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED)) == 0) return false;
    // AltGr (right Alt with Ctrl) types characters such as @ on German
    // keyboards: those are characters, not Alt keys.
    const bool alt_gr = (state & RIGHT_ALT_PRESSED) != 0 &&
                        (state & (LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED)) != 0 &&
                        (state & LEFT_ALT_PRESSED) == 0;
    return !(alt_gr && key.uChar.UnicodeChar != 0);
}

std::string scan_key(WORD scan) {
    std::string key(1, '\0');
    if (scan == kF11Scan) {
        key.push_back(kF11Key);
    } else if (scan == kF12Scan) {
        key.push_back(kF12Key);
    } else {
        key.push_back(static_cast<char>(scan));
    }
    return key;
}
}  // namespace

std::optional<std::string> key_from_record(const KEY_EVENT_RECORD& key) {
    if (!key.bKeyDown || is_modifier(key)) return std::nullopt;
    // Some consoles send Esc without its character.
    if (key.wVirtualKeyCode == VK_ESCAPE) return std::string(1, kEsc);
    const WORD scan = key.wVirtualScanCode;
    if (alt_held(key) && is_letter_key(scan)) return scan_key(scan);
    if (const wchar_t c = key.uChar.UnicodeChar; c != 0) {
        const std::int32_t byte = unicode_to_cp437(static_cast<char32_t>(c));
        if (byte < 0) return std::nullopt;
        return std::string(1, static_cast<char>(byte));
    }
    // Neither a character nor a key to name: nothing was pressed.
    if (scan == 0 || scan > 0xFF) return std::nullopt;
    return scan_key(scan);
}

}  // namespace cp
