#pragma once
// The Windows handles behind the C runtime's file descriptors 0, 1 and 2.
#include <io.h>
#include <windows.h>

namespace cp {

inline HANDLE handle_of(int fd) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// True if fd is a console's input or screen buffer (the way isatty is on Unix).
inline bool is_console(int fd) {
    DWORD mode = 0;
    return GetConsoleMode(handle_of(fd), &mode) != 0;
}

}  // namespace cp
