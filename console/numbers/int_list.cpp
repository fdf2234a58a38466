#include "console/numbers/int_list.hpp"

#include <algorithm>

namespace cp {

std::int64_t list_find(std::span<const std::int64_t> list, Real v) {
    const std::int64_t wanted = to_int64(v);
    const auto it = std::find(list.begin(), list.end(), wanted);
    if (it == list.end()) return 0;
    return static_cast<std::int64_t>(it - list.begin()) + 1;
}

void list_push_front(std::span<std::int64_t> list, Real v) {
    if (list.empty()) return;
    std::copy_backward(list.begin(), list.end() - 1, list.end());
    list.front() = to_int64(v);
}

}  // namespace cp
