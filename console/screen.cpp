#include "console/screen.hpp"

namespace cp {

namespace {
constexpr std::size_t kFirstRuns = 6;
// Most rows the program writes are 80 to 120 cells long: a fresh row gets
// room for that many at once rather than growing to it in three steps.
constexpr std::size_t kFirstCells = 128;
}  // namespace

Screen::Screen(std::int32_t columns, std::int32_t rows)
    : columns_(std::min(columns, kMaxColumns)), rows_(rows) {
    ring_.resize(static_cast<std::size_t>(rows));
}

void Screen::resize(std::int32_t columns, std::int32_t rows) {
    columns_ = std::min(columns, kMaxColumns);
    rows_ = rows;
    ring_.clear();
    ring_.resize(static_cast<std::size_t>(rows));
    used_.clear();
    top_ = 0;
    clear_fill_ = attribute();
    cursor_row_ = 0;
    cursor_column_ = 0;
    wrap_pending_ = false;
}

void Screen::clear() {
    // Only rows that ever held cells need work; the rest take the new clear colour.
    for (std::size_t p : used_) ring_[p] = Row{};
    used_.clear();
    clear_fill_ = attribute();
    cursor_row_ = 0;
    cursor_column_ = 0;
    wrap_pending_ = false;
}

std::vector<ColourRun>::const_iterator Screen::run_at(const Row& row, std::size_t c) {
    const auto after = std::upper_bound(
        row.runs.begin(), row.runs.end(), c,
        [](std::size_t column, const ColourRun& run) { return column < run.start; });
    return after - 1;
}

Cell Screen::cell(std::int32_t r, std::int32_t c) const {
    if (r < 0 || r >= rows_) return {};
    const Row& rw = row(r);
    if (c >= 0 && static_cast<std::size_t>(c) < rw.text.size()) {
        const auto at = static_cast<std::size_t>(c);
        return {rw.text[at], run_at(rw, at)->attribute};
    }
    return {' ', fill_of(rw)};
}

std::string_view Screen::row_text(std::int32_t r) const {
    if (r < 0 || r >= rows_) return {};
    const Row& rw = row(r);
    return {rw.text.data(), rw.text.size()};
}

void Screen::paint(Row& row, std::size_t from, std::size_t to, Attribute attribute) {
    std::vector<ColourRun>& runs = row.runs;
    const std::size_t length = row.text.size();
    // Most text goes on at the end of the row, in the last run's colour or a new one.
    if (runs.empty() || (from > runs.back().start && to >= length)) {
        if (!runs.empty() && runs.back().attribute == attribute) return;
        // A row's first runs fit malloc's smallest piece: take them at once.
        if (runs.capacity() == 0) runs.reserve(kFirstRuns);
        runs.push_back({static_cast<std::uint16_t>(from), attribute});
        return;
    }
    // Runs starting within from .. to go; the colour at `to` resumes there.
    const auto first = std::lower_bound(
        runs.begin(), runs.end(), from,
        [](const ColourRun& run, std::size_t column) { return run.start < column; });
    const auto after = std::upper_bound(
        first, runs.end(), to,
        [](std::size_t column, const ColourRun& run) { return column < run.start; });
    const Attribute resumed = (after - 1)->attribute;
    auto at = runs.erase(first, after);
    if (at == runs.begin() || (at - 1)->attribute != attribute) {
        at = runs.insert(at, {static_cast<std::uint16_t>(from), attribute}) + 1;
    }
    if (to < length && resumed != attribute) {
        runs.insert(at, {static_cast<std::uint16_t>(to), resumed});
    }
}

void Screen::grow(Row& row, std::size_t start, std::size_t end) {
    std::vector<char>& text = row.text;
    // Grown by half rather than doubled: a full screen of rows that each kept
    // twice their text was most of the program's memory.
    if (text.capacity() < end)
        text.reserve(std::max({end, text.capacity() + text.capacity() / 2, kFirstCells}));
    if (text.size() < start) {
        // Cells a move skipped are blanks in the row's own colour.
        paint(row, text.size(), start, fill_of(row));
        text.resize(start, ' ');
    }
}

void Screen::put(std::string_view bytes) {
    if (bytes.empty()) return;
    Row& rw = row(cursor_row_);
    if (!rw.listed) {
        used_.push_back(physical(cursor_row_));
        rw.listed = true;
    }
    const auto start = static_cast<std::size_t>(cursor_column_);
    const std::size_t end = start + bytes.size();
    std::vector<char>& text = rw.text;
    if (text.capacity() < end || text.size() < start) grow(rw, start, end);
    const Attribute colours = attribute();
    std::vector<ColourRun>& runs = rw.runs;
    if (start == text.size() && !runs.empty()) {
        // The common case: more text at the end of the row, in the colours of
        // its last run or a new one.
        if (runs.back().attribute != colours) {
            runs.push_back({static_cast<std::uint16_t>(start), colours});
        }
        text.insert(text.end(), bytes.begin(), bytes.end());
    } else {
        paint(rw, start, end, colours);
        const std::size_t overwritten = std::min(bytes.size(), text.size() - start);
        std::copy_n(bytes.data(), overwritten, text.data() + start);
        text.insert(text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(overwritten),
                    bytes.end());
    }
    cursor_column_ += static_cast<std::int32_t>(bytes.size());
}

void Screen::set_cursor(std::int32_t row, std::int32_t column) {
    cursor_row_ = row;
    cursor_column_ = column;
}

void Screen::scroll_up() {
    // The top row's storage becomes the new bottom row, blank in the current colours.
    Row& recycled = ring_[top_];
    recycled.text.clear();
    recycled.runs.clear();
    recycled.own_fill = true;
    recycled.fill = attribute();
    if (!recycled.listed) {
        used_.push_back(top_);
        recycled.listed = true;
    }
    top_ = (top_ + 1) % ring_.size();
}

void Screen::set_colors(std::int32_t foreground, std::int32_t background) {
    foreground_ = foreground;
    background_ = background;
}

}  // namespace cp
