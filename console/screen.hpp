#pragma once
// The logical screen of the program: cells with text and colour, the cursor and
// the pending wrap. Every answer about the cursor comes from here, never from
// the terminal. Rows live in a ring and hold only the cells written so far (in
// storage taken 64 rows at a time, as they are first written), so a scroll
// costs one row and an empty 900 x 16,000 screen almost nothing.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
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
        return r < 0 || r >= rows_ ? 0 : row(r).length;
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
    void put(std::string_view bytes) {
        if (bytes.empty()) return;
        Row& rw = row(cursor_row_);
        if (!rw.listed) list(rw);
        const auto start = static_cast<std::size_t>(cursor_column_);
        const std::size_t end = start + bytes.size();
        cursor_column_ = static_cast<std::int32_t>(end);
        // The quick way: more text at the end of the row, within its room.
        if (start == rw.length && end <= rw.capacity) {
            put_at_end(rw, bytes, start);
        } else if (start > rw.length && end <= rw.capacity) {
            blank_to(rw, start);
            put_at_end(rw, bytes, start);
        } else {
            put_slowly(rw, bytes, start);
        }
    }
    void set_cursor(std::int32_t row, std::int32_t column) {
        cursor_row_ = row;
        cursor_column_ = column;
    }
    void set_wrap_pending(bool pending) { wrap_pending_ = pending; }
    void scroll_up();
    void set_colors(std::int32_t foreground, std::int32_t background) {
        foreground_ = foreground;
        background_ = background;
    }

    // Rows that hold any cells (for memory figures).
    std::size_t rows_in_use() const { return used_.size(); }

  private:
    // A row's colour runs, from column 0 on, each a colour other than the one
    // before: most rows have one to four, kept in the row itself; more go to
    // storage of their own.
    class Runs {
      public:
        std::size_t size() const { return size_; }
        bool empty() const { return size_ == 0; }
        const ColourRun* begin() const { return data(); }
        const ColourRun* end() const { return data() + size_; }
        const ColourRun& back() const { return data()[size_ - 1]; }
        void clear() { size_ = 0; }
        void push_back(ColourRun run) {
            if (size_ == capacity_) grow();
            data()[size_++] = run;
        }
        // Runs first .. last-1 give way to `with`.
        void replace(std::size_t first, std::size_t last, std::span<const ColourRun> with);

      private:
        static constexpr std::uint16_t kInside = 4;
        ColourRun* data() { return outside_ ? outside_.get() : inside_.data(); }
        const ColourRun* data() const { return outside_ ? outside_.get() : inside_.data(); }
        void grow();

        std::array<ColourRun, kInside> inside_{};
        std::unique_ptr<ColourRun[]> outside_;
        std::uint16_t size_ = 0;
        std::uint16_t capacity_ = kInside;
    };

    // A row keeps its bytes and its colours apart: text goes in and out as
    // whole runs of bytes, and a row of a few colours costs a few runs. The
    // bytes are written in place: in the row's slot in a block shared with
    // its neighbours in the ring, or, once they outgrow it, in storage of
    // the row's own.
    struct Row {
        char* text = nullptr;  // capacity bytes, the first `length` written
        std::unique_ptr<char[]> own;
        Runs runs;
        std::uint16_t length = 0;
        std::uint16_t capacity = 0;
        Attribute fill = 0;
        bool own_fill = false;  // false: blank cells take the screen's clear colour
        bool listed = false;    // in used_
    };
    Row& row(std::int32_t r) { return ring_[physical(r)]; }
    const Row& row(std::int32_t r) const { return ring_[physical(r)]; }
    // r is within the screen: the sum wraps at most once.
    std::size_t physical(std::int32_t r) const {
        const std::size_t p = top_ + static_cast<std::size_t>(r);
        const auto size = static_cast<std::size_t>(rows_);  // the ring's size
        return p < size ? p : p - size;
    }
    Attribute fill_of(const Row& row) const { return row.own_fill ? row.fill : clear_fill_; }
    // Colours cells from .. to-1 of the row (from within its length) in attribute.
    static void paint(Row& row, std::size_t from, std::size_t to, Attribute attribute);
    // Room for cells up to `end` in the cursor row.
    void make_room(Row& row, std::size_t end);
    // Puts bytes from `start` on where the quick way of put does not serve:
    // over cells already written, or past the row's room.
    void put_slowly(Row& row, std::string_view bytes, std::size_t start);
    // Bytes at the row's end, within its room, in the colours of its last
    // run or a new one.
    void put_at_end(Row& row, std::string_view bytes, std::size_t start) {
        const Attribute colours = attribute();
        if (row.runs.empty() || row.runs.back().attribute != colours) {
            row.runs.push_back({static_cast<std::uint16_t>(start), colours});
        }
        std::memcpy(row.text + start, bytes.data(), bytes.size());
        row.length = static_cast<std::uint16_t>(start + bytes.size());
    }
    // Cells a move skipped, up to `start` (within the row's room): blanks in
    // the row's own colour.
    void blank_to(Row& row, std::size_t start);
    // The row is among those that hold cells.
    void list(Row& row);
    // The run that colours cell c of the row (c within its length).
    static const ColourRun* run_at(const Row& row, std::size_t c);

    std::int32_t columns_;
    std::int32_t rows_;
    std::vector<Row> ring_;
    // Slots of kFirstCells bytes for kRowsPerBlock rows of the ring each,
    // allocated as the rows are first written.
    static constexpr std::size_t kRowsPerBlock = 64;
    std::vector<std::unique_ptr<char[]>> blocks_;
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
    const std::size_t end =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(to, 0)), rw.length);
    std::size_t at = static_cast<std::size_t>(std::max(from, 0));
    if (at >= end) return;
    for (const ColourRun* run = run_at(rw, at); at < end; ++run) {
        const ColourRun* next = run + 1;
        const std::size_t stop =
            next == rw.runs.end() ? end : std::min<std::size_t>(next->start, end);
        f(std::string_view(rw.text + at, stop - at), run->attribute);
        at = stop;
    }
}

}  // namespace cp
