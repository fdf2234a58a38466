#pragma once
// The console's window on the desktop, where there is one to be seen: a
// classic console window. A pseudo-console (Windows Terminal and the like)
// has only a hidden stand-in window, and sizing, maximising or moving that
// would mean nothing; there every operation does nothing and sizes are 0.
#include <windows.h>

#include "console/screen_sink.hpp"

namespace cp::console_window {

// The window, or nullptr where there is none to be seen.
HWND shown();

void maximize();
PixelSize pixel_size();
PixelSize work_area_pixel_size();
void move_to(std::int32_t x, std::int32_t y);

// Grows the screen buffer to columns x rows, then sets it to exactly that
// where the window allows it, keeping the window where it is on the desktop.
// False if the buffer could not be grown; nothing is done without a window.
bool set_buffer_size(HANDLE output, std::int32_t columns, std::int32_t rows);

}  // namespace cp::console_window
