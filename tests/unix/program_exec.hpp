#pragma once
// Starting the real program from a forked test process. A cross build's tests
// run under an emulator (qemu-user), which cannot start a foreign binary by
// itself: the program is then started through the same emulator.
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

namespace cp::testing {

// The emulator's command words; empty for a native build.
inline std::vector<std::string> emulator_words() {
    std::vector<std::string> words;
    std::istringstream in(COLLATZPERM_EMULATOR);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

inline bool under_emulator() {
    return !emulator_words().empty();
}

// Replaces this (forked) process with the program at path, given `arguments`;
// exit status 127 if that fails.
[[noreturn]] inline void exec_program(const char* path,
                                      const std::vector<std::string>& arguments = {}) {
    std::vector<std::string> words = emulator_words();
    const bool direct = words.empty();
    words.emplace_back(direct ? "collatzperm" : path);
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(word.data());
    args.push_back(nullptr);
    if (direct) {
        execv(path, args.data());
    } else {
        execvp(args.front(), args.data());  // the emulator is found on PATH
    }
    _exit(127);
}

}  // namespace cp::testing
