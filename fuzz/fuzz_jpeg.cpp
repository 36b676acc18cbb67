// libFuzzer target: JpegLoader on any file.

#include "fuzz/declared_sizes.h"
#include "fuzz/fuzz_harness.h"
#include "image/jpeg_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (jpegPixels(data, size) > largestFuzzedPixelCount) return -1;
    const std::string& file = FuzzHarness::instance().write({data, size}, "jpg");
    runToEnd([&] { JpegLoader().load(file.c_str()); });
    return 0;
}
