#include "console/tty_renderer.hpp"

#include <algorithm>
#include <array>
#include <cstring>

#include "console/cp437.hpp"
#include "console/numbers/decimal_writer.hpp"

namespace cp {

namespace {
// Rows kept in view above the frontier: more than any terminal shows.
constexpr std::int32_t kTrackedRows = 1024;

constexpr std::string_view kClearScreen = "\x1b[H\x1b[2J\x1b[3J";
constexpr std::string_view kEraseBelow = "\x1b[J";
constexpr std::string_view kEraseLine = "\x1b[K";
constexpr std::string_view kResetColours = "\x1b[0m";

// ESC [, ten digits and the final character.
constexpr std::size_t kCsiRoom = 16;

char* put_decimal(char* p, std::uint32_t n) {
    p += detail::decimal_length(n);
    detail::write_decimal_backward(p, n);
    return p;
}

// An SGR sequence, at most ESC [ 97 ; 107 m.
struct Sgr {
    std::array<char, 11> bytes{};
    std::uint8_t size = 0;
};
constexpr std::size_t kSgrRoom = sizeof(Sgr::bytes);

constexpr Sgr make_sgr(Attribute attribute, bool with_background) {
    const int fg = attribute & 0x0F;
    const int bg = (attribute >> 4) & 0x0F;
    Sgr sgr;
    auto put = [&sgr](int n) {
        if (n >= 100) sgr.bytes[sgr.size++] = static_cast<char>('0' + n / 100);
        sgr.bytes[sgr.size++] = static_cast<char>('0' + n / 10 % 10);
        sgr.bytes[sgr.size++] = static_cast<char>('0' + n % 10);
    };
    sgr.bytes[sgr.size++] = '\x1b';
    sgr.bytes[sgr.size++] = '[';
    put(((fg & 8) ? 90 : 30) + swap_red_blue(fg));
    if (with_background) {
        sgr.bytes[sgr.size++] = ';';
        put(((bg & 8) ? 100 : 40) + swap_red_blue(bg));
    }
    sgr.bytes[sgr.size++] = 'm';
    return sgr;
}

// Every attribute's sequence, without and with its background.
constexpr std::array<std::array<Sgr, 256>, 2> kSgrs = [] {
    std::array<std::array<Sgr, 256>, 2> sgrs{};
    for (int a = 0; a < 256; ++a) {
        sgrs[0][static_cast<std::size_t>(a)] = make_sgr(static_cast<Attribute>(a), false);
        sgrs[1][static_cast<std::size_t>(a)] = make_sgr(static_cast<Attribute>(a), true);
    }
    return sgrs;
}();

// The background is left out when the terminal already has it: a highlighted
// number in a row costs two colour changes, and most of them only change the
// foreground.
const Sgr& sgr_after(Attribute attribute, std::int32_t previous) {
    const bool background = previous < 0 || ((previous ^ attribute) & 0xF0) != 0;
    return kSgrs[background ? 1 : 0][attribute];
}
}  // namespace

std::string sgr_for(Attribute attribute) {
    const Sgr& sgr = sgr_after(attribute, -1);
    return {sgr.bytes.data(), sgr.size};
}

void TtyRenderer::set_width(std::int32_t width) {
    if (width < 1) width = 80;
    if (width == width_) return;
    // Where the cursor stands, counted in cells of its row, stays where it is.
    const std::int32_t cell = cursor_.line * width_ + cursor_.x + (wrap_pending_ ? 1 : 0);
    width_ = width;
    stand_after(cursor_.row, cell);
    cursor_unsure_ = true;
}

void TtyRenderer::track(std::int32_t row) {
    // The ring holds kRingRows rows: a move further than that from the tracked
    // rows (which the program never makes) forgets those at the other end.
    if (row == frontier_ + 1) {
        // The next row: the common case.
        frontier_ = row;
        set_extent(row, 0);
        first_row_ = std::max(first_row_, frontier_ - (kRingRows - 1));
    } else if (row > frontier_) {
        for (std::int32_t r = std::max(frontier_ + 1, row - (kRingRows - 1)); r <= row; ++r)
            set_extent(r, 0);
        frontier_ = row;
        first_row_ = std::max(first_row_, frontier_ - (kRingRows - 1));
    } else if (row < first_row_) {
        for (std::int32_t r = row; r <= std::min(first_row_ - 1, row + (kRingRows - 1)); ++r)
            set_extent(r, 0);
        first_row_ = row;
        frontier_ = std::min(frontier_, first_row_ + (kRingRows - 1));
    }
    // Rows far enough up are let go, but never the cursor's row or this one.
    if (frontier_ - first_row_ >= kTrackedRows) {
        first_row_ =
            std::max(first_row_, std::min({cursor_.row, row, frontier_ - (kTrackedRows - 1)}));
    }
}

void TtyRenderer::track_only(std::int32_t row) {
    first_row_ = row;
    frontier_ = row;
    set_extent(row, 0);
}

bool TtyRenderer::blank_below(std::int32_t row) const {
    for (std::int32_t r = std::max(row + 1, first_row_); r <= frontier_; ++r) {
        if (extent(r) > 0) return false;
    }
    return true;
}

std::int32_t TtyRenderer::lines_between(std::int32_t a, std::int32_t a_line, std::int32_t b,
                                        std::int32_t b_line) const {
    if (a > b) return -lines_between(b, b_line, a, a_line);
    std::int32_t lines = b_line - a_line;
    for (std::int32_t r = a; r < b; ++r) lines += lines_of(extent(r));
    return lines;
}

void TtyRenderer::move_to(std::int32_t row, std::int32_t column) {
    if (!cursor_unsure_ && row == cursor_.row + 1 && column < width_ &&
        cursor_.line + 1 == lines_of(extent(cursor_.row))) {
        // The next row, from the last line of this one: by far the most common move.
        track(row);
        out_.append("\r\n");
        if (column != 0) put_csi(column + 1, 'G');
        cursor_ = {row, 0, column};
        wrap_pending_ = false;
        return;
    }
    const Place to{row, column / width_, column % width_};
    // Text mostly goes on where the last ended.
    if (!cursor_unsure_ && !wrap_pending_ && row == cursor_.row && to.line == cursor_.line &&
        to.x == cursor_.x) {
        return;
    }
    track(row);
    const std::int32_t down = lines_between(cursor_.row, cursor_.line, to.row, to.line);
    if (!cursor_unsure_) {
        if (!wrap_pending_ && down == 0 && cursor_.x == to.x) {
            cursor_ = to;
            return;
        }
        // Within a row the terminal's own wrap takes the next character on. A
        // new row always starts with a line break of its own, so that a
        // terminal that rewraps on resize keeps the rows apart.
        if (wrap_pending_ && down == 1 && to.x == 0 && to.row == cursor_.row) return;
    }
    // Line feeds serve only where each lands on a row's first line, the cursor
    // standing on its own row's last. Other moves down, moves onto lines a row
    // lacks, and the first move down after a resize take the walk.
    const bool new_line = to.line > 0 && to.line >= lines_of(extent(row));
    if (new_line || (down > 0 && (cursor_unsure_ || to.line > 0 || down != to.row - cursor_.row))) {
        walk_to(to);
        return;
    }
    if (down > 0) {
        const auto lines = static_cast<std::size_t>(down);
        char* p = out_.room(lines + 1);
        *p++ = '\r';
        std::memset(p, '\n', lines);
        out_.commit(p + lines);
    } else if (down < 0) {
        put_csi(-down, 'A');
    }
    if (to.x == 0) {
        if (down <= 0) out_.push_back('\r');
    } else {
        put_csi(to.x + 1, 'G');
    }
    cursor_ = to;
    wrap_pending_ = false;
    cursor_unsure_ = false;
}

void TtyRenderer::walk_to(Place to) {
    // Back on its own row, should a resize have left the cursor below it.
    const std::int32_t own_last = lines_of(extent(cursor_.row)) - 1;
    if (cursor_.line > own_last) {
        put_csi(cursor_.line - own_last, 'A');
        cursor_.line = own_last;
        wrap_pending_ = false;
    }
    // Up to the target row's last line, if the target lies past it.
    const std::int32_t via = std::min(to.line, lines_of(extent(to.row)) - 1);
    const std::int32_t down = lines_between(cursor_.row, cursor_.line, to.row, via);
    if (down < 0) {
        put_csi(-down, 'A');
        cursor_ = {to.row, via, cursor_.x};
        wrap_pending_ = false;
    }
    const auto on_screen = [this](std::int32_t row) {
        return screen_ != nullptr && row >= 0 && row < screen_->rows();
    };
    while (cursor_.row < to.row) {
        const std::int32_t last = lines_of(extent(cursor_.row)) - 1;
        for (std::int32_t line = cursor_.line + 1; line <= last; ++line) {
            if (on_screen(cursor_.row)) {
                wrap_onto(cursor_.row, line * width_, line * width_ + 1);
            } else {
                out_.push_back('\n');  // a row gone from the screen: its text is unknown
                cursor_.line = line;
            }
        }
        out_.append("\r\n");
        cursor_ = {cursor_.row + 1, 0, 0};
        wrap_pending_ = false;
        cursor_unsure_ = false;
    }
    // Down the target's row, making the lines it lacks where nothing stands
    // below it; otherwise the cursor stays on its last line.
    bool pending_there = false;
    for (std::int32_t line = cursor_.line + 1; line <= to.line; ++line) {
        const std::int32_t start = line * width_;
        const std::int32_t end = line == to.line && to.x == 0 ? start : start + 1;
        if (!on_screen(to.row) ||
            (end > start && line >= lines_of(extent(to.row)) && !blank_below(to.row))) {
            break;
        }
        wrap_onto(to.row, start, end);
        pending_there = end == start;
    }
    if (pending_there) return;
    if (cursor_unsure_ || wrap_pending_ || cursor_.x != to.x) {
        if (to.x == 0) {
            out_.push_back('\r');
        } else {
            put_csi(to.x + 1, 'G');
        }
    }
    cursor_ = {to.row, cursor_.line, to.x};
    wrap_pending_ = false;
    cursor_unsure_ = false;
}

void TtyRenderer::wrap_onto(std::int32_t row, std::int32_t start, std::int32_t end) {
    std::int32_t from = start;
    if (cursor_unsure_ || !wrap_pending_) {
        // Not yet in the last column with the wrap to come: its cell is drawn again.
        if (cursor_unsure_ || wrap_pending_ || cursor_.x != width_ - 1) put_csi(width_, 'G');
        from = start - 1;
    }
    const std::int32_t first_new_line = lines_of(extent(row));
    for (std::int32_t column = from; column < end; ++column) {
        const Cell cell = screen_->cell(row, column);
        set_attribute(cell.attribute);
        put_cells(std::string_view(&cell.ch, 1), column, first_new_line);
    }
    set_extent(row, std::max(extent(row), end));
    stand_after(row, end);
    cursor_unsure_ = false;
}

void TtyRenderer::stand_after(std::int32_t row, std::int32_t end) {
    if (end > 0 && end % width_ == 0) {
        cursor_ = {row, end / width_ - 1, width_ - 1};
        wrap_pending_ = true;
    } else {
        cursor_ = {row, end / width_, end % width_};
        wrap_pending_ = false;
    }
}

void TtyRenderer::put_csi(std::int32_t n, char final) {
    char* p = out_.room(kCsiRoom);
    *p++ = '\x1b';
    *p++ = '[';
    p = put_decimal(p, static_cast<std::uint32_t>(n));
    *p++ = final;
    out_.commit(p);
}

void TtyRenderer::paint_rest_of_line() {
    // A line the terminal made by wrapping may take its own default background
    // (tmux does); the row's first character there has just been written, the
    // rest of the line is blank, so it is painted in the current colours.
    if (width_ > 1) out_.append(kEraseLine);
}

char* TtyRenderer::put_attribute(char* p, Attribute attribute) {
    if (!colours_ || attribute_ == attribute) return p;
    const Sgr& sgr = sgr_after(attribute, attribute_);
    std::memcpy(p, sgr.bytes.data(), sizeof sgr.bytes);
    attribute_ = attribute;
    return p + sgr.size;
}

void TtyRenderer::set_attribute(Attribute attribute) {
    out_.commit(put_attribute(out_.room(kSgrRoom), attribute));
}

void TtyRenderer::put_cells(std::string_view bytes, std::int32_t column,
                            std::int32_t first_new_line) {
    // The program never prints control bytes; should one slip through, the
    // terminal shows its code page glyph instead of obeying it.
    for (std::size_t i = 0; i < bytes.size();) {
        const std::int32_t at = column + static_cast<std::int32_t>(i);
        const std::int32_t line = at / width_;
        if (at % width_ == 0 && line > 0 && line >= first_new_line) {
            append_cp437_as_utf8(out_, bytes.substr(i, 1), ControlBytes::Glyphs);
            paint_rest_of_line();
            ++i;
            continue;
        }
        // Up to the first character of the next line to be painted, in one piece.
        const std::int32_t painted = std::max(line + 1, first_new_line) * width_;
        const std::size_t stop = std::min(bytes.size(), static_cast<std::size_t>(painted - column));
        append_cp437_as_utf8(out_, bytes.substr(i, stop - i), ControlBytes::Glyphs);
        i = stop;
    }
}

void TtyRenderer::note_first_change(const Screen& screen, std::int32_t row, std::int32_t from,
                                    std::int32_t to) {
    draw_changes();
    screen_ = &screen;
    changed_screen_ = &screen;
    changed_row_ = row;
    changed_from_ = from;
    changed_to_ = to;
}

void TtyRenderer::draw_changes() {
    if (changed_screen_ == nullptr) return;
    const Screen& screen = *changed_screen_;
    changed_screen_ = nullptr;
    const std::int32_t row = changed_row_;
    const std::int32_t from = changed_from_;
    // Cells between the texts (skipped by a move) are drawn as the screen has them.
    const std::int32_t end = std::min(changed_to_, screen.row_length(row));
    if (from >= end) return;
    const std::int32_t old_extent = extent(row);
    const std::int32_t new_extent = std::max(old_extent, end);
    if (lines_of(new_extent) > lines_of(old_extent) && !blank_below(row)) {
        // The row needs more terminal lines than it has, and text stands below
        // it: the terminal cannot insert lines into a wrapped row, so the row
        // and everything below it are drawn again.
        repaint_from(screen, row);
        return;
    }
    move_to(row, from);
    const std::int32_t first_new_line = lines_of(old_extent);
    const std::int32_t line = from / width_;
    if ((end - 1) / width_ == line && (from % width_ != 0 || line == 0 || line < first_new_line)) {
        // All on one terminal line, none of it the start of a new one: the
        // whole row in one piece of room, colour changes and all.
        const auto cells = static_cast<std::size_t>(end - from);
        char* p = out_.room(utf8_room(cells) + cells * kSgrRoom);
        screen.for_each_run(row, from, end, [&](std::string_view bytes, Attribute attribute) {
            p = put_attribute(p, attribute);
            p = put_cp437_as_utf8(p, bytes, ControlBytes::Glyphs);
        });
        out_.commit(p);
    } else {
        std::int32_t column = from;
        screen.for_each_run(row, from, end, [&](std::string_view bytes, Attribute attribute) {
            set_attribute(attribute);
            put_cells(bytes, column, first_new_line);
            column += static_cast<std::int32_t>(bytes.size());
        });
    }
    set_extent(row, new_extent);
    stand_after(row, end);
}

void TtyRenderer::repaint_from(const Screen& screen, std::int32_t row) {
    const std::int32_t last = std::max(frontier_, row);
    move_to(row, 0);
    track(last);
    set_attribute(screen.cell(row, screen.columns() - 1).attribute);
    out_.append(kEraseBelow);
    std::int32_t length = 0;
    for (std::int32_t r = row; r <= last; ++r) {
        length = screen.row_length(r);
        std::int32_t column = 0;
        screen.for_each_run(r, 0, length, [&](std::string_view bytes, Attribute attribute) {
            set_attribute(attribute);
            put_cells(bytes, column, 1);
            column += static_cast<std::int32_t>(bytes.size());
        });
        set_extent(r, length);
        if (r < last) out_.append("\r\n");
    }
    stand_after(last, length);
}

void TtyRenderer::row_left(std::int32_t row, RowExit how) {
    draw_changes();
    // A move says where it goes in the call that follows.
    if (how == RowExit::Move) return;
    target_row_ = row + 1;
    target_column_ = 0;
}

void TtyRenderer::scrolled() {
    // The terminal scrolls on its own when a line break reaches its bottom; the
    // logical rows only change their numbers.
    draw_changes();
    --first_row_;
    --frontier_;
    ++scrolls_;
    --cursor_.row;
    --target_row_;
}

void TtyRenderer::moved(const Screen& screen) {
    if (screen.wrap_pending()) {
        target_row_ = screen.cursor_row() + 1;
        target_column_ = 0;
    } else {
        target_row_ = screen.cursor_row();
        target_column_ = screen.cursor_column();
    }
}

void TtyRenderer::cleared(const Screen& screen) {
    // Painted in the new background, so that light text stays readable on a
    // light terminal; the scroll-back goes after the screen, since some
    // terminals keep a cleared screen in their history.
    changed_screen_ = nullptr;
    screen_ = &screen;
    set_attribute(screen.attribute());
    out_.append(kClearScreen);
    track_only(0);
    cursor_ = {};
    wrap_pending_ = false;
    cursor_unsure_ = false;
    target_row_ = 0;
    target_column_ = 0;
}

void TtyRenderer::place_cursor() {
    draw_changes();
    move_to(target_row_, target_column_);
}

void TtyRenderer::redraw_recent(const Screen& screen) {
    const std::int32_t first = std::max(0, target_row_ - 2);
    changed_screen_ = nullptr;  // drawn below as the screen has them
    screen_ = &screen;
    out_.push_back('\r');
    track_only(first);
    cursor_ = {first, 0, 0};
    wrap_pending_ = false;
    cursor_unsure_ = false;
    attribute_ = -1;
    track(target_row_);
    repaint_from(screen, first);
}

void TtyRenderer::finish() {
    draw_changes();
    if (colours_) out_.append(kResetColours);
    attribute_ = -1;
    const std::int32_t last = frontier_;
    const std::int32_t length = extent(last);
    if (length == 0) {
        move_to(last, 0);
        return;
    }
    move_to(last, length);
    out_.append("\r\n");
    cursor_ = {last + 1, 0, 0};
}

}  // namespace cp
