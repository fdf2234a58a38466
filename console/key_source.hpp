#pragma once
// Where keys come from: a terminal in raw mode, or a pipe or file.
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
};

}  // namespace cp
