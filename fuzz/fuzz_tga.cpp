// libFuzzer target: TgaLoader on any file.

#include "fuzz/declared_sizes.h"
#include "fuzz/fuzz_harness.h"
#include "image/tga_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (tgaPixels(data, size) > largestFuzzedPixelCount) return -1;
    const std::string& file = FuzzHarness::instance().write({data, size}, "tga");
    runToEnd([&] { TgaLoader().load(file.c_str()); });
    return 0;
}
