#pragma once
// Reading the numbers the user types.
#include <string_view>

#include "console/numbers/real.hpp"

namespace cp {

// The number at the start of text (decimal, or &H/&O/&B forms); 0 without digits.
Real parse_number(std::string_view text);

}  // namespace cp
