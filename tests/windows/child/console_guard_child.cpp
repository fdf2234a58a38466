// Takes over the console as the program does (raw input, its own output mode
// and colours), waits for one key, then leaves by the way named on its
// command line: end, exit, abort or crash.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>
#include <string_view>

#include "console/windows/tty_input.hpp"
#include "console/windows/tty_output.hpp"

namespace {
int console_fd(const wchar_t* name, int flags) {
    const HANDLE handle =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    return _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
}
}  // namespace

int main(int argc, char** argv) {
    const std::string_view way = argc > 1 ? argv[1] : "end";
    cp::TtyInput keys(console_fd(L"CONIN$", _O_RDONLY));
    const int output = console_fd(L"CONOUT$", _O_WRONLY);
    cp::TtyOutput screen(output);
    // Drawing leaves the console's colours changed.
    SetConsoleTextAttribute(reinterpret_cast<HANDLE>(_get_osfhandle(output)), 0x4E);
    keys.next_key();
    if (way == "exit") std::exit(0);
    if (way == "abort") std::abort();
    if (way == "crash") *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}
