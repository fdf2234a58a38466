#include "console/screen.hpp"

#include <algorithm>

namespace cp {

Screen::Screen(std::int32_t columns, std::int32_t rows) : columns_(columns), rows_(rows) {
    ring_.resize(static_cast<std::size_t>(rows));
}

void Screen::resize(std::int32_t columns, std::int32_t rows) {
    columns_ = columns;
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

std::int32_t Screen::row_length(std::int32_t r) const {
    if (r < 0 || r >= rows_) return 0;
    return static_cast<std::int32_t>(row(r).cells.size());
}

Cell Screen::cell(std::int32_t r, std::int32_t c) const {
    if (r < 0 || r >= rows_) return {};
    const Row& rw = row(r);
    if (c >= 0 && static_cast<std::size_t>(c) < rw.cells.size())
        return rw.cells[static_cast<std::size_t>(c)];
    return {' ', fill_of(rw)};
}

std::string Screen::row_text(std::int32_t r) const {
    std::string text;
    if (r < 0 || r >= rows_) return text;
    const Row& rw = row(r);
    text.reserve(rw.cells.size());
    for (const Cell& cell : rw.cells) text.push_back(cell.ch);
    return text;
}

std::span<const Cell> Screen::row_cells(std::int32_t r) const {
    if (r < 0 || r >= rows_) return {};
    return row(r).cells;
}

void Screen::put(std::string_view bytes) {
    Row& rw = row(cursor_row_);
    if (!rw.listed) {
        used_.push_back(physical(cursor_row_));
        rw.listed = true;
    }
    const auto start = static_cast<std::size_t>(cursor_column_);
    const std::size_t end = start + bytes.size();
    // Grown by half rather than doubled: a full screen of rows that each kept
    // twice their text was most of the program's memory.
    if (rw.cells.capacity() < end)
        rw.cells.reserve(std::max(end, rw.cells.capacity() + rw.cells.capacity() / 2));
    if (rw.cells.size() < end) rw.cells.resize(end, Cell{' ', fill_of(rw)});
    const Attribute attr = attribute();
    for (std::size_t i = 0; i < bytes.size(); ++i) rw.cells[start + i] = Cell{bytes[i], attr};
    cursor_column_ += static_cast<std::int32_t>(bytes.size());
}

void Screen::set_cursor(std::int32_t row, std::int32_t column) {
    cursor_row_ = row;
    cursor_column_ = column;
}

void Screen::scroll_up() {
    // The top row's storage becomes the new bottom row, blank in the current colours.
    Row& recycled = ring_[top_];
    recycled.cells.clear();
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
