#include "image/zkv_loader.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "base/fatal.h"
#include "base/log.h"
#include "platform/win32.h"

namespace {


// The longest body any header can use: the largest header (29 bytes), four bytes
// a pixel, the alpha plane's size and one byte a pixel. Bytes past it are never
// looked at, so they are unpacked (the stream is still checked) but not kept.
constexpr size_t maximumBodySize = 29 + 4 * maximumPixelCount + 8 + maximumPixelCount;
constexpr size_t firstBodyAllocation = size_t{1} << 16;
constexpr unsigned largestRead = 1u << 30;

struct GzCloser {
    void operator()(gzFile stream) const { gzclose(stream); }
};
using GzHandle = std::unique_ptr<gzFile_s, GzCloser>;

[[noreturn]] void unpackFailed(const char* message, const char* name) {
    logWrite2(message, name);
    fatalMessage("error while reading a zkv file");
}

// Room for at least one more read, up to maximumBodySize.
void growBody(std::vector<uint8_t>& body) {
    const size_t wanted = body.empty() ? firstBodyAllocation : 2 * body.size();
    try {
        body.resize(std::min(wanted, maximumBodySize));
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
}

}  // namespace

int ZkvLoader::load(const char* fileName) {
    if (!openImageFile(fileName, "r")) return 0;
    sourceName = fileName;
    const std::vector<uint8_t> body = unpack(fileName);
    logWrite("uncompressing zkv File");
    readBody(body);
    return 1;
}

std::vector<uint8_t> ZkvLoader::unpack(const char* source) {
    GzHandle stream(gzopen(nativePath(source).c_str(), "rb"));
    if (!stream) unpackFailed("error while reading :", source);
    std::vector<uint8_t> body;
    std::vector<uint8_t> overflow;  // receives what lies past maximumBodySize
    size_t kept = 0;
    for (;;) {
        if (kept == body.size() && body.size() < maximumBodySize) growBody(body);
        if (kept == body.size() && overflow.empty()) overflow.resize(firstBodyAllocation);
        const bool keeping = kept < body.size();
        uint8_t* target = keeping ? body.data() + kept : overflow.data();
        const size_t room = keeping ? body.size() - kept : overflow.size();
        const int count = gzread(stream.get(), target, static_cast<unsigned>(std::min<size_t>(room, largestRead)));
        if (count < 0) unpackFailed("Zlib error while reading :", source);
        if (count == 0) break;
        if (keeping) kept += static_cast<size_t>(count);
    }
    body.resize(kept);
    // zlib reports a stream that ends early only when it is closed.
    if (gzclose(stream.release()) != Z_OK) unpackFailed("error while closing :", source);
    return body;
}

void ZkvLoader::readBody(std::span<const uint8_t> bytes) {
    ByteCursor body(bytes);
    body.skip(6);
    const uint16_t flags = body.uint16();
    if (flags & 0x02) body.skip(8);
    if (flags & 0x04) body.skip(4);
    width = static_cast<uint16_t>(body.uint32());
    height = static_cast<uint16_t>(body.uint32());
    depth = body.uint8();
    logFormat("%d %d%d\n", height, width, depth);
    allocatePixels();
    readPixelData(body);
    flipVertically();
    if (flags & 0x10) applyAlphaPlane(body);
}

void ZkvLoader::readPixelData(ByteCursor& body) {
    const size_t count = pixelCount();
    if (depth == 8) {
        const std::span<const uint8_t> palette = body.take(paletteSize);
        expandPalette(body.take(count), palette);
    } else if (depth == 16) {
        expand16(body.take(2 * count));
    } else {
        copy32(body.take(4 * count));
    }
}

// The plane should hold one byte a pixel; whatever its dimensions say, at most
// width x height bytes are applied.
void ZkvLoader::applyAlphaPlane(ByteCursor& body) {
    const uint32_t alphaWidth = body.uint32();
    const uint32_t alphaHeight = body.uint32();
    logFormat("%d %d\n", static_cast<int>(alphaWidth), static_cast<int>(alphaHeight));
    const uint64_t planeSize = uint64_t{alphaWidth} * alphaHeight;
    const std::span<const uint8_t> plane = body.take(static_cast<size_t>(std::min<uint64_t>(planeSize, pixelCount())));
    for (size_t i = 0; i < plane.size(); ++i) pixels[i] |= uint32_t{plane[i]} << 24;
    logWrite("bon la on quitte ce foutoir");
}
