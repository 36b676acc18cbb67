#pragma once
// Expansion of keys into one value per frame, without interpolation: a key's
// value holds from its frame until the frame of the next key taken.

#include <cstdint>
#include <vector>

#include "anim/animation_key.h"

// keys must not be empty, and frameStep must be positive unless there are
// exactly frameCount keys (then they are copied one to one, times unread).
//
// Otherwise the frames are walked with a cursor on the first key not yet taken:
// at frame n that key is taken when time / frameStep (truncated toward zero)
// equals n. A key whose frame is not after the previous one's is never taken,
// and so no key after it is either. Frames before the first key taken hold the
// first key's value.
template <typename Key>
auto sampleAndHold(const std::vector<Key>& keys, int32_t frameCount, int32_t frameStep) {
    using Value = decltype(Key::value);
    std::vector<Value> table(frameCount > 0 ? static_cast<size_t>(frameCount) : 0);
    if (keys.size() == table.size()) {
        for (size_t k = 0; k < keys.size(); ++k) table[k] = keys[k].value;
        return table;
    }
    Value current = keys.front().value;
    size_t cursor = 0;
    for (size_t n = 0; n < table.size(); ++n) {
        if (cursor < keys.size() && frameStep > 0 && keys[cursor].time / frameStep == static_cast<int64_t>(n)) {
            current = keys[cursor].value;
            ++cursor;
        }
        table[n] = current;
    }
    return table;
}
