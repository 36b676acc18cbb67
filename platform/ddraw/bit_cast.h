#pragma once
// The bits of one trivially copyable value read as another type of the same
// size (a float render state's IEEE bits as a DWORD and back), as
// std::bit_cast does where the standard library has it. Internal to the
// platform layer.

#include <cstring>
#include <type_traits>

namespace platform {

template <typename To, typename From>
To bitCast(const From& value) {
    static_assert(sizeof(To) == sizeof(From), "bitCast needs types of one size");
    static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
    To result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

}  // namespace platform
