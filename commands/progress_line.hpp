#pragma once
// The line on standard error that shows how far a long command has come:
// redrawn in place about ten times a second from a thread of its own, and
// cleared at the end.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "commands/commands.hpp"
#include "commands/request.hpp"

namespace cp {

struct ProgressReading {
    std::optional<double> share;           // of the whole work, 0 to 1
    std::optional<std::uint64_t> records;  // written so far
};

// Whether the command shows the line: asked for, or standard error is a
// terminal and the records go elsewhere; never without threads to draw it.
bool progress_wanted(ProgressMode mode, const CommandEnvironment& environment);

class ProgressLine {
  public:
    ProgressLine(OutputSink& errors, std::function<ProgressReading()> read);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

  private:
    void run();
    void draw(const std::string& text);

    OutputSink& errors_;
    std::function<ProgressReading()> read_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::size_t drawn_ = 0;  // the width of the line on the screen
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

// The line's text for a reading `seconds` after the start.
std::string progress_text(const ProgressReading& reading, double seconds);

}  // namespace cp
