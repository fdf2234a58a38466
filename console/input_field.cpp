#include "console/strings.hpp"

namespace cp {

std::string input_field(std::string_view line, std::int32_t n) {
    if (n < 1) return {};
    std::size_t pos = 0;
    for (std::int32_t field = 1;; ++field) {
        while (pos < line.size() && line[pos] == ' ') ++pos;
        std::string_view text;
        std::size_t next;  // where the field's comma is, or the end
        if (pos < line.size() && line[pos] == '"') {
            // Quoted: up to the closing quote, commas included; anything from
            // there to the next comma is dropped.
            const std::size_t close = line.find('"', pos + 1);
            const std::size_t end = close == std::string_view::npos ? line.size() : close;
            text = line.substr(pos + 1, end - pos - 1);
            next = end == line.size() ? end : line.find(',', end);
        } else {
            next = line.find(',', pos);
            text = line.substr(
                pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
            while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
        }
        if (field == n) return std::string(text);
        if (next == std::string_view::npos || next >= line.size()) return {};
        pos = next + 1;
    }
}

}  // namespace cp
