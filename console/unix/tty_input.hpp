#pragma once
// Keys from a terminal on standard input, in raw mode for as long as this
// object lives: no echo, no line editing, Ctrl+C as a key. Keys typed ahead
// wait in order.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "console/key_decoder.hpp"
#include "console/key_source.hpp"

namespace cp {

class TtyInput final : public KeySource {
  public:
    // How long an Esc may wait for the rest of an escape sequence before it
    // counts as the Esc key itself.
    static constexpr std::chrono::milliseconds kEscTimeout{100};

    explicit TtyInput(int fd = 0);
    ~TtyInput() override;
    TtyInput(const TtyInput&) = delete;
    TtyInput& operator=(const TtyInput&) = delete;

    bool interactive() const override { return true; }
    bool key_ready() override;
    std::optional<std::string> next_key() override;
    void set_screen_hook(std::function<void()> hook) override { screen_hook_ = std::move(hook); }

  private:
    // Waits up to timeout_ms (-1: for ever) for bytes and decodes what came.
    // False when nothing came in time.
    bool read_some(int timeout_ms);
    // Lets a held-back Esc count as a key once its time is up.
    void expire_pending();
    int pending_wait_ms() const;

    int fd_;
    bool raw_ = false;
    bool ended_ = false;
    KeyDecoder decoder_;
    std::function<void()> screen_hook_;
    std::chrono::steady_clock::time_point last_byte_{};
};

}  // namespace cp
