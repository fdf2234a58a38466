#pragma once
// The terminal in the web page (xterm.js, set up by web/main.js), as the
// program sees it. Every call that waits gives the browser its turn
// (Asyncify): the page paints, and keys typed meanwhile arrive.
#include <cstdint>
#include <string>
#include <string_view>

namespace cp::page {

// The program runs in a page; under node there is none, and the standard
// streams are pipes or files.
bool present();
// Bytes for the terminal, UTF-8 and VT sequences as a Unix terminal takes them.
void write(std::string_view bytes);
// Appends the bytes of the oldest key press (or paste) not taken yet, whole;
// nothing when there is none.
void take_typed(std::string& bytes);
// A key the program took at one of its prompts, as UTF-8: the page keeps
// these for a link that types them again.
void taken_at_prompt(std::string_view key);
// Waits until something is typed or the terminal is resized.
void wait_for_input();
// Lets the browser paint and take keys, then goes on.
void yield();
std::int32_t columns();
// The program has ended (its last output is out): the page says so, and keys
// typed from now on start nothing.
void ended();

}  // namespace cp::page
