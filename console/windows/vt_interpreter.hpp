#pragma once
// Carries out the shared terminal renderer's output on a console screen
// buffer through the console's own functions. The renderer speaks a small
// part of VT (text, CR, LF, BEL, cursor up, column, erase line, erase below,
// clear, colours); not every console host understands VT, and every host
// carries out the console functions, in a window, a pseudo-console or Wine.
// The buffer behaves as a VT terminal of its size: the wrap in the last
// column waits for the next character, and a line feed in the bottom row
// scrolls.
//
// Each console call costs a round trip to the host (about a millisecond in
// Wine's console), so a piece of output is first carried out on a frame, a
// copy of the rows it touches, and then reaches the console in a few calls:
// the new rows at the bottom as one scroll, the changed cells as one block,
// and one cursor move.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace cp {

// A cell as the console stores it: a UTF-16 character and its attribute.
struct ConsoleCell {
    wchar_t ch = L' ';
    std::uint16_t attribute = 0;
    bool operator==(const ConsoleCell&) const = default;
};

// width x height cells in rows of `stride` cells, starting at `cells`.
struct CellBlock {
    const ConsoleCell* cells = nullptr;
    std::int32_t stride = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The console functions the interpreter needs, at buffer coordinates.
class ConsoleCells {
  public:
    virtual ~ConsoleCells() = default;
    // Puts the block with its top left cell at (x, y). False if the host
    // refused it (some limit what one call may carry): it is then put in pieces.
    virtual bool put(std::int32_t x, std::int32_t y, const CellBlock& block) = 0;
    // The cells of whole rows first_row .. first_row + rows - 1, row after
    // row; false if the host cannot say.
    virtual bool get_rows(std::int32_t first_row, std::int32_t rows,
                          std::span<ConsoleCell> cells) = 0;
    // count blanks from (x, y) on, running on into the rows below.
    virtual void fill(std::int32_t x, std::int32_t y, std::int64_t count,
                      std::uint16_t attribute) = 0;
    // The whole buffer moves up `rows` rows; the new rows at the bottom (the
    // last is `bottom`) are blank.
    virtual void scroll_up(std::int32_t bottom, std::int32_t rows, std::uint16_t attribute) = 0;
    virtual void bell() = 0;
    virtual void show_cursor_at(std::int32_t x, std::int32_t y) = 0;
};

class VtInterpreter {
  public:
    // default_attribute: the colours that "reset" brings back (the console's own).
    VtInterpreter(ConsoleCells& cells, std::int32_t width, std::int32_t height,
                  std::uint16_t default_attribute);

    // A buffer of another size; the cursor is where the host now has it.
    void resize(std::int32_t width, std::int32_t height, std::int32_t cursor_x,
                std::int32_t cursor_y);
    // Carries out bytes, which end on whole characters and sequences (the
    // renderer hands over nothing less), and shows the cursor.
    void run(std::string_view bytes);

  private:
    std::size_t sequence(std::string_view bytes, std::size_t at);
    void colours(std::string_view parameters);
    void line_feed();
    void glyph(char32_t code_point);
    void erase_below(std::int64_t from_cell);

    // The frame: rows frame_top_ .. of the buffer as they now stand, one
    // after the other in frame_, with the changed columns dirty_left_ ..
    // dirty_right_ - 1; the console has them as they stood `scrolls_` line
    // feeds ago.
    std::int32_t frame_rows() const {
        return static_cast<std::int32_t>(frame_.size() / static_cast<std::size_t>(width_));
    }
    // The cell at (x, y) in the frame, taking the row in first.
    ConsoleCell& cell(std::int32_t x, std::int32_t y);
    void take_rows(std::int32_t first, std::int32_t last, std::vector<ConsoleCell>::iterator at);
    void mark_dirty(std::int32_t left, std::int32_t right);
    // Hands the frame to the console: the scroll, then the changed cells.
    void commit();
    // False once the host has refused a single cell.
    bool put_block(std::int32_t x, std::int32_t y, const CellBlock& block);

    ConsoleCells& cells_;
    std::int32_t width_;
    std::int32_t height_;
    std::uint16_t default_attribute_;
    std::uint16_t attribute_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    bool wrap_pending_ = false;
    // Rows below this one are blank in blank_attribute_: erasing below stops
    // here instead of filling all of a buffer of 16,000 rows, and they are
    // known without asking the console. Unknown (the whole buffer) at first.
    std::int32_t lowest_used_;
    std::uint16_t blank_attribute_;

    std::vector<ConsoleCell> frame_;
    std::int32_t frame_top_ = 0;
    std::int32_t dirty_left_ = 0;
    std::int32_t dirty_right_ = 0;
    std::int32_t scrolls_ = 0;
    std::int32_t shown_x_ = -1;  // where the console shows the cursor
    std::int32_t shown_y_ = -1;
};

}  // namespace cp
