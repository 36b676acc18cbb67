#pragma once
// Little-endian byte strings for building file fixtures in code.

#include <cstdint>
#include <string>
#include <vector>

#include "base/bit_cast.h"

namespace testing_support {

class ByteWriter {
public:
    ByteWriter& int32(int32_t value) { return raw32(static_cast<uint32_t>(value)); }
    ByteWriter& int16(int16_t value) {
        bytes.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
        return *this;
    }
    ByteWriter& uint8(uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    ByteWriter& float32(float value) { return raw32(bitCast<uint32_t>(value)); }
    ByteWriter& string(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        return *this;
    }
    ByteWriter& chars(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    const std::vector<uint8_t>& data() const { return bytes; }
    size_t size() const { return bytes.size(); }

private:
    ByteWriter& raw32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
        return *this;
    }
    std::vector<uint8_t> bytes;
};

}  // namespace testing_support
