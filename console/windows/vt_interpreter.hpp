#pragma once
// Carries out the shared terminal renderer's output on a console screen
// buffer through the console's own functions. The renderer speaks a small
// part of VT (text, CR, LF, BEL, cursor up, column, erase line, erase below,
// clear, colours); not every console host understands VT, and every host
// carries out the console functions, in a window, a pseudo-console or Wine.
// The buffer behaves as a VT terminal of its size: the wrap in the last
// column waits for the next character, and a line feed in the bottom row
// scrolls.
#include <cstdint>
#include <string>
#include <string_view>

namespace cp {

// The console functions the interpreter needs, at buffer coordinates.
class ConsoleCells {
  public:
    virtual ~ConsoleCells() = default;
    // Characters from (x, y) on, all within the row.
    virtual void put(std::int32_t x, std::int32_t y, std::wstring_view text,
                     std::uint16_t attribute) = 0;
    // count blanks from (x, y) on, running on into the rows below.
    virtual void fill(std::int32_t x, std::int32_t y, std::int64_t count,
                      std::uint16_t attribute) = 0;
    // The whole buffer moves up a row; the new bottom row is blank in attribute.
    virtual void scroll_up(std::uint16_t attribute) = 0;
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
    void put_pending();
    void note_row(std::int32_t y);

    ConsoleCells& cells_;
    std::int32_t width_;
    std::int32_t height_;
    std::uint16_t default_attribute_;
    std::uint16_t attribute_;
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
    bool wrap_pending_ = false;
    // Rows below this one are blank: erasing below stops here instead of
    // filling all of a buffer of 16,000 rows. Unknown (the whole buffer) at first.
    std::int32_t lowest_used_;
    // Characters waiting to be put in one call, from run_x_ in row y_.
    std::wstring run_;
    std::int32_t run_x_ = 0;
};

}  // namespace cp
