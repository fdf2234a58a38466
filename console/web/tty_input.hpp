#pragma once
// Keys from the terminal in the page, decoded as a Unix terminal's bytes are.
// Keys typed ahead wait in order in the page until the program takes them.
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "console/key_decoder.hpp"
#include "console/key_source.hpp"

namespace cp {

class TtyInput final : public KeySource {
  public:
    bool interactive() const override { return true; }
    bool key_ready() override;
    std::optional<std::string> next_key() override;
    void set_screen_hook(std::function<void()> hook) override { screen_hook_ = std::move(hook); }

  private:
    void take_typed();

    KeyDecoder decoder_;
    std::string typed_;
    std::function<void()> screen_hook_;
};

}  // namespace cp
