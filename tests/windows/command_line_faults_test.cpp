// An answer to /?, --help or --version that cannot be written is not reported
// as shown, as on Unix: standard output closed, or a file it may not write.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "timed_session.hpp"

namespace cp {
namespace {

namespace fs = std::filesystem;

struct Answer {
    DWORD status = 0;
    std::string errors;
};

fs::path temp_file(const char* stem) {
    return fs::temp_directory_path() / (stem + std::to_string(GetCurrentProcessId()));
}

HANDLE inheritable(const fs::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // Shared for deleting too: Wine may close a finished child's copy a moment late.
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The program with one option and `out` as its standard output; its errors
// go to a file, with the line ends taken as LF.
Answer answer_into(const std::wstring& option, HANDLE out) {
    const fs::path err_path = temp_file("collatzperm-answer-err-");
    const HANDLE err = inheritable(err_path, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring command = L"collatzperm " + option;
    PROCESS_INFORMATION child{};
    Answer answer{.status = ~DWORD{0}, .errors = {}};
    if (CreateProcessW(fs::path(COLLATZPERM_BINARY).c_str(), command.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child)) {
        if (WaitForSingleObject(child.hProcess, 60'000) != WAIT_OBJECT_0) {
            TerminateProcess(child.hProcess, ~0U);
        }
        GetExitCodeProcess(child.hProcess, &answer.status);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
    }
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
    for (const wchar_t* option : {L"/?", L"--help", L"--version"}) {
        // Given INVALID_HANDLE_VALUE, the program starts with no standard
        // output, as if it were closed (Wine makes a NULL one a sink instead).
        for (const HANDLE out : {INVALID_HANDLE_VALUE, unwritable}) {
            const Answer answer = answer_into(option, out);
            const std::string how =
                fs::path(option).string() +
                (out == unwritable ? " into a read-only file" : " into nothing");
            EXPECT_EQ(answer.status, 1U) << how;
            EXPECT_EQ(answer.errors, "collatzperm: cannot write to standard output\n") << how;
        }
    }
    CloseHandle(unwritable);
    fs::remove(read_only);
}

}  // namespace
}  // namespace cp
