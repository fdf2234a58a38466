#include "console/picture_channel.hpp"

#include <emscripten.h>

#include <cstddef>

// The page's half is Module.page.pictures in web/main.js; under node there
// is no page.
EM_JS(int, page_takes_pictures, (), { return Module['page'] && Module['page'].pictures ? 1 : 0; });
EM_JS(void, page_pictures, (const char* data, std::size_t size),
      { Module['page'].pictures(HEAPU8.slice(data, data + size)); });

namespace cp {

bool picture_channel_open() {
    return page_takes_pictures() != 0;
}

void send_to_pictures(std::string_view records) {
    if (!records.empty()) page_pictures(records.data(), records.size());
}

}  // namespace cp
