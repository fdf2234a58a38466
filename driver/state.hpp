#pragma once
// The program state: everything the driver, the search and the explorer share.
// One value, owned by the driver and passed by reference, so that a test can
// build a fresh program in a line.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "console/numbers/arithmetic.hpp"
#include "driver/language.hpp"
#include "driver/observer.hpp"

namespace cp {

inline constexpr std::size_t kStartTableEntries = 1501;  // indices 0 to 1500
inline constexpr std::size_t kLoopHistoryEntries = 501;  // indices 0 to 500

struct State {
    // Chosen before start-up; each subsystem takes its texts in it.
    Language language = Language::German;
    // Told what the program shows, where something draws it beside the screen.
    Observer* observer = nullptr;
    std::int64_t exponent = 0;
    std::int32_t previousExponent = 16;
    std::int32_t stepDirection = +1;
    std::int32_t multiplierSign = +1;
    std::int32_t compressedMode = 0;
    std::int32_t rowColour = 15;
    std::int32_t firstOddOption = 0;
    std::int32_t showAllRows = 0;
    std::int32_t beepOption = 0;
    std::string command;
    std::int32_t zeroCommand = 0;
    std::int64_t defaultStart = 24;
    // Grows past its 1,501 entries when a compressed search finds more start
    // numbers, so that no row is dropped.
    std::vector<std::int64_t> startNumbers = std::vector<std::int64_t>(kStartTableEntries, 0);
    std::int64_t lastIndex = 0;
    std::int64_t previousLastIndex = 0;
    std::string stepPattern;
    std::string stopRequest;
    std::int32_t rowPauseMs = 0;
    double elapsedSeconds = 0;

    // Search rows.
    std::int64_t currentStart = 0;
    std::int64_t previousStart = 0;

    // Sequence explorer: the most recent values, newest first.
    std::array<std::int64_t, kLoopHistoryEntries> loopHistory{};

    RandomGenerator random;
};

}  // namespace cp
