#include "console/clock.hpp"

#include <emscripten.h>

// The browser's local clock (node's under node), in whole milliseconds.
EM_JS(double, local_ms_since_midnight, (), {
    const now = new Date();
    return ((now.getHours() * 60 + now.getMinutes()) * 60 + now.getSeconds()) * 1000 +
           now.getMilliseconds();
});

namespace cp {

Real local_seconds_since_midnight() {
    return Real(static_cast<std::int64_t>(local_ms_since_midnight())) / 1000;
}

// The browser's turn for the whole pause: the page paints and keys arrive.
void pause_ms(std::int32_t ms) {
    emscripten_sleep(static_cast<unsigned>(ms));
}

}  // namespace cp
