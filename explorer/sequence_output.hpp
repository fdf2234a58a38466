#pragma once
// How the explorer writes its values: short number text, the compact form of
// "0", the red marker of a new or repeated value, and the wrap check that
// breaks its long lines.
#include <string>

#include "console/console.hpp"
#include "explorer/sequence_value.hpp"

namespace cp {

inline constexpr std::int32_t kWrapColumn = 90;
inline constexpr std::int32_t kMarkerColour = 12;

class SequenceOutput {
  public:
    explicit SequenceOutput(Console& console) : console_(console) {}

    Console& console() { return console_; }
    // number_text of the value: a blank or "-", then the digits.
    void value(Real v);
    void value(SequenceValue v) { value(as_real(v)); }
    // "0": an odd value as its digits alone, any other as ".".
    void compact(SequenceValue v);
    // A red blank and marker character.
    void marker();
    // A line break once the last character printed stands in column 90 or beyond.
    void wrap_check();

  private:
    Console& console_;
    std::string text_;
};

}  // namespace cp
