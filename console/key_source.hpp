#pragma once
// Where keys come from: a terminal in raw mode, or a pipe or file.
#include <functional>
#include <optional>
#include <string>

namespace cp {

class KeySource {
  public:
    virtual ~KeySource() = default;
    // A person at a terminal: key checks can report keys typed during a run.
    virtual bool interactive() const = 0;
    // Never blocks.
    virtual bool key_ready() = 0;
    // Blocks; nullopt once the input has ended.
    virtual std::optional<std::string> next_key() = 0;
    // `hook` brings the screen out and up to date while keys are awaited: a
    // key source runs it just before a read that would wait (keys that are
    // already there need no flush first), and whenever a signal (a resume
    // after Ctrl+Z, a resize) cuts into a wait.
    virtual void set_screen_hook(std::function<void()> hook) { static_cast<void>(hook); }
};

}  // namespace cp
