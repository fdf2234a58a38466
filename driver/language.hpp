#pragma once
// The languages of the screens. German is the program's own and the default;
// English is a second catalogue of the same texts in the same layout.
#include <cstdint>

namespace cp {

enum class Language : std::uint8_t { German, English };

}  // namespace cp
