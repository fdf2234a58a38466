#include "child_process.hpp"

#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace cp::testing {

namespace {

namespace fs = std::filesystem;

constexpr int kStartAttempts = 5;

fs::path temp_file(const char* stem) {
    static int serial = 0;
    return fs::temp_directory_path() / (std::string(stem) + std::to_string(GetCurrentProcessId()) +
                                        "-" + std::to_string(++serial));
}

// A handle the child inherits as one of its standard streams.
HANDLE inheritable(const fs::path& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::wstring program_path() {
    const char* chosen = std::getenv("COLLATZPERM_PROGRAM");
    return fs::path(chosen != nullptr && *chosen != '\0' ? chosen : COLLATZPERM_BINARY).wstring();
}

// One argument of a command line, as the C runtime splits it again: in
// quotes, with its own quotes escaped (the tests' arguments hold no backslash).
std::wstring quoted(const std::string& argument) {
    std::wstring word = L" \"";
    for (const char c : argument) {
        if (c == '"') word += L'\\';
        word += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return word + L'"';
}

long peak_kb_of(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

}  // namespace

void run_child(const std::vector<std::string>& arguments, const StandardHandles& handles,
               std::chrono::milliseconds limit, TimedSession& result) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = handles.in;
    startup.hStdOutput = handles.out;
    startup.hStdError = handles.err;
    std::wstring command = L"collatzperm";
    for (const std::string& argument : arguments) command += quoted(argument);
    PROCESS_INFORMATION child{};
    const std::wstring program = program_path();
    auto started = std::chrono::steady_clock::now();
    // A host under load (Wine's server starting its services) may refuse a
    // process now and then; only that is tried again, never a run that ended.
    bool created = false;
    for (int attempt = 1; attempt <= kStartAttempts && !created; ++attempt) {
        started = std::chrono::steady_clock::now();
        created = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child);
        if (!created) {
            result.not_run = "could not be started: error " + std::to_string(GetLastError()) +
                             " after " + std::to_string(attempt) + " attempts";
            // Said where the test's output keeps it, so that a host's refusals are seen.
            std::fprintf(stderr, "run_child: %s\n", result.not_run.c_str());
            Sleep(static_cast<DWORD>(100 * attempt));
        }
    }
    if (!created) return;
    result.not_run.clear();
    const DWORD waited = WaitForSingleObject(child.hProcess, static_cast<DWORD>(limit.count()));
    if (waited == WAIT_TIMEOUT) {
        result.timed_out = true;
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, INFINITE);
    }
    result.elapsed = std::chrono::steady_clock::now() - started;
    DWORD status = 0;
    if (waited == WAIT_FAILED || !GetExitCodeProcess(child.hProcess, &status)) {
        result.not_run = "could not be waited for: error " + std::to_string(GetLastError());
    } else if (!result.timed_out) {
        result.exit_status = static_cast<int>(status);
    }
    result.max_rss_kb = peak_kb_of(child.hProcess);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

TimedSession run_timed_session(const std::string& keys, std::chrono::milliseconds limit,
                               const std::vector<std::string>& arguments) {
    const fs::path in_path = temp_file("collatzperm-keys-");
    const fs::path out_path = temp_file("collatzperm-out-");
    const fs::path err_path = temp_file("collatzperm-err-");
    std::ofstream(in_path, std::ios::binary) << keys;
    const StandardHandles handles{inheritable(in_path, GENERIC_READ, OPEN_EXISTING),
                                  inheritable(out_path, GENERIC_WRITE, CREATE_ALWAYS),
                                  inheritable(err_path, GENERIC_WRITE, CREATE_ALWAYS)};
    TimedSession result;
    run_child(arguments, handles, limit, result);
    CloseHandle(handles.in);
    CloseHandle(handles.out);
    CloseHandle(handles.err);
    result.transcript = read_file(out_path);
    result.errors = read_file(err_path);
    std::error_code ignored;
    fs::remove(in_path, ignored);
    fs::remove(out_path, ignored);
    fs::remove(err_path, ignored);
    return result;
}

}  // namespace cp::testing
