#pragma once
// The keys in the bytes of a standard input that is not a terminal, the same
// on every platform: each byte is a key, and LF, CR and CR LF are one Enter.
#include <optional>
#include <string>

namespace cp {

class PipeKeys {
  public:
    // The key for the next byte; nullopt for the LF of a CR LF.
    std::optional<std::string> key_for(char c) {
        const bool lf_after_cr = after_cr_ && c == '\n';
        after_cr_ = c == '\r';
        if (lf_after_cr) return std::nullopt;
        if (c == '\r' || c == '\n') return std::string(1, kEnter);
        return std::string(1, c);
    }

  private:
    static constexpr char kEnter = 13;
    bool after_cr_ = false;
};

}  // namespace cp
