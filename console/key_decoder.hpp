#pragma once
// Turns the bytes a terminal sends for key presses into the program's key
// strings: one byte for a key that gives a character (code page 437), or 0 and
// the PC scan code for a key that does not. Bytes may arrive in any chunks; an
// escape sequence or UTF-8 character cut between two reads is held back until
// the rest comes, or until the caller decides it never will (flush_pending).
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace cp {

class KeyDecoder {
  public:
    void feed(std::string_view bytes);

    bool has_key() const { return !keys_.empty(); }
    // The oldest decoded key; "" when there is none.
    std::string pop_key();

    // Bytes are held back for the rest of a sequence or character.
    bool pending() const { return state_ != State::Ground; }
    // Nothing more is coming for what is held back: a lone Esc becomes the key
    // 27, Esc O becomes Alt+O, anything else unfinished is dropped.
    void flush_pending();

  private:
    enum class State { Ground, Escape, Csi, CsiLinux, Ss3, Utf8 };

    void take(unsigned char byte);
    void ground(unsigned char byte);
    void finish_csi(unsigned char final_byte);
    void finish_ss3(unsigned char final_byte);
    void emit_char(unsigned char byte) { keys_.emplace_back(1, static_cast<char>(byte)); }
    void emit_scan(unsigned char scan_code);

    std::deque<std::string> keys_;
    State state_ = State::Ground;
    std::string params_;  // parameter and intermediate bytes of a CSI or SS3 sequence
    bool params_overflow_ = false;
    char32_t code_point_ = 0;  // UTF-8 character being assembled
    std::int32_t continuations_left_ = 0;
    unsigned char next_low_ = 0x80;  // allowed range of the next continuation byte
    unsigned char next_high_ = 0xBF;
    bool after_cr_ = false;
};

}  // namespace cp
