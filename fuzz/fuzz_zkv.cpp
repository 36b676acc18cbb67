// libFuzzer target: ZkvLoader on any file. The first input byte chooses what
// the rest is: odd, a body that the target gzip-compresses (reaching the body
// reader through a sound stream); even, the file as it is (zlib passes plain
// data through, and damaged gzip streams reach the unpacking's failures).

#include "fuzz/declared_sizes.h"
#include "fuzz/fuzz_harness.h"
#include "image/zkv_loader.h"
#include "tools/image_writers/image_writers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;
    const image_writers::Bytes body(data + 1, data + size);
    if (zkvBodyPixels(body.data(), body.size()) > largestFuzzedPixelCount) return -1;
    const image_writers::Bytes file = data[0] & 1 ? image_writers::gzip(body, 1) : body;
    const std::string& path = FuzzHarness::instance().write(file, "zkv");
    runToEnd([&] { ZkvLoader().load(path.c_str()); });
    return 0;
}
