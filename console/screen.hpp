#pragma once
// The logical screen of the program: cells with text and colour, the cursor and
// the pending wrap. Every answer about the cursor comes from here, never from
// the terminal. Rows live in a ring and hold only the cells written so far, so a
// scroll costs one row and an empty 900 x 16,000 screen almost nothing.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace cp {

// background * 16 + foreground, as the console stores it.
using Attribute = std::uint8_t;

struct Cell {
    char ch = ' ';
    Attribute attribute = 0x07;
};

// The cells of a row from `start` on, up to the next run, share one colour.
struct ColourRun {
    std::uint16_t start = 0;
    Attribute attribute = 0x07;
};

class Screen {
  public:
    // Columns are counted in 16 bits, as the console counts them.
    static constexpr std::int32_t kMaxColumns = 65535;

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
    std::int32_t row_length(std::int32_t r) const {
        return r < 0 || r >= rows_ ? 0 : static_cast<std::int32_t>(row(r).text.size());
    }
    Cell cell(std::int32_t r, std::int32_t c) const;
    // The bytes of cells 0 .. row_length-1, valid until the row changes.
    std::string_view row_text(std::int32_t r) const;
    // Calls f(bytes, attribute) for each run of one colour among the cells
    // from .. to-1 of row r (within its length), left to right.
    template <typename F>
    void for_each_run(std::int32_t r, std::int32_t from, std::int32_t to, F&& f) const;

    // Model operations, used by Console.
    void resize(std::int32_t columns, std::int32_t rows);  // clears
    void clear();
    // Puts bytes into the cursor row from the cursor column on, in the current
    // colours, in one step; they must fit the row (the caller splits at the
    // row end). Advances the cursor column.
    void put(std::string_view bytes);
    void set_cursor(std::int32_t row, std::int32_t column);
    void set_wrap_pending(bool pending) { wrap_pending_ = pending; }
    void scroll_up();
    void set_colors(std::int32_t foreground, std::int32_t background);

    // Rows that hold any cells (for memory figures).
    std::size_t rows_in_use() const { return used_.size(); }

  private:
    // A row keeps its bytes and its colours apart: text goes in and out as
    // whole runs of bytes, and a row of a few colours costs a few runs.
    struct Row {
        std::vector<char> text;
        std::vector<ColourRun> runs;  // from column 0, each a colour other than the last
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
    // Colours cells from .. to-1 of the row (from within its length) in attribute.
    static void paint(Row& row, std::size_t from, std::size_t to, Attribute attribute);
    // Room for cells up to `end`, and blanks up to `start`.
    void grow(Row& row, std::size_t start, std::size_t end);
    // The run that colours cell c of the row (c within its length).
    static std::vector<ColourRun>::const_iterator run_at(const Row& row, std::size_t c);

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

template <typename F>
void Screen::for_each_run(std::int32_t r, std::int32_t from, std::int32_t to, F&& f) const {
    if (r < 0 || r >= rows_) return;
    const Row& rw = row(r);
    const std::size_t end = std::min(static_cast<std::size_t>(std::max(to, 0)), rw.text.size());
    std::size_t at = static_cast<std::size_t>(std::max(from, 0));
    if (at >= end) return;
    for (auto run = run_at(rw, at); at < end; ++run) {
        const auto next = run + 1;
        const std::size_t stop =
            next == rw.runs.end() ? end : std::min<std::size_t>(next->start, end);
        f(std::string_view(rw.text.data() + at, stop - at), run->attribute);
        at = stop;
    }
}

}  // namespace cp
