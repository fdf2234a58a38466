#pragma once
// std::bit_cast where a standard library lacks it (Emscripten's libc++ of
// 3.1.6): g++, clang and em++ all have the builtin that it is made of.
#include <type_traits>

namespace cp {

template <typename To, typename From>
requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
         std::is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}

}  // namespace cp
