#include "console/web/tty_input.hpp"

#include <string_view>

#include "console/cp437.hpp"
#include "console/web/page.hpp"

namespace cp {

namespace {
constexpr std::string_view kEnter = "\r";

bool is_digit_or_letter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
}  // namespace

void TtyInput::take_typed() {
    for (;;) {
        typed_.clear();
        page::take_typed(typed_);
        if (typed_.empty()) return;
        decoder_.feed(typed_);
        // The page hands over one whole key press at a time, so a lone Esc is
        // the Esc key: no waiting for the rest of a sequence, as a Unix
        // terminal needs.
        decoder_.flush_pending();
    }
}

// No turn for the browser here: the key check after each row would pay the
// timer's clamp every row. The flushes, paced, give the browser its turns.
bool TtyInput::key_ready() {
    if (!decoder_.has_key()) take_typed();
    checked_key_ = decoder_.has_key();
    return checked_key_;
}

std::optional<std::string> TtyInput::next_key() {
    take_typed();
    while (!decoder_.has_key()) {
        page::wait_for_input();
        take_typed();
        // Woken by a resize, not a key: the screen catches up with it.
        if (!decoder_.has_key() && screen_hook_) screen_hook_();
    }
    std::string key = decoder_.pop_key();
    tell_page(key);
    return key;
}

// Only the keys of the prompts go into a link: it types each key when the
// program next waits for one, which a running search never does. A search
// takes a key it finds by a key check; a digit or a letter does its work
// there, any other key opens a line of its own up to its Enter.
void TtyInput::tell_page(const std::string& key) {
    if (checked_key_) {
        checked_key_ = false;
        in_search_line_ = key.size() != 1 || !is_digit_or_letter(key[0]);
        return;
    }
    if (in_search_line_) {
        in_search_line_ = key != kEnter;
        return;
    }
    // Keys without a character (0 and a scan code) have no place in a link.
    if (key.size() != 1) return;
    char utf8[utf8_room(1)];
    page::taken_at_prompt(std::string(utf8, put_cp437_as_utf8(utf8, key, ControlBytes::Kept)));
}

}  // namespace cp
