#pragma once
// Keys from a console on standard input, in raw mode for as long as this
// object lives: key-down events as the program's key strings, Ctrl+C as a
// key. Keys typed ahead wait in order in the console's own queue.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "console/key_source.hpp"

namespace cp {

class TtyInput final : public KeySource {
  public:
    explicit TtyInput(int fd = 0);
    ~TtyInput() override;
    TtyInput(const TtyInput&) = delete;
    TtyInput& operator=(const TtyInput&) = delete;

    bool interactive() const override { return true; }
    bool key_ready() override;
    std::optional<std::string> next_key() override;
    void set_screen_hook(std::function<void()> hook) override { screen_hook_ = std::move(hook); }

  private:
    // The key of an event, after taking in what else it says (a resize).
    std::optional<std::string> key_of(const INPUT_RECORD& event);

    HANDLE handle_;
    bool raw_ = false;
    bool ended_ = false;
    std::function<void()> screen_hook_;
};

}  // namespace cp
