#pragma once
// Draws the 900-column logical screen on a terminal of any width, as text with
// ANSI colours and cursor moves. The terminal wraps long rows itself; the
// renderer knows its width and how many terminal lines each recent row takes,
// so that a move within a row, two rows up, or to the next row after an
// overwritten longer row lands on the right cell. Cursor moves are made only
// when text is drawn or the cursor must be shown, and only relative ones: the
// terminal's own line count above the program's output is never needed.
// A terminal that rewraps its rows on resize joins only the lines its own
// wrap made, and a line feed onto such a line parts it from the row above
// (xterm.js does so): the lines within a row are reached by the wrap, never by
// a line feed, so that every row stays whole whenever the terminal is resized.
// Text is drawn a row at a time: the cells a row's texts changed are drawn
// from the screen, colour run by colour run, when the cursor leaves the row or
// the output must be out, so a row costs one move and one pass over its bytes
// however many texts and colours made it.
// Pure: it produces bytes and touches no file; TtyOutput writes them.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "console/byte_buffer.hpp"
#include "console/screen.hpp"
#include "console/terminal.hpp"

namespace cp {

class TtyRenderer {
  public:
    // Without colours no colour code is ever sent: the terminal's own colours stay.
    explicit TtyRenderer(std::int32_t width = 80, bool colours = true) : colours_(colours) {
        set_width(width);
    }

    // A new terminal width; rows already drawn are taken as rewrapped by the terminal.
    void set_width(std::int32_t width);
    std::int32_t width() const { return width_; }

    // `bytes` now stand in row `row` of `screen` from `column` on; the screen
    // outlives the drawing of them.
    void text(const Screen& screen, std::int32_t row, std::int32_t column, std::string_view bytes) {
        const std::int32_t end = column + static_cast<std::int32_t>(bytes.size());
        if (changed_screen_ == &screen && changed_row_ == row) {
            changed_from_ = std::min(changed_from_, column);
            changed_to_ = std::max(changed_to_, end);
        } else if (!bytes.empty()) {
            note_first_change(screen, row, column, end);
        }
        target_row_ = row;
        target_column_ = end;
    }
    void row_left(std::int32_t row, RowExit how);
    void scrolled();
    void moved(const Screen& screen);
    void cleared(const Screen& screen);
    void beep() {
        draw_changes();
        out_.push_back('\a');
    }

    // Draws the cells changed since the last drawing.
    void draw_changes();
    bool has_changes() const { return changed_screen_ != nullptr; }
    // Shows the terminal's cursor where the screen's cursor is, with everything drawn.
    void place_cursor();
    // The terminal's colours are unknown: they are sent again with the next text.
    void forget_colours() { attribute_ = -1; }
    // The terminal's cursor stands at the start of a line of its own (after a
    // resume from the shell): the cursor row and the two above it are drawn again there.
    void redraw_recent(const Screen& screen);
    // The end: colours back to the terminal's own, the cursor on a line below
    // everything drawn.
    void finish();

    // Bytes for the terminal, in order; the caller writes and clears them.
    ByteBuffer& output() { return out_; }

  private:
    struct Place {
        std::int32_t row = 0;   // logical row
        std::int32_t line = 0;  // terminal line within that row
        std::int32_t x = 0;     // terminal column
    };

    std::int32_t lines_of(std::int32_t extent) const {
        return extent <= 0 ? 1 : (extent + width_ - 1) / width_;
    }
    // A row keeps its slot in the ring while scrolls change its number.
    std::size_t slot(std::int32_t row) const {
        return (static_cast<std::uint32_t>(row) + scrolls_) % kRingRows;
    }
    std::int32_t extent(std::int32_t row) const {
        return row < first_row_ || row > frontier_ ? 0 : extents_[slot(row)];
    }
    void set_extent(std::int32_t row, std::int32_t extent) { extents_[slot(row)] = extent; }
    // Takes row in among the tracked rows (new ones hold nothing drawn).
    void track(std::int32_t row);
    // Forgets every row but `row`, which holds nothing drawn.
    void track_only(std::int32_t row);
    // No row below this one holds drawn text.
    bool blank_below(std::int32_t row) const;
    // Terminal lines from line a_line of row a to line b_line of row b.
    std::int32_t lines_between(std::int32_t a, std::int32_t a_line, std::int32_t b,
                               std::int32_t b_line) const;
    void move_to(std::int32_t row, std::int32_t column);
    // The rare moves: down over lines the wrap made, onto lines a row has not
    // yet, or after a resize. Line feeds go only onto a row's first line.
    void walk_to(Place to);
    // Onto the line that starts at cell `start` of row, from the line above,
    // by the terminal's wrap: cells start-1 .. end-1 drawn again as the screen
    // has them (end is start, to stand in the last column with the wrap to come).
    void wrap_onto(std::int32_t row, std::int32_t start, std::int32_t end);
    // The cursor after drawing a row up to (not including) column end.
    void stand_after(std::int32_t row, std::int32_t end);
    void repaint_from(const Screen& screen, std::int32_t row);
    // Text in a row with no changes noted yet (after drawing any others).
    void note_first_change(const Screen& screen, std::int32_t row, std::int32_t from,
                           std::int32_t to);
    void set_attribute(Attribute attribute);
    // The colour change to attribute at p, if any (room for an SGR sequence); returns the end.
    char* put_attribute(char* p, Attribute attribute);
    // ESC [ n and the final character.
    void put_csi(std::int32_t n, char final);
    void paint_rest_of_line();
    // Appends bytes standing from `column` on; from terminal line
    // first_new_line on, a line's first character also paints the rest of it.
    void put_cells(std::string_view bytes, std::int32_t column, std::int32_t first_new_line);

    ByteBuffer out_;
    std::int32_t width_ = 80;

    // Cells drawn in each recent row, from first_row_ to the furthest row drawn
    // or reached (the frontier), in a ring. Logical row numbers, shifted by
    // each scroll; rows above the logical screen stay until they are far
    // enough up.
    static constexpr std::int32_t kRingRows = 2048;
    std::array<std::int32_t, kRingRows> extents_{};
    std::int32_t first_row_ = 0;
    std::int32_t frontier_ = 0;
    std::uint32_t scrolls_ = 0;

    const Screen* screen_ = nullptr;  // the screen last drawn or cleared
    Place cursor_;                    // the terminal's cursor
    bool wrap_pending_ = false;       // it stands in the last column with the wrap still to come
    bool cursor_unsure_ = false;      // after a resize: always move before drawing
    std::int32_t target_row_ = 0;     // the screen's cursor
    std::int32_t target_column_ = 0;
    // Cells changed_from_ .. changed_to_-1 of changed_row_ are not drawn yet
    // (none while changed_screen_ is null).
    const Screen* changed_screen_ = nullptr;
    std::int32_t changed_row_ = 0;
    std::int32_t changed_from_ = 0;
    std::int32_t changed_to_ = 0;
    std::int32_t attribute_ = -1;  // colours the terminal has; -1 unknown
    bool colours_ = true;
};

// Console colours count blue, green, red from bit 0; ANSI counts red, green,
// blue. The swap is its own inverse: it maps either way.
constexpr int swap_red_blue(int colour) {
    return ((colour & 1) << 2) | (colour & 2) | ((colour & 4) >> 2);
}

// SGR sequence for a console attribute (background * 16 + foreground).
std::string sgr_for(Attribute attribute);

}  // namespace cp
