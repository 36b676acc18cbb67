// libFuzzer target: ZkvLoader on any file. The first input byte chooses what
// the rest is: odd, a body that the target gzip-compresses (reaching the body
// reader through a sound stream); even, the file as it is (zlib passes plain
// data through, and damaged gzip streams reach the unpacking's failures).

#include "fuzz/fuzz_session.h"
#include "image/zkv_loader.h"
#include "tools/image_writers/image_writers.h"

namespace {

uint32_t field32(const uint8_t* data, size_t size, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && offset + i < size; ++i) value |= uint32_t{data[offset + i]} << (8 * i);
    return value;
}

uint64_t declaredPixels(const uint8_t* body, size_t size) {
    const uint32_t flags = size > 7 ? body[6] : 0;
    const size_t sizeOffset = 8 + (flags & 0x02 ? 8 : 0) + (flags & 0x04 ? 4 : 0);
    return uint64_t{field32(body, size, sizeOffset) & 0xFFFF} * (field32(body, size, sizeOffset + 4) & 0xFFFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return -1;
    const image_writers::Bytes body(data + 1, data + size);
    if (declaredPixels(body.data(), body.size()) > largestFuzzedPixelCount) return -1;
    const image_writers::Bytes file = data[0] & 1 ? image_writers::gzip(body, 1) : body;
    const std::string& path = FuzzSession::instance().write(file, "zkv");
    runToEnd([&] { ZkvLoader().load(path.c_str()); });
    return 0;
}
