#pragma once
// Keys from the terminal in the page, decoded as a Unix terminal's bytes are.
// Keys typed ahead wait in order in the page until the program takes them.
// The keys taken at the program's prompts go back to the page, which can make
// a link of them that types them again.
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
    void tell_page(const std::string& key);

    KeyDecoder decoder_;
    std::string typed_;
    std::function<void()> screen_hook_;
    // A key check found the key that comes next: a key of a running search.
    bool checked_key_ = false;
    // The line a search's key opened is being typed, up to its Enter.
    bool in_search_line_ = false;
};

}  // namespace cp
