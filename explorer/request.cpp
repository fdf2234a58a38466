#include "explorer/request.hpp"

#include <array>
#include <string_view>
#include <utility>

#include "console/numbers/parse_number.hpp"
#include "console/strings.hpp"

namespace cp {
namespace {

constexpr std::int64_t kStartOfA = 24;
constexpr std::int64_t kStartOfC = 100000000;

constexpr std::array<std::pair<std::string_view, EntryCode>, 6> kEntryCodes{{
    {"00", EntryCode::Plain},
    {"66", EntryCode::Compressed},
    {"77", EntryCode::Successor},
    {"75", EntryCode::Random},
    {"88", EntryCode::Next},
    {"99", EntryCode::RandomNext},
}};

EntryCode entry_code_of(std::string_view code) {
    for (const auto& [text, entry] : kEntryCodes)
        if (code == text) return entry;
    return EntryCode::None;
}

}  // namespace

std::string_view entry_code_text(EntryCode code) {
    for (const auto& [text, entry] : kEntryCodes)
        if (code == entry) return text;
    return {};
}

Request read_request(State& state) {
    if (state.command == "A" || state.command == "C") {
        state.defaultStart = state.command == "A" ? kStartOfA : kStartOfC;
        state.exponent = to_int64(static_cast<Real>(state.exponent) - 1);
    }
    const std::string first = substring(state.command, 1, 1);
    const std::string rest = substring(state.command, 3, 20);
    Request request;
    request.code = entry_code_of(substring(state.command, 1, 2));
    if (request.code != EntryCode::None) state.command = "00" + rest;
    const std::int64_t entered = to_int64(parse_number(state.command));
    request.multiplier = request.code == EntryCode::Successor ? 1 : 3;
    request.start = entered != 0 ? entered : state.defaultStart;
    request.is_sequence =
        first == "A" || first == "C" || state.zeroCommand == 1 || request.code != EntryCode::None;
    return request;
}

}  // namespace cp
