// Key decoding at a terminal: escape sequences, Alt+letter, Esc, UTF-8 to code
// page 437, Enter and Backspace, in whatever chunks the bytes arrive.
#include "console/key_decoder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cp {
namespace {

std::string scan(int code) {
    return std::string{'\0', static_cast<char>(code)};
}
std::string chr(int code) {
    return std::string(1, static_cast<char>(code));
}

std::vector<std::string> drain(KeyDecoder& decoder) {
    std::vector<std::string> keys;
    while (decoder.has_key()) keys.push_back(decoder.pop_key());
    return keys;
}

std::vector<std::string> decode(std::string_view bytes) {
    KeyDecoder decoder;
    decoder.feed(bytes);
    return drain(decoder);
}

using Keys = std::vector<std::string>;

TEST(KeyDecoder, CursorAndEditingKeysInCsiAndSs3Forms) {
    EXPECT_EQ(decode("\x1b[A\x1b[B\x1b[C\x1b[D"), (Keys{scan(72), scan(80), scan(77), scan(75)}));
    EXPECT_EQ(decode("\x1bOA\x1bOB\x1bOC\x1bOD"), (Keys{scan(72), scan(80), scan(77), scan(75)}));
    EXPECT_EQ(decode("\x1b[H\x1b[F\x1bOH\x1bOF"), (Keys{scan(71), scan(79), scan(71), scan(79)}));
    EXPECT_EQ(
        decode("\x1b[1~\x1b[2~\x1b[3~\x1b[4~\x1b[5~\x1b[6~\x1b[7~\x1b[8~"),
        (Keys{scan(71), scan(82), scan(83), scan(79), scan(73), scan(81), scan(71), scan(79)}));
}

TEST(KeyDecoder, ModifiersKeepTheScanCode) {
    EXPECT_EQ(decode("\x1b[1;5A\x1b[1;2D\x1b[3;5~\x1b[1;3P"),
              (Keys{scan(72), scan(75), scan(83), scan(59)}));
}

TEST(KeyDecoder, FunctionKeysInEveryForm) {
    const Keys f1_to_f4{scan(59), scan(60), scan(61), scan(62)};
    EXPECT_EQ(decode("\x1bOP\x1bOQ\x1bOR\x1bOS"), f1_to_f4);
    EXPECT_EQ(decode("\x1b[11~\x1b[12~\x1b[13~\x1b[14~"), f1_to_f4);
    EXPECT_EQ(decode("\x1b[[A\x1b[[B\x1b[[C\x1b[[D\x1b[[E"),
              (Keys{scan(59), scan(60), scan(61), scan(62), scan(63)}));
    EXPECT_EQ(
        decode("\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~\x1b[23~\x1b[24~"),
        (Keys{scan(63), scan(64), scan(65), scan(66), scan(67), scan(68), scan(133), scan(134)}));
}

TEST(KeyDecoder, AltLetterGivesTheLetterKeysScanCode) {
    EXPECT_EQ(decode("\x1bq\x1bp\x1b"
                     "a\x1bl\x1bz\x1bm"),
              (Keys{scan(0x10), scan(0x19), scan(0x1E), scan(0x26), scan(0x2C), scan(0x32)}));
    EXPECT_EQ(decode("\x1bQ\x1bX"), (Keys{scan(0x10), scan(0x2D)}));
    // Alt with a key that is no letter gives that key's character.
    EXPECT_EQ(decode("\x1b"
                     "5\x1b\r"),
              (Keys{"5", chr(13)}));
}

TEST(KeyDecoder, LoneEscWaitsForTheTimeout) {
    KeyDecoder decoder;
    decoder.feed("\x1b");
    EXPECT_FALSE(decoder.has_key());
    EXPECT_TRUE(decoder.pending());
    decoder.flush_pending();
    EXPECT_FALSE(decoder.pending());
    EXPECT_EQ(drain(decoder), (Keys{chr(27)}));

    decoder.feed("\x1b\x1b[A");  // Esc, then Up
    EXPECT_EQ(drain(decoder), (Keys{chr(27), scan(72)}));

    decoder.feed("\x1bO");  // Alt+Shift+O, with nothing after it
    decoder.flush_pending();
    EXPECT_EQ(drain(decoder), (Keys{scan(0x18)}));
}

TEST(KeyDecoder, SequenceSplitAcrossChunks) {
    KeyDecoder decoder;
    for (const char c : std::string_view("\x1b[1;5A")) {
        EXPECT_FALSE(decoder.has_key());
        decoder.feed(std::string_view(&c, 1));
    }
    EXPECT_EQ(drain(decoder), (Keys{scan(72)}));
    decoder.feed("\x1b");
    decoder.feed("[2");
    decoder.feed("4~x");
    EXPECT_EQ(drain(decoder), (Keys{scan(134), "x"}));
    decoder.feed("\xc3");
    EXPECT_TRUE(decoder.pending());
    decoder.feed("\xa4");
    EXPECT_EQ(drain(decoder), (Keys{chr(132)}));
}

TEST(KeyDecoder, UnknownAndBrokenSequencesDoNotSwallowFollowingKeys) {
    // Unknown but well-formed: dropped whole.
    EXPECT_EQ(decode("\x1b[99~a\x1b[?1;2cb\x1b[200~c\x1bOxd"), (Keys{"a", "b", "c", "d"}));
    // Cut short by a byte that belongs to no sequence: that byte is a key.
    EXPECT_EQ(decode("\x1b[1;\r"), (Keys{chr(13)}));
    EXPECT_EQ(decode("\x1b[12\x1b[A"), (Keys{scan(72)}));
    EXPECT_EQ(decode("\x1bO\x03"), (Keys{chr(3)}));
    // An endless parameter run is still one sequence.
    EXPECT_EQ(decode("\x1b[" + std::string(100, '1') + "~z"), (Keys{"z"}));
    // A partial sequence at the timeout is dropped, and what follows is read afresh.
    KeyDecoder decoder;
    decoder.feed("\x1b[1;");
    decoder.flush_pending();
    decoder.feed("A");
    EXPECT_EQ(drain(decoder), (Keys{"A"}));
}

TEST(KeyDecoder, Utf8IsMappedToCodePage437) {
    EXPECT_EQ(decode("ä"), (Keys{chr(132)}));
    EXPECT_EQ(decode("öüßéÄÖÜ"),
              (Keys{chr(148), chr(129), chr(225), chr(130), chr(142), chr(153), chr(154)}));
    EXPECT_EQ(decode("■"), (Keys{chr(254)}));
    // Characters the code page lacks are ignored, the rest goes on.
    EXPECT_EQ(decode("a€b😀c"), (Keys{"a", "b", "c"}));
}

TEST(KeyDecoder, InvalidUtf8IsDropped) {
    // Stray continuation, overlong forms, a surrogate, a lead byte cut short.
    EXPECT_EQ(decode("a\x80"
                     "b\xc0\xaf"
                     "c\xe0\x80\xaf"
                     "d\xed\xa0\x80"
                     "e\xc3"
                     "f\xff"
                     "g"),
              (Keys{"a", "b", "c", "d", "e", "f", "g"}));
    KeyDecoder decoder;
    decoder.feed("\xe2\x82");  // half a euro sign, then nothing more
    decoder.flush_pending();
    decoder.feed("x");
    EXPECT_EQ(drain(decoder), (Keys{"x"}));
}

TEST(KeyDecoder, EnterBackspaceAndControlKeys) {
    EXPECT_EQ(decode("\r\n\r\n"), (Keys{chr(13), chr(13)}));
    EXPECT_EQ(decode("\n\n"), (Keys{chr(13), chr(13)}));
    EXPECT_EQ(decode("\r\r"), (Keys{chr(13), chr(13)}));
    KeyDecoder split;
    split.feed("\r");
    split.feed("\n5");
    EXPECT_EQ(drain(split), (Keys{chr(13), "5"}));
    EXPECT_EQ(decode("\x7f\x08"), (Keys{chr(8), chr(8)}));
    EXPECT_EQ(decode("\x03\t\x13"), (Keys{chr(3), chr(9), chr(19)}));
    EXPECT_EQ(decode(std::string_view("\0x", 2)), (Keys{"x"}));
}

}  // namespace
}  // namespace cp
