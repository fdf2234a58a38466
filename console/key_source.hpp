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
    // `hook` runs whenever a signal (a resume after Ctrl+Z, a resize) cuts into
    // a wait for keys, so that the screen can catch up while no key comes.
    virtual void set_wake_hook(std::function<void()> hook) { static_cast<void>(hook); }
    // `hook` runs just before a read that would wait for input, so that the
    // screen is out whenever the program waits (keys that are already there
    // need no flush of the output first).
    virtual void set_wait_hook(std::function<void()> hook) { static_cast<void>(hook); }
};

}  // namespace cp
