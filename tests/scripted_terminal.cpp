#include "scripted_terminal.hpp"

namespace cp::testing {

void ScriptedTerminal::type(std::string_view text) {
    for (char c : text) keys_.emplace_back(1, c);
}

std::vector<std::string> ScriptedTerminal::transcript() {
    std::vector<std::string> rows;
    std::string_view text = transcript_.buffered();
    for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
        rows.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return rows;
}

std::optional<std::string> ScriptedTerminal::next_key() {
    if (keys_.empty()) return std::nullopt;
    std::string key = std::move(keys_.front());
    keys_.pop_front();
    now_ += key_delay_;
    return key;
}

void ScriptedTerminal::sleep_ms(std::int32_t ms) {
    ++sleeps_;
    if (ms > 0) {
        slept_ms_ += ms;
        now_ += static_cast<Real>(ms) / 1000;
    }
}

std::string row_text(const Screen& screen, std::int32_t row) {
    std::string text(screen.row_text(row));
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::int32_t colour_at(const Screen& screen, std::int32_t row, std::int32_t column) {
    return screen.cell(row, column - 1).attribute & 0x0F;
}

}  // namespace cp::testing
