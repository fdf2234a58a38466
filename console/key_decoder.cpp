#include "console/key_decoder.hpp"

#include <array>
#include <charconv>

#include "console/cp437.hpp"

namespace cp {

namespace {
constexpr unsigned char kEsc = 27;
constexpr unsigned char kEnter = 13;
constexpr unsigned char kBackspace = 8;
constexpr unsigned char kTab = 9;
constexpr std::size_t kMaxParams = 16;

namespace scan {
constexpr unsigned char kF1 = 59;  // F1 to F10 follow in order
constexpr unsigned char kHome = 71;
constexpr unsigned char kUp = 72;
constexpr unsigned char kPageUp = 73;
constexpr unsigned char kLeft = 75;
constexpr unsigned char kRight = 77;
constexpr unsigned char kEnd = 79;
constexpr unsigned char kDown = 80;
constexpr unsigned char kPageDown = 81;
constexpr unsigned char kInsert = 82;
constexpr unsigned char kDelete = 83;
constexpr unsigned char kF11 = 133;
constexpr unsigned char kF12 = 134;
}  // namespace scan

// Scan codes of the letter keys a to z on a PC keyboard.
constexpr std::array<unsigned char, 26> kLetterScanCodes = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,
};

bool is_letter(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

unsigned char letter_scan_code(unsigned char letter) {
    const unsigned char lower = (letter >= 'A' && letter <= 'Z') ? letter + ('a' - 'A') : letter;
    return kLetterScanCodes[lower - 'a'];
}

// Cursor and editing keys shared by the CSI and SS3 forms; 0 when unknown.
unsigned char letter_final_scan_code(unsigned char final_byte) {
    switch (final_byte) {
        case 'A':
            return scan::kUp;
        case 'B':
            return scan::kDown;
        case 'C':
            return scan::kRight;
        case 'D':
            return scan::kLeft;
        case 'H':
            return scan::kHome;
        case 'F':
            return scan::kEnd;
        case 'P':
            return scan::kF1;
        case 'Q':
            return scan::kF1 + 1;
        case 'R':
            return scan::kF1 + 2;
        case 'S':
            return scan::kF1 + 3;
        default:
            return 0;
    }
}

// ESC [ n ~ (with or without modifiers); 0 when unknown.
unsigned char tilde_scan_code(std::int32_t n) {
    switch (n) {
        case 1:
        case 7:
            return scan::kHome;
        case 2:
            return scan::kInsert;
        case 3:
            return scan::kDelete;
        case 4:
        case 8:
            return scan::kEnd;
        case 5:
            return scan::kPageUp;
        case 6:
            return scan::kPageDown;
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
            return static_cast<unsigned char>(scan::kF1 + (n - 11));
        case 17:
        case 18:
        case 19:
        case 20:
        case 21:
            return static_cast<unsigned char>(scan::kF1 + 5 + (n - 17));
        case 23:
            return scan::kF11;
        case 24:
            return scan::kF12;
        default:
            return 0;
    }
}

// Code points a keyboard may send for a character the code page has under another name.
char32_t code_page_alias(char32_t code_point) {
    switch (code_point) {
        case 0x03B2:
            return 0x00DF;  // Greek beta: the code page's sharp s doubles as beta
        case 0x03BC:
            return 0x00B5;  // Greek mu: micro sign
        default:
            return code_point;
    }
}
}  // namespace

void KeyDecoder::feed(std::string_view bytes) {
    for (const char c : bytes) take(static_cast<unsigned char>(c));
}

std::string KeyDecoder::pop_key() {
    if (keys_.empty()) return {};
    std::string key = std::move(keys_.front());
    keys_.pop_front();
    return key;
}

void KeyDecoder::emit_scan(unsigned char scan_code) {
    std::string key(2, '\0');
    key[1] = static_cast<char>(scan_code);
    keys_.push_back(std::move(key));
}

void KeyDecoder::flush_pending() {
    if (state_ == State::Escape) emit_char(kEsc);
    if (state_ == State::Ss3 && params_.empty()) emit_scan(letter_scan_code('o'));
    state_ = State::Ground;
}

void KeyDecoder::take(unsigned char byte) {
    switch (state_) {
        case State::Ground:
            ground(byte);
            return;
        case State::Escape:
            if (byte == '[' || byte == 'O') {
                state_ = byte == '[' ? State::Csi : State::Ss3;
                params_.clear();
                params_overflow_ = false;
            } else if (byte == kEsc) {
                emit_char(kEsc);  // Esc pressed twice; the second may start a sequence
            } else if (is_letter(byte)) {
                emit_scan(letter_scan_code(byte));  // Alt+letter
                state_ = State::Ground;
            } else {
                // Alt with any other key gives that key's own character.
                state_ = State::Ground;
                ground(byte);
            }
            return;
        case State::Csi:
        case State::Ss3:
            if (state_ == State::Csi && byte == '[' && params_.empty()) {
                state_ = State::CsiLinux;  // the Linux console's ESC [ [ A .. E for F1 to F5
            } else if (byte >= 0x20 && byte <= 0x3F) {
                if (params_.size() < kMaxParams) {
                    params_.push_back(static_cast<char>(byte));
                } else {
                    params_overflow_ = true;
                }
            } else if (byte >= 0x40 && byte <= 0x7E) {
                const State form = state_;
                state_ = State::Ground;
                if (form == State::Csi) {
                    finish_csi(byte);
                } else {
                    finish_ss3(byte);
                }
            } else {
                // Not part of any sequence: the broken one is dropped, the byte is a key.
                state_ = State::Ground;
                ground(byte);
            }
            return;
        case State::CsiLinux:
            state_ = State::Ground;
            if (byte >= 'A' && byte <= 'E') {
                emit_scan(static_cast<unsigned char>(scan::kF1 + (byte - 'A')));
            } else if (byte < 0x40 || byte > 0x7E) {
                ground(byte);
            }
            return;
        case State::Utf8:
            if (byte < next_low_ || byte > next_high_) {
                state_ = State::Ground;  // invalid: the partial character is dropped
                ground(byte);
                return;
            }
            code_point_ = (code_point_ << 6) | (byte & 0x3Fu);
            next_low_ = 0x80;
            next_high_ = 0xBF;
            if (--continuations_left_ > 0) return;
            state_ = State::Ground;
            if (const std::int32_t b = unicode_to_cp437(code_page_alias(code_point_)); b >= 128) {
                emit_char(static_cast<unsigned char>(b));
            }
            return;
    }
}

void KeyDecoder::ground(unsigned char byte) {
    const bool lf_after_cr = after_cr_ && byte == '\n';
    after_cr_ = byte == '\r';
    if (lf_after_cr) return;

    if (byte == kEsc) {
        state_ = State::Escape;
    } else if (byte == '\r' || byte == '\n') {
        emit_char(kEnter);
    } else if (byte == 127 || byte == kBackspace) {
        emit_char(kBackspace);
    } else if (byte == 0) {
        // Ctrl+Space: no character, and a lone 0 would read as half a two-byte key.
    } else if (byte < 0x80) {
        emit_char(byte);
    } else if (byte >= 0xC2 && byte <= 0xF4) {
        state_ = State::Utf8;
        next_low_ = 0x80;
        next_high_ = 0xBF;
        if (byte < 0xE0) {
            continuations_left_ = 1;
            code_point_ = byte & 0x1Fu;
        } else if (byte < 0xF0) {
            continuations_left_ = 2;
            code_point_ = byte & 0x0Fu;
            if (byte == 0xE0) next_low_ = 0xA0;   // no overlong forms
            if (byte == 0xED) next_high_ = 0x9F;  // no surrogates
        } else {
            continuations_left_ = 3;
            code_point_ = byte & 0x07u;
            if (byte == 0xF0) next_low_ = 0x90;
            if (byte == 0xF4) next_high_ = 0x8F;  // nothing beyond U+10FFFF
        }
    }
    // Other bytes from 0x80 on cannot start a UTF-8 character: dropped.
}

void KeyDecoder::finish_csi(unsigned char final_byte) {
    // Private markers (<, =, >, ?) and intermediates belong to reports and
    // modes this program never asks for.
    if (params_overflow_) return;
    for (const char c : params_) {
        if (c < '0' || c > ';') return;
    }
    if (final_byte == 'Z') {  // Shift+Tab
        emit_char(kTab);
        return;
    }
    if (final_byte == '~') {
        std::int32_t n = 0;
        const char* end = params_.data() + params_.size();
        const auto [ptr, ec] = std::from_chars(params_.data(), end, n);
        if (ec != std::errc{} || (ptr != end && *ptr != ';')) return;
        if (const unsigned char code = tilde_scan_code(n); code != 0) emit_scan(code);
        return;
    }
    // ESC [ A, ESC [ 1 ; 5 A and the like: modifiers do not change the scan code.
    if (const unsigned char code = letter_final_scan_code(final_byte); code != 0) {
        emit_scan(code);
    }
}

void KeyDecoder::finish_ss3(unsigned char final_byte) {
    if (params_overflow_) return;
    for (const char c : params_) {
        if (c < '0' || c > ';') return;
    }
    if (final_byte == 'M') {  // keypad Enter
        emit_char(kEnter);
        return;
    }
    if (const unsigned char code = letter_final_scan_code(final_byte); code != 0) {
        emit_scan(code);
    }
}

}  // namespace cp
