// When output goes out: pieces written on the writing thread arrive whole and
// in order, a failed write is reported rather than hanging, and keys from a
// pipe ask for the screen to be out only before a read that would wait.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "console/console.hpp"
#include "console/pipe_input.hpp"
#include "console/split_terminal.hpp"
#include "console/unix/background_writer.hpp"
#include "console/unix/tty_output.hpp"

namespace cp {
namespace {

struct Pipe {
    int read_end = -1;
    int write_end = -1;
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0) read_end = fds[0], write_end = fds[1];
    }
    ~Pipe() {
        close_read();
        close_write();
    }
    void close_read() {
        if (read_end >= 0) close(read_end);
        read_end = -1;
    }
    void close_write() {
        if (write_end >= 0) close(write_end);
        write_end = -1;
    }
    std::string read_all() {
        std::string all;
        char bytes[4096];
        for (ssize_t got; (got = read(read_end, bytes, sizeof bytes)) > 0;)
            all.append(bytes, static_cast<std::size_t>(got));
        return all;
    }
};

TEST(BackgroundWriter, PiecesArriveWholeAndInOrder) {
    Pipe pipe;
    std::string expected;
    std::string received;
    // Larger pieces than a pipe holds, so the writer really waits for its reader.
    std::thread reader([&] { received = pipe.read_all(); });
    {
        BackgroundWriter writer(pipe.write_end);
        ByteBuffer piece;
        for (int i = 0; i < 40; ++i) {
            const std::string text =
                std::string(100000, static_cast<char>('a' + i % 26)) + std::to_string(i);
            piece.append(text);
            expected += text;
            ASSERT_TRUE(writer.hand_over(piece));
            EXPECT_TRUE(piece.empty());
        }
        EXPECT_TRUE(writer.drain());
        piece.append("last");
        expected += "last";
        ASSERT_TRUE(writer.hand_over(piece));
    }  // the destructor waits for the last piece
    pipe.close_write();
    reader.join();
    EXPECT_EQ(received.size(), expected.size());
    EXPECT_TRUE(received == expected);
}

TEST(BackgroundWriter, AFailedWriteIsReportedAndNothingHangs) {
    Pipe pipe;
    pipe.close_read();  // EPIPE: the writing thread keeps SIGPIPE blocked
    BackgroundWriter writer(pipe.write_end);
    ByteBuffer piece;
    piece.append("lost");
    EXPECT_TRUE(writer.hand_over(piece));  // taken; the failure shows afterwards
    EXPECT_FALSE(writer.drain());
    piece.append("more");
    EXPECT_FALSE(writer.hand_over(piece));
    EXPECT_FALSE(writer.drain());
}

// A flush must wait for the piece on the writing thread: against a slow
// reader the two writes would otherwise mix.
TEST(BackgroundWriter, APieceInHandGoesOutBeforeTheRest) {
    constexpr int kRows = 1200;
    Pipe pipe;
    Pipe no_keys;
    no_keys.close_write();
    std::string received;
    // A small pipe and a slow reader: the piece handed over is still being
    // written when the rest is flushed.
    fcntl(pipe.write_end, F_SETPIPE_SZ, 4096);
    std::thread reader([&] {
        char bytes[2048];
        for (ssize_t got; (got = read(pipe.read_end, bytes, sizeof bytes)) > 0;) {
            received.append(bytes, static_cast<std::size_t>(got));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    {
        TtyOutput screen(pipe.write_end);
        PipeInput keys(no_keys.read_end);
        SplitTerminal terminal(keys, screen);
        Console console(terminal);
        console.set_screen_size(900, 16000);
        const std::string filler(60, '.');
        for (int i = 0; i < kRows; ++i) {  // one piece for the thread and a bit
            console.print_text("row " + std::to_string(i) + filler);
            console.print_newline();
        }
        terminal.flush();
    }
    pipe.close_write();
    reader.join();
    int rows = 0;
    for (std::size_t at = received.find("row "); at != std::string::npos;
         at = received.find("row ", at + 1)) {
        ASSERT_EQ(std::stoi(received.substr(at + 4)), rows);
        ++rows;
    }
    EXPECT_EQ(rows, kRows);
}

TEST(PipeInputScreenHook, RunsOnlyBeforeAReadThatWouldWait) {
    Pipe pipe;
    PipeInput keys(pipe.read_end);
    int waits = 0;
    keys.set_screen_hook([&] {
        ++waits;
        // What a person does once the screen is out: type the next keys.
        ASSERT_EQ(write(pipe.write_end, "c\r\n", 3), 3);
    });
    ASSERT_EQ(write(pipe.write_end, "ab", 2), 2);
    EXPECT_EQ(keys.next_key(), "a");
    EXPECT_EQ(keys.next_key(), "b");
    EXPECT_EQ(waits, 0);  // the keys were there: no flush needed
    EXPECT_EQ(keys.next_key(), "c");
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(keys.next_key(), "\r");
    // CR LF is one Enter: the LF is skipped, then the closed pipe is the end
    // of input, which a read reports at once.
    keys.set_screen_hook([&] { ++waits; });
    pipe.close_write();
    EXPECT_EQ(keys.next_key(), std::nullopt);
    EXPECT_EQ(waits, 1);
}

}  // namespace
}  // namespace cp
