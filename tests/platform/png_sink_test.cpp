#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/tool_interface.h"
#include "tests/support/test_support.h"

using testing_support::ScratchDirectory;

namespace {

// An independent reader: Python's zlib and the PNG filter rules, printing
// "width height" then every channel value.
const char* const pngReader = R"(
import struct, sys, zlib
data = open(sys.argv[1], 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n'
pos, idat = 8, b''
while pos < len(data):
    length, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b'IHDR':
        width, height, depth, colour = struct.unpack('>IIBB', body[:10])
        assert depth == 8 and colour == 2
    if kind == b'IDAT':
        idat += body
    pos += 12 + length
raw, stride, rows, prior = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
for y in range(height):
    kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - 3] if i >= 3 else 0
        b, c = prior[i], prior[i - 3] if i >= 3 else 0
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        paeth = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
        line[i] = (line[i] + [0, a, b, (a + b) // 2, paeth][kind]) & 255
    rows.append(line)
    prior = line
print(width, height, *[value for row in rows for value in row])
)";

std::string decode(const std::filesystem::path& png, const ScratchDirectory& scratch) {
    testing_support::writeFile(scratch / "reader.py", std::string(pngReader));
    std::string command = "python3 " + (scratch / "reader.py").string() + " " + png.string();
    std::string output;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

}  // namespace

TEST(PngFrameSink, WritesFrameNAsANumberedPngOfItsPixels) {
    ScratchDirectory scratch;
    platform::CapturedFrame frame{7, 3, 2, {255, 0, 0, 0, 255, 0, 0, 0, 255, 16, 32, 48, 64, 80, 96, 255, 255, 255}};
    platform::pngFrameSink(scratch / "frames")(frame);
    std::filesystem::path written = scratch / "frames" / "frame-000007.png";
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_EQ(decode(written, scratch), "3 2 255 0 0 0 255 0 0 0 255 16 32 48 64 80 96 255 255 255\n");
}

TEST(PngFrameSink, AFrameThatCannotBeWrittenIsReportedWithItsPath) {
    ScratchDirectory scratch;
    testing_support::writeFile(scratch / "taken", "a file where the directory should be");
    std::vector<std::filesystem::path> refused;
    const platform::FrameSink sink = platform::pngFrameSink(
        scratch / "taken", [&](const std::filesystem::path& path) { refused.push_back(path); });
    sink(platform::CapturedFrame{3, 1, 1, {1, 2, 3}});
    EXPECT_EQ(refused, std::vector<std::filesystem::path>{scratch / "taken" / "frame-000003.png"});
}
