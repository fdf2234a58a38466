// An answer to /?, --help or --version that cannot be written is not reported
// as shown, as on Unix: standard output closed, or a file it may not write.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "child_process.hpp"

namespace cp {
namespace {

namespace fs = std::filesystem;

// A name of its own for each file: a file whose last child Wine closes a
// moment late cannot be made again at once.
fs::path temp_file(const char* stem) {
    static int serial = 0;
    return fs::temp_directory_path() /
           (stem + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial));
}

HANDLE inheritable(const fs::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // Shared for deleting too: Wine may close a finished child's copy a moment late.
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The program with one option and `out` as its standard output; its errors
// go to a file, with the line ends taken as LF.
testing::TimedSession answer_into(const std::string& option, HANDLE out) {
    const fs::path err_path = temp_file("collatzperm-answer-err-");
    const HANDLE err = inheritable(err_path, GENERIC_WRITE, CREATE_ALWAYS);
    testing::TimedSession answer;
    testing::run_child({option}, {.in = nullptr, .out = out, .err = err}, std::chrono::minutes(1),
                       answer);
    CloseHandle(err);
    answer.errors = testing::read_file(err_path);
    std::erase(answer.errors, '\r');
    fs::remove(err_path);
    return answer;
}

TEST(CommandLine, AnswerThatCannotBeWrittenFails) {
    const fs::path read_only = temp_file("collatzperm-answer-out-");
    CloseHandle(inheritable(read_only, GENERIC_WRITE, CREATE_ALWAYS));
    const HANDLE unwritable = inheritable(read_only, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(unwritable, INVALID_HANDLE_VALUE);
    for (const std::string option : {"/?", "--help", "--version"}) {
        // Given INVALID_HANDLE_VALUE, the program starts with no standard
        // output, as if it were closed (Wine makes a NULL one a sink instead).
        for (const HANDLE out : {INVALID_HANDLE_VALUE, unwritable}) {
            const testing::TimedSession answer = answer_into(option, out);
            const std::string how =
                option + (out == unwritable ? " into a read-only file" : " into nothing");
            EXPECT_EQ(testing::ending(answer), "exit status 1") << how;
            EXPECT_EQ(answer.errors, "collatzperm: cannot write to standard output\n") << how;
        }
    }
    CloseHandle(unwritable);
    fs::remove(read_only);
}

}  // namespace
}  // namespace cp
