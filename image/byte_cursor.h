#pragma once
// Reads little-endian fields from bytes in memory without ever passing their
// end: a field cut short reads as if the missing bytes were 0.

#include <algorithm>
#include <cstdint>
#include <span>

class ByteCursor {
public:
    explicit ByteCursor(std::span<const uint8_t> bytes) : bytes(bytes) {}

    void skip(size_t count) { offset += std::min(count, left()); }

    // The next count bytes, or fewer when the data ends first.
    std::span<const uint8_t> take(size_t count) {
        const std::span<const uint8_t> taken = bytes.subspan(offset, std::min(count, left()));
        offset += taken.size();
        return taken;
    }

    uint8_t uint8() { return static_cast<uint8_t>(field(1)); }
    uint16_t uint16() { return static_cast<uint16_t>(field(2)); }
    uint32_t uint32() { return field(4); }

private:
    size_t left() const { return bytes.size() - offset; }

    uint32_t field(size_t size) {
        uint32_t value = 0;
        const std::span<const uint8_t> taken = take(size);
        for (size_t i = 0; i < taken.size(); ++i) value |= uint32_t{taken[i]} << (8 * i);
        return value;
    }

    std::span<const uint8_t> bytes;
    size_t offset = 0;
};
