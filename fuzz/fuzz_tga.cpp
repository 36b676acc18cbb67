// libFuzzer target: TgaLoader on any file.

#include "fuzz/fuzz_session.h"
#include "image/tga_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const uint64_t width = size > 13 ? data[12] | data[13] << 8 : 0;
    const uint64_t height = size > 15 ? data[14] | data[15] << 8 : 0;
    if (width * height > largestFuzzedPixelCount) return -1;
    const std::string& file = FuzzSession::instance().write({data, size}, "tga");
    runToEnd([&] { TgaLoader().load(file.c_str()); });
    return 0;
}
