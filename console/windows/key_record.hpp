#pragma once
// The program's key string for a console key event: the code page 437 byte
// of a character key, or 0 and the PC scan code of any other key, as the
// keys from a terminal are on every other platform.
#include <windows.h>

#include <optional>
#include <string>

namespace cp {

// nullopt for events that are no key of the program: releases, the presses
// of Shift, Ctrl, Alt and the lock keys alone, characters code page 437
// lacks, and events that carry neither a character nor a scan code.
std::optional<std::string> key_from_record(const KEY_EVENT_RECORD& key);

}  // namespace cp
