#include "console/cp437.hpp"

#include <array>
#include <bit>
#include <cstring>

namespace cp {

namespace {
constexpr std::array<char32_t, 128> kHighHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// The code page's pictures for the control bytes 0-31, and for 127.
constexpr std::array<char32_t, 32> kControlGlyphs = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};
constexpr char32_t kDeleteGlyph = 0x2302;

// A byte's UTF-8 form: up to three bytes (every code point here is below U+10000).
struct Utf8 {
    std::array<char, 3> bytes{};
    std::uint8_t size = 0;
};
static_assert(sizeof(Utf8) == 4);

constexpr Utf8 encode(char32_t cp) {
    Utf8 u;
    if (cp < 0x80) {
        u.bytes[0] = static_cast<char>(cp);
        u.size = 1;
    } else if (cp < 0x800) {
        u.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
        u.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        u.size = 2;
    } else {
        u.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
        u.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        u.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        u.size = 3;
    }
    return u;
}

constexpr std::array<Utf8, 256> utf8_table(ControlBytes controls) {
    std::array<Utf8, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        char32_t cp = b < 128 ? static_cast<char32_t>(b) : kHighHalf[b - 128];
        if (controls == ControlBytes::Glyphs && b < 32) cp = kControlGlyphs[b];
        if (controls == ControlBytes::Glyphs && b == 127) cp = kDeleteGlyph;
        table[b] = encode(cp);
    }
    return table;
}
constexpr std::array<Utf8, 256> kKeptTable = utf8_table(ControlBytes::Kept);
constexpr std::array<Utf8, 256> kGlyphTable = utf8_table(ControlBytes::Glyphs);

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The high bit of each of the eight bytes that needs the table, and of no
// other. (A byte's low seven bits plus 1 reach the high bit only for 127, plus
// 96 only from 32 on; neither carries into the next byte.)
template <ControlBytes controls>
std::uint64_t table_bytes(std::uint64_t word) {
    if constexpr (controls == ControlBytes::Kept) {
        return word & kHighBits;
    } else {
        const std::uint64_t low = word & ~kHighBits;
        const std::uint64_t del = low + kEveryByte;
        const std::uint64_t from_32 = low + kEveryByte * 96;
        return (word | del | ~from_32) & kHighBits;
    }
}

template <ControlBytes controls>
bool plain(unsigned char byte) {
    if constexpr (controls == ControlBytes::Kept) {
        return byte < 128;
    } else {
        return byte >= 32 && byte < 127;
    }
}

// Writes the byte's form at p, which has room for four bytes; returns the end.
char* put_encoded(char* p, const Utf8& u) {
    std::memcpy(p, &u, sizeof u);
    return p + u.size;
}

template <ControlBytes controls>
char* put_as_utf8(char* p, std::string_view bytes) {
    constexpr const std::array<Utf8, 256>& table =
        controls == ControlBytes::Kept ? kKeptTable : kGlyphTable;
    const char* s = bytes.data();
    const char* const end = s + bytes.size();
    // Eight bytes at a time where a word's first byte in memory is its lowest
    // (every machine the program is built for); byte by byte elsewhere.
    while (std::endian::native == std::endian::little && end - s >= 8) {
        std::uint64_t word;
        std::memcpy(&word, s, sizeof word);
        // The eight bytes go out as they are; where one needs the table, the
        // output goes on from that byte.
        std::memcpy(p, s, sizeof word);
        const std::uint64_t marks = table_bytes<controls>(word);
        if (marks == 0) {
            p += sizeof word;
            s += sizeof word;
            continue;
        }
        if ((marks & (marks - 1)) != 0) {
            // Several of the eight (a step pattern's marks): each through the table.
            for (int i = 0; i < 8; ++i) p = put_encoded(p, table[static_cast<unsigned char>(s[i])]);
            s += sizeof word;
            continue;
        }
        const int plain_bytes = std::countr_zero(marks) / 8;
        p = put_encoded(p + plain_bytes, table[static_cast<unsigned char>(s[plain_bytes])]);
        s += plain_bytes + 1;
    }
    if (std::endian::native == std::endian::little && s != end && bytes.size() >= 8) {
        // The last few bytes: the word that ends with them, shifted down to
        // them.
        const auto shift = static_cast<unsigned>(8 - (end - s)) * 8;
        std::uint64_t word;
        std::memcpy(&word, end - 8, sizeof word);
        word >>= shift;
        if ((table_bytes<controls>(word) & (kHighBits >> shift)) == 0) {
            std::memcpy(p, &word, sizeof word);
            return p + (end - s);
        }
    }
    for (; s != end; ++s) {
        const auto byte = static_cast<unsigned char>(*s);
        if (plain<controls>(byte)) {
            *p++ = static_cast<char>(byte);
        } else {
            p = put_encoded(p, table[byte]);
        }
    }
    return p;
}
}  // namespace

char* put_cp437_as_utf8(char* out, std::string_view bytes, ControlBytes controls) {
    if (controls == ControlBytes::Kept) return put_as_utf8<ControlBytes::Kept>(out, bytes);
    return put_as_utf8<ControlBytes::Glyphs>(out, bytes);
}

std::int32_t unicode_to_cp437(char32_t code_point) {
    if (code_point < 128) return static_cast<std::int32_t>(code_point);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == code_point) return static_cast<std::int32_t>(128 + i);
    }
    return -1;
}

}  // namespace cp
