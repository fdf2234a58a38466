#include "console/windows/console_window.hpp"

#include <algorithm>

namespace cp::console_window {

namespace {
PixelSize size_of(const RECT& rect) {
    return {static_cast<std::int32_t>(rect.right - rect.left),
            static_cast<std::int32_t>(rect.bottom - rect.top)};
}

// A console counts its buffer in 16-bit coordinates.
SHORT coordinate(std::int32_t n) {
    return static_cast<SHORT>(std::clamp<std::int32_t>(n, 1, 0x7FFF));
}

bool set_size(HANDLE output, std::int32_t columns, std::int32_t rows) {
    return SetConsoleScreenBufferSize(output, COORD{coordinate(columns), coordinate(rows)}) != 0;
}
}  // namespace

HWND shown() {
    const HWND window = GetConsoleWindow();
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

void maximize() {
    if (const HWND window = shown()) ShowWindow(window, SW_MAXIMIZE);
}

PixelSize pixel_size() {
    RECT rect{};
    if (const HWND window = shown(); window != nullptr && GetWindowRect(window, &rect)) {
        return size_of(rect);
    }
    return {};
}

PixelSize work_area_pixel_size() {
    RECT rect{};
    if (shown() != nullptr && SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0)) {
        return size_of(rect);
    }
    return {};
}

void move_to(std::int32_t x, std::int32_t y) {
    if (const HWND window = shown()) {
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

bool set_buffer_size(HANDLE output, std::int32_t columns, std::int32_t rows) {
    const HWND window = shown();
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (window == nullptr || !GetConsoleScreenBufferInfo(output, &info)) return false;
    // A console keeps its buffer at least as large as its window: grow first,
    // then take the exact size, which fails while the window is larger.
    RECT placed{};
    const bool has_place = GetWindowRect(window, &placed) != 0;
    const bool grown = set_size(output, std::max<std::int32_t>(columns, info.dwSize.X),
                                std::max<std::int32_t>(rows, info.dwSize.Y));
    if (grown) set_size(output, columns, rows);
    if (has_place) {
        const PixelSize size = size_of(placed);
        SetWindowPos(window, nullptr, placed.left, placed.top, size.width, size.height,
                     SWP_NOZORDER);
    }
    return grown;
}

}  // namespace cp::console_window
