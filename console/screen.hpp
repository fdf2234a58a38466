#pragma once
// The logical screen of the program: cells with text and colour, the cursor and
// the pending wrap. Every answer about the cursor comes from here, never from
// the terminal. Rows live in a ring and hold only the cells written so far, so a
// scroll costs one row and an empty 900 x 16,000 screen almost nothing.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cp {

// background * 16 + foreground, as the console stores it.
using Attribute = std::uint8_t;

struct Cell {
    char ch = ' ';
    Attribute attribute = 0x07;
};

class Screen {
  public:
    Screen(std::int32_t columns = 80, std::int32_t rows = 25);

    std::int32_t columns() const { return columns_; }
    std::int32_t rows() const { return rows_; }
    // 0-based model cursor; while a wrap is pending it stands in column 0 of the bottom row.
    std::int32_t cursor_row() const { return cursor_row_; }
    std::int32_t cursor_column() const { return cursor_column_; }
    bool wrap_pending() const { return wrap_pending_; }
    std::int32_t foreground() const { return foreground_; }
    std::int32_t background() const { return background_; }
    Attribute attribute() const { return static_cast<Attribute>(background_ * 16 + foreground_); }

    // Cells of row r (0-based) written since it was last cleared: the row's
    // length is one past its rightmost written cell.
    std::int32_t row_length(std::int32_t r) const;
    Cell cell(std::int32_t r, std::int32_t c) const;
    std::string row_text(std::int32_t r) const;  // bytes 0 .. row_length-1
    // The same cells at once, for drawing a whole row without a lookup per cell.
    std::span<const Cell> row_cells(std::int32_t r) const;

    // Model operations, used by Console.
    void resize(std::int32_t columns, std::int32_t rows);  // clears
    void clear();
    // Puts bytes into the cursor row from the cursor column on; they must fit
    // the row (the caller splits at the row end). Advances the cursor column.
    void put(std::string_view bytes);
    void set_cursor(std::int32_t row, std::int32_t column);
    void set_wrap_pending(bool pending) { wrap_pending_ = pending; }
    void scroll_up();
    void set_colors(std::int32_t foreground, std::int32_t background);

    // Rows that hold any cells (for memory figures).
    std::size_t rows_in_use() const { return used_.size(); }

  private:
    struct Row {
        std::vector<Cell> cells;
        Attribute fill = 0;
        bool own_fill = false;  // false: blank cells take the screen's clear colour
        bool listed = false;    // in used_
    };
    Row& row(std::int32_t r) { return ring_[physical(r)]; }
    const Row& row(std::int32_t r) const { return ring_[physical(r)]; }
    std::size_t physical(std::int32_t r) const {
        return (top_ + static_cast<std::size_t>(r)) % ring_.size();
    }
    Attribute fill_of(const Row& row) const { return row.own_fill ? row.fill : clear_fill_; }

    std::int32_t columns_;
    std::int32_t rows_;
    std::vector<Row> ring_;
    std::size_t top_ = 0;
    std::vector<std::size_t> used_;  // physical rows that may hold cells
    Attribute clear_fill_ = 0x07;
    std::int32_t cursor_row_ = 0;
    std::int32_t cursor_column_ = 0;
    bool wrap_pending_ = false;
    std::int32_t foreground_ = 7;
    std::int32_t background_ = 0;
};

}  // namespace cp
