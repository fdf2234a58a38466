#include "console/windows/tty_output.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "console/windows/console_window.hpp"
#include "console/windows/handles.hpp"
#include "console/windows/tty_guard.hpp"

namespace cp {

namespace {
constexpr std::int32_t kDefaultWidth = 80;
constexpr std::int32_t kDefaultHeight = 25;

CONSOLE_SCREEN_BUFFER_INFO buffer_info(HANDLE handle) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(handle, &info)) {
        info.dwSize = COORD{kDefaultWidth, kDefaultHeight};
        info.wAttributes = 0x07;
    }
    return info;
}

COORD at(std::int32_t x, std::int32_t y) {
    return COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)};
}

// The console functions on a real screen buffer.
class BufferCells final : public ConsoleCells {
  public:
    explicit BufferCells(HANDLE handle) : handle_(handle) {}

    bool put(std::int32_t x, std::int32_t y, const CellBlock& block) override {
        cells_.resize(static_cast<std::size_t>(block.width) *
                      static_cast<std::size_t>(block.height));
        auto to = cells_.begin();
        for (std::int32_t r = 0; r < block.height; ++r) {
            const ConsoleCell* from = block.cells + static_cast<std::ptrdiff_t>(r) * block.stride;
            for (std::int32_t c = 0; c < block.width; ++c, ++to) {
                to->Char.UnicodeChar = from[c].ch;
                to->Attributes = from[c].attribute;
            }
        }
        SMALL_RECT region{static_cast<SHORT>(x), static_cast<SHORT>(y),
                          static_cast<SHORT>(x + block.width - 1),
                          static_cast<SHORT>(y + block.height - 1)};
        return WriteConsoleOutputW(handle_, cells_.data(), at(block.width, block.height), at(0, 0),
                                   &region) != 0;
    }
    bool get_rows(std::int32_t first_row, std::int32_t rows,
                  std::span<ConsoleCell> cells) override {
        const auto width = static_cast<std::int32_t>(cells.size()) / rows;
        cells_.resize(cells.size());
        SMALL_RECT region{0, static_cast<SHORT>(first_row), static_cast<SHORT>(width - 1),
                          static_cast<SHORT>(first_row + rows - 1)};
        if (!ReadConsoleOutputW(handle_, cells_.data(), at(width, rows), at(0, 0), &region))
            return false;
        std::transform(cells_.begin(), cells_.end(), cells.begin(), [](const CHAR_INFO& cell) {
            return ConsoleCell{cell.Char.UnicodeChar, cell.Attributes};
        });
        return true;
    }
    void fill(std::int32_t x, std::int32_t y, std::int64_t count,
              std::uint16_t attribute) override {
        if (count <= 0) return;
        const auto cells = static_cast<DWORD>(count);
        DWORD done = 0;
        FillConsoleOutputCharacterW(handle_, L' ', cells, at(x, y), &done);
        FillConsoleOutputAttribute(handle_, attribute, cells, at(x, y), &done);
    }
    void scroll_up(std::int32_t bottom, std::int32_t rows, std::uint16_t attribute) override {
        // Line feeds in the bottom row, as the console makes them for any
        // program: cheap in a long buffer, and a pseudo-console passes them on
        // to its terminal as scrolls that keep the lines in its history.
        SetConsoleTextAttribute(handle_, attribute);
        SetConsoleCursorPosition(handle_, at(0, bottom));
        write(std::wstring(static_cast<std::size_t>(rows), L'\n'));
    }
    void bell() override { write(L"\a"); }
    void show_cursor_at(std::int32_t x, std::int32_t y) override {
        SetConsoleCursorPosition(handle_, at(x, y));
    }

  private:
    void write(std::wstring_view text) {
        DWORD done = 0;
        WriteConsoleW(handle_, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    }

    HANDLE handle_;
    std::vector<CHAR_INFO> cells_;
};
}  // namespace

TtyOutput::TtyOutput(int fd, bool colours)
    : RenderedOutput(buffer_info(handle_of(fd)).dwSize.X, colours),
      handle_(handle_of(fd)),
      watched_(tty_guard::watch_output(handle_)),
      cells_(std::make_unique<BufferCells>(handle_)),
      interpreter_(*cells_, buffer_info(handle_).dwSize.X, buffer_info(handle_).dwSize.Y,
                   tty_guard::original_attribute()) {
    tty_guard::take_resized();
    measure();
}

TtyOutput::~TtyOutput() {
    if (watched_) tty_guard::unwatch_output();
}

void TtyOutput::measure() {
    const CONSOLE_SCREEN_BUFFER_INFO info = buffer_info(handle_);
    renderer().set_width(info.dwSize.X);
    interpreter_.resize(info.dwSize.X, info.dwSize.Y, info.dwCursorPosition.X,
                        info.dwCursorPosition.Y);
}

void TtyOutput::catch_up(const Screen*) {
    if (tty_guard::take_resized()) {
        write_out();
        measure();
    }
}

void TtyOutput::write_out() {
    ByteBuffer& bytes = renderer().output();
    if (bytes.empty()) return;
    const std::unique_lock lock = tty_guard::drawing();
    interpreter_.run(bytes.view());
    bytes.clear();
}

void TtyOutput::resized(const Screen& screen) {
    // Whatever is drawn goes out at the old size first.
    write_out();
    console_window::set_buffer_size(handle_, screen.columns(), screen.rows());
    measure();
}

void TtyOutput::maximize_window() {
    console_window::maximize();
}

PixelSize TtyOutput::window_pixel_size() {
    return console_window::pixel_size();
}

PixelSize TtyOutput::work_area_pixel_size() {
    return console_window::work_area_pixel_size();
}

void TtyOutput::move_window(std::int32_t x, std::int32_t y) {
    console_window::move_to(x, y);
}

}  // namespace cp
