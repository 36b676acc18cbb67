// libFuzzer target: JpegLoader on any file.

#include "fuzz/fuzz_session.h"
#include "image/jpeg_loader.h"

namespace {

// The largest image any start-of-frame marker in the data declares; markers
// C4, C8 and CC are not frames.
uint64_t largestFrame(const uint8_t* data, size_t size) {
    uint64_t largest = 0;
    for (size_t i = 0; i + 8 < size; ++i) {
        if (data[i] != 0xFF || (data[i + 1] & 0xF0) != 0xC0) continue;
        if (data[i + 1] == 0xC4 || data[i + 1] == 0xC8 || data[i + 1] == 0xCC) continue;
        const uint64_t height = data[i + 5] << 8 | data[i + 6];
        const uint64_t width = data[i + 7] << 8 | data[i + 8];
        if (width * height > largest) largest = width * height;
    }
    return largest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (largestFrame(data, size) > largestFuzzedPixelCount) return -1;
    const std::string& file = FuzzSession::instance().write({data, size}, "jpg");
    runToEnd([&] { JpegLoader().load(file.c_str()); });
    return 0;
}
