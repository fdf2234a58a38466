// The key decoder on any byte stream cut at any points: the same keys whatever
// the cuts, and every key a well-formed key string.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "console/key_decoder.hpp"

namespace {

std::vector<std::string> drain(cp::KeyDecoder& decoder) {
    std::vector<std::string> keys;
    while (decoder.has_key()) keys.push_back(decoder.pop_key());
    return keys;
}

void check_key(const std::string& key) {
    const bool character = key.size() == 1 && key[0] != '\0';
    const bool scan_code = key.size() == 2 && key[0] == '\0';
    if (!character && !scan_code) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes seed the cuts; the rest is what the terminal sends.
    std::uint32_t seed = static_cast<std::uint32_t>(data[0]) << 8 | data[1];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    cp::KeyDecoder whole;
    whole.feed(bytes);
    whole.flush_pending();
    if (whole.pending()) std::abort();
    const std::vector<std::string> expected = drain(whole);
    for (const std::string& key : expected) check_key(key);

    // The same bytes in chunks of 0 to 7 bytes, keys taken as they come.
    cp::KeyDecoder cut;
    std::vector<std::string> got;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t chunk = (seed >> 16) % 8;
        cut.feed(bytes.substr(pos, chunk));
        pos += chunk;
        for (std::string& key : drain(cut)) got.push_back(std::move(key));
    }
    cut.flush_pending();
    for (std::string& key : drain(cut)) got.push_back(std::move(key));
    if (got != expected) std::abort();

    // Timeouts at any point (flushing what is held back) still give only whole keys.
    cp::KeyDecoder hurried;
    for (const char c : bytes) {
        hurried.feed(std::string_view(&c, 1));
        seed = seed * 1103515245u + 12345u;
        if ((seed >> 16) % 3 == 0) hurried.flush_pending();
        for (const std::string& key : drain(hurried)) check_key(key);
    }
    if (!hurried.pop_key().empty()) std::abort();
    return 0;
}
