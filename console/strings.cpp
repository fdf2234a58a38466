#include "console/strings.hpp"

#include <algorithm>

namespace cp {

namespace {

// 1-based start, after counting a negative start from the end; 0 when the
// start lies before the string.
std::int64_t resolve_start(std::int64_t start, std::int64_t length) {
    if (start < 0) start = length + start + 1;
    return start < 1 ? 0 : start;
}

unsigned char upper_key(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 'a' + 'A');
    switch (c) {
        case 132:
            return 142;  // ä
        case 148:
            return 153;  // ö
        case 129:
            return 154;  // ü
        case 130:
            return 144;  // é
        case 164:
            return 165;  // ñ
        case 134:
            return 143;  // å
        case 135:
            return 128;  // ç
        default:
            return c;
    }
}

}  // namespace

std::string upper_keys(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(upper_key(static_cast<unsigned char>(c)));
    return out;
}

std::string substring(std::string_view s, std::int32_t start, std::int32_t count) {
    const auto length = static_cast<std::int64_t>(s.size());
    std::int64_t n = count;
    if (n < 0) n = length + n;
    const std::int64_t first = resolve_start(start, length);
    if (first == 0 || first > length || n <= 0) return {};
    n = std::min(n, length - first + 1);
    return std::string(s.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(n)));
}

void overwrite(std::string& target, std::int32_t start, std::int32_t count,
               std::string_view source) {
    const auto length = static_cast<std::int64_t>(target.size());
    std::int64_t n = count;
    if (n < 0) n = length + n;
    const std::int64_t first = resolve_start(start, length);
    if (first == 0 || first > length || n <= 0) return;
    n = std::min({n, static_cast<std::int64_t>(source.size()), length - first + 1});
    std::copy_n(source.begin(), n, target.begin() + (first - 1));
}

std::string trim_leading(std::string_view s, std::string_view pattern) {
    if (!pattern.empty()) {
        while (s.size() >= pattern.size() && s.substr(0, pattern.size()) == pattern) {
            s.remove_prefix(pattern.size());
        }
    }
    return std::string(s);
}

std::string remove_all(std::string_view s, std::string_view match) {
    if (match.empty() || match.size() > s.size()) return std::string(s);
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    for (std::size_t hit = s.find(match); hit != std::string_view::npos; hit = s.find(match, pos)) {
        out.append(s.substr(pos, hit - pos));
        pos = hit + match.size();
    }
    out.append(s.substr(pos));
    return out;
}

std::string spaces(std::int32_t n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

std::string char_string(std::int32_t code) {
    if (code < 0 || code > 255) return {};
    return std::string(1, static_cast<char>(code));
}

std::int32_t first_code(std::string_view s) {
    return s.empty() ? -1 : static_cast<unsigned char>(s.front());
}

std::int32_t compare(std::string_view a, std::string_view b) {
    // string_view compares through char_traits<char>, which orders bytes as unsigned.
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
}

std::string concat(std::string_view a, std::string_view b) {
    std::string out;
    out.reserve(a.size() + b.size());
    out.append(a);
    out.append(b);
    return out;
}

}  // namespace cp
