#pragma once
// Turning the command into a sequence request: the entry code, the multiplier
// and the start value.
#include <cstdint>
#include <string_view>

#include "driver/state.hpp"
#include "explorer/runs.hpp"

namespace cp {

struct Request {
    EntryCode code = EntryCode::None;
    bool is_sequence = false;  // false: the command goes on to the next search
    std::int32_t multiplier = 3;
    std::int64_t start = 0;
};

// "A" and "C" set defaultStart and lower exponent; an entry code turns
// command into "00" and the rest of it.
Request read_request(State& state);

// The two digits of an entry code ("00", "66", ...); empty for None.
std::string_view entry_code_text(EntryCode code);

}  // namespace cp
