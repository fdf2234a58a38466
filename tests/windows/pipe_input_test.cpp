// Keys from a standard input that is not a console: a real pipe, as when
// keys are piped into the program.
#include "console/pipe_input.hpp"

#include <fcntl.h>
#include <io.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cp {
namespace {

// Every key the input gives, up to its end.
std::vector<std::string> keys_of(const std::string& bytes) {
    int ends[2] = {-1, -1};
    EXPECT_EQ(_pipe(ends, 65536, _O_BINARY), 0);
    EXPECT_EQ(_write(ends[1], bytes.data(), static_cast<unsigned>(bytes.size())),
              static_cast<int>(bytes.size()));
    _close(ends[1]);
    PipeInput input(ends[0]);
    std::vector<std::string> keys;
    while (const std::optional<std::string> key = input.next_key()) keys.push_back(*key);
    EXPECT_FALSE(input.next_key()) << "the end stays the end";
    _close(ends[0]);
    return keys;
}

TEST(PipeInput, LineEndsAreOneEnterAndTheEndEndsTheKeys) {
    using Keys = std::vector<std::string>;
    EXPECT_EQ(keys_of("20\n"), (Keys{"2", "0", "\r"}));
    EXPECT_EQ(keys_of("a\rb\r\nc\n\rd"), (Keys{"a", "\r", "b", "\r", "c", "\r", "\r", "d"}));
    EXPECT_EQ(keys_of("\r\n\r\n"), (Keys{"\r", "\r"}));
    // Bytes pass as they are: no text mode, no end at Ctrl+Z.
    EXPECT_EQ(keys_of(std::string("\x1a\x84\0", 3)), (Keys{"\x1a", "\x84", std::string(1, '\0')}));
    EXPECT_EQ(keys_of(""), Keys{});
    PipeInput nothing(-1);  // no standard input at all
    EXPECT_FALSE(nothing.next_key());
}

}  // namespace
}  // namespace cp
