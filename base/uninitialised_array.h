#pragma once
// An array of n values left uninitialised, for buffers a decoder fills before
// reading, as std::make_unique_for_overwrite<T[]> does where the standard
// library has it. Throws std::bad_alloc as new does.

#include <cstddef>
#include <memory>
#include <type_traits>

template <typename Value>
std::unique_ptr<Value[]> uninitialisedArray(size_t count) {
    static_assert(std::is_trivially_default_constructible_v<Value>);
    return std::unique_ptr<Value[]>(new Value[count]);
}
