#include "explorer/loop_history.hpp"

#include <algorithm>

#include "console/numbers/int_list.hpp"

namespace cp {

// The table holds 64-bit entries. A value beyond 64 bits is neither found nor
// recorded; a run keeps every value it has had besides (ValueSet), which
// catches any repeat of such a value, so nothing shown depends on it.
bool history_holds(const State& state, SequenceValue v) {
    return fits_int64(v) && list_find(state.loopHistory, as_real(v)) > 0;
}

void history_insert(State& state, SequenceValue v) {
    if (fits_int64(v)) list_push_front(state.loopHistory, as_real(v));
}

void history_empty(State& state) {
    std::fill(state.loopHistory.begin(), state.loopHistory.end(), 0);
}

}  // namespace cp
