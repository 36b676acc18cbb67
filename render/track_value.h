#pragma once
// Entry frame of a per-frame table, or the value at rest when the object has
// no such table (or the table has no such frame).

#include <cstdint>
#include <vector>

template <typename Value>
Value trackValue(const std::vector<Value>& track, int32_t frame, const Value& atRest) {
    if (frame < 0 || static_cast<size_t>(frame) >= track.size()) return atRest;
    return track[static_cast<size_t>(frame)];
}
