#pragma once
// Code page 437, the console's character set: bytes 128-255 as Unicode, and back.
#include <cstdint>
#include <string>

namespace cp {

// The Unicode code point of a byte; 0-127 stand for themselves, 254 is U+25A0.
char32_t cp437_to_unicode(unsigned char byte);
// Appends a code point (below U+10000) as UTF-8.
void append_utf8(std::string& out, char32_t code_point);
// Appends a byte 128-255 as UTF-8.
void append_high_cp437_as_utf8(std::string& out, unsigned char byte);
// Appends the byte as UTF-8 (ASCII as it is). Inline: it runs once per cell written.
inline void append_cp437_as_utf8(std::string& out, unsigned char byte) {
    if (byte < 128) {
        out.push_back(static_cast<char>(byte));
        return;
    }
    append_high_cp437_as_utf8(out, byte);
}
// The byte for a code point, or -1 when the code page lacks it.
std::int32_t unicode_to_cp437(char32_t code_point);

}  // namespace cp
