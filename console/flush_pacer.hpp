#pragma once
// How often output reaches a display while rows stream: a person sees at most
// about 60 pictures a second, and every flush costs the host a write (a pty)
// or many calls (a console, a page). The program's waits flush at once; only
// the key check and the zero pause after each row go by the pacer.
#include <chrono>

namespace cp {

class FlushPacer {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{16};

    // True when a flush now would be at least one interval after the last.
    bool due(Clock::time_point now) const { return now - kInterval >= last_; }
    void flushed(Clock::time_point now) { last_ = now; }

  private:
    Clock::time_point last_ = Clock::time_point::min();  // never
};

}  // namespace cp
