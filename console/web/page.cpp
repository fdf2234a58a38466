#include "console/web/page.hpp"

#include <emscripten.h>

#include <cstddef>

// The other half of these lives in web/main.js as Module.page: a queue of typed
// bytes, the xterm.js terminal, and a way to wake the program.
EM_JS(int, page_present, (), { return Module['page'] ? 1 : 0; });
EM_JS(void, page_write, (const char* data, std::size_t size), {
    // xterm.js keeps the array until it has parsed it: a copy, not a view.
    Module['page'].write(HEAPU8.slice(data, data + size));
});
EM_JS(std::size_t, page_typed_size, (), { return Module['page'].typedSize(); });
EM_JS(void, page_take_typed, (char* data), { HEAPU8.set(Module['page'].takeTyped(), data); });
EM_JS(void, page_taken_at_prompt, (const char* data, std::size_t size),
      { Module['page'].takenAtPrompt(UTF8ToString(data, size)); });
EM_ASYNC_JS(void, page_wait_for_input, (), { await Module['page'].nextInput(); });
EM_ASYNC_JS(void, page_yield, (), { await Module['page'].turn(); });
EM_JS(int, page_columns, (), { return Module['page'].columns(); });
EM_JS(void, page_ended, (), { Module['page'].ended(); });

namespace cp::page {

bool present() {
    return page_present() != 0;
}

void write(std::string_view bytes) {
    if (!bytes.empty()) page_write(bytes.data(), bytes.size());
}

void take_typed(std::string& bytes) {
    const std::size_t size = page_typed_size();
    if (size == 0) return;
    const std::size_t old_size = bytes.size();
    bytes.resize(old_size + size);
    page_take_typed(bytes.data() + old_size);
}

void taken_at_prompt(std::string_view key) {
    page_taken_at_prompt(key.data(), key.size());
}

void wait_for_input() {
    page_wait_for_input();
}

void yield() {
    page_yield();
}

std::int32_t columns() {
    return page_columns();
}

// Told here rather than by the runtime's exit: a main that has waited through
// Asyncify returns to no caller that would report it.
void ended() {
    page_ended();
}

}  // namespace cp::page
