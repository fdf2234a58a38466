#include "console/clock.hpp"

#include <emscripten.h>

#include "console/web/page.hpp"

// The browser's local clock (node's under node), in whole milliseconds.
EM_JS(double, local_ms_since_midnight, (), {
    const now = new Date();
    return ((now.getHours() * 60 + now.getMinutes()) * 60 + now.getSeconds()) * 1000 +
           now.getMilliseconds();
});

// Node's thread waits where it stands: nothing else has a turn to take. (A
// wait on an atomic that nobody changes: node has SharedArrayBuffer and lets
// its main thread wait, where a page does neither.)
EM_JS(void, wait_here_ms, (int ms),
      { Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, ms); });

namespace cp {

Real local_seconds_since_midnight() {
    return Real(static_cast<std::int64_t>(local_ms_since_midnight())) / 1000;
}

// In a page the browser has its turn for the whole pause: it paints and keys
// arrive. Under node the program is built without the means to yield.
void pause_ms(std::int32_t ms) {
    if (page::present()) {
        emscripten_sleep(static_cast<unsigned>(ms));
    } else {
        wait_here_ms(ms);
    }
}

}  // namespace cp
