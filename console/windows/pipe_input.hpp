#pragma once
// Keys from a standard input that is not a console (a pipe, a file, the null
// device): each byte is a key, and LF, CR and CR LF are one Enter.
#include <functional>
#include <string>
#include <utility>

#include "console/key_source.hpp"
#include "console/pipe_keys.hpp"

namespace cp {

class PipeInput final : public KeySource {
  public:
    explicit PipeInput(int fd = 0);

    // Typed-ahead lines must reach the prompts, not the run-time key checks.
    bool interactive() const override { return false; }
    bool key_ready() override { return false; }
    std::optional<std::string> next_key() override;
    void set_screen_hook(std::function<void()> hook) override { screen_hook_ = std::move(hook); }

  private:
    bool fill();
    // A read now would return at once: bytes are there, or the input has ended.
    bool readable_now() const;

    void* handle_;
    std::string buffer_;
    std::size_t next_ = 0;
    PipeKeys keys_;
    bool ended_ = false;
    std::function<void()> screen_hook_;
};

}  // namespace cp
