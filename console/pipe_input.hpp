#pragma once
// Keys from a standard input that is not a terminal (a pipe, a file, the null
// device), the same on every platform: each byte is a key, and LF, CR and
// CR LF are one Enter.
#include <functional>
#include <string>
#include <utility>

#include "console/key_source.hpp"

namespace cp {

class PipeInput final : public KeySource {
  public:
    explicit PipeInput(int fd = 0) : fd_(fd) {}

    // Typed-ahead lines must reach the prompts, not the run-time key checks.
    bool interactive() const override { return false; }
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override;
    void set_screen_hook(std::function<void()> hook) override { screen_hook_ = std::move(hook); }

  private:
    bool fill();

    int fd_;
    std::string buffer_;
    std::size_t next_ = 0;
    bool after_cr_ = false;
    bool ended_ = false;
    std::function<void()> screen_hook_;
};

}  // namespace cp
