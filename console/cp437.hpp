#pragma once
// Code page 437, the console's character set: bytes as UTF-8 for output, and
// typed characters back to bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "console/byte_buffer.hpp"

namespace cp {

// What becomes of the control bytes 0-31 and 127 in output.
enum class ControlBytes {
    Kept,    // as they are: a transcript has every byte the program wrote
    Glyphs,  // as their code page glyphs: a terminal must never obey one
};

// Room put_cp437_as_utf8 needs for n bytes: three per byte and eight more.
constexpr std::size_t utf8_room(std::size_t n) {
    return 3 * n + 8;
}
// Writes the bytes as UTF-8 from `out` on, in one pass: ASCII as it is, eight
// bytes at a time, everything else through a table; byte 254 is U+25A0. `out`
// must have utf8_room(bytes.size()). Returns the end.
char* put_cp437_as_utf8(char* out, std::string_view bytes, ControlBytes controls);
inline void append_cp437_as_utf8(ByteBuffer& out, std::string_view bytes, ControlBytes controls) {
    out.commit(put_cp437_as_utf8(out.room(utf8_room(bytes.size())), bytes, controls));
}
// The byte for a code point, or -1 when the code page lacks it.
std::int32_t unicode_to_cp437(char32_t code_point);

}  // namespace cp
