// The byte level of the scene file: little-endian fields, no padding.

#include <cstdio>
#include <cstring>

#include "base/bit_cast.h"
#include "base/checked_calls.h"
#include "base/fatal.h"
#include "base/log.h"
#include "platform/win32.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace {

constexpr size_t longestString = 99;  // the original reader's buffer held 100 bytes

uint32_t littleEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

std::string bytesText(size_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

std::vector<uint8_t> readWholeFile(std::FILE* file) {
    std::vector<uint8_t> content;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) content.insert(content.end(), chunk, chunk + got);
    return content;
}

}  // namespace

SceneReader::SceneReader(Scene& scene) : scene(scene) {}

void SceneReader::openFile(const char* name) {
    std::FILE* file = openOrFail(name, "rb");
    fileName = name;
    bytes = readWholeFile(file);
    std::fclose(file);
    offset = 0;
}

void SceneReader::fail(const std::string& problem) const { failAt(offset, problem); }

void SceneReader::failAt(size_t where, const std::string& problem) const {
    logProblem(where, problem);
    fatalMessage("error : can't read the file");
}

void SceneReader::logProblem(size_t where, const std::string& problem) const {
    logFormat("error while reading %s : %s at byte offset %zu\n", fileName.c_str(), problem.c_str(), where);
}

const uint8_t* SceneReader::take(size_t count, const char* what) {
    if (count > bytes.size() - offset)
        fail(std::string("file ends inside ") + what + " (" + bytesText(count) + " needed, " +
             std::to_string(bytes.size() - offset) + " left)");
    const uint8_t* start = bytes.data() + offset;
    offset += count;
    return start;
}

int32_t SceneReader::readInt32(const char* what) { return static_cast<int32_t>(littleEndian32(take(4, what))); }

int16_t SceneReader::readInt16(const char* what) {
    const uint8_t* p = take(2, what);
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

uint8_t SceneReader::readUint8(const char* what) { return *take(1, what); }

float SceneReader::readFloat32(const char* what) { return bitCast<float>(littleEndian32(take(4, what))); }

void SceneReader::skipBytes(size_t count, const char* what) { take(count, what); }

int32_t SceneReader::readCount(const char* what, size_t recordSize) {
    const int32_t count = readInt32(what);
    checkCount(what, count, recordSize);
    return count;
}

void SceneReader::checkCount(const char* what, int32_t count, size_t recordSize) {
    if (count < 0) fail(std::string("negative ") + what + " " + std::to_string(count));
    if (recordSize > 0 && static_cast<uint64_t>(count) * recordSize > bytes.size() - offset)
        fail(std::string(what) + " " + std::to_string(count) + " does not fit in the " +
             bytesText(bytes.size() - offset) + " left");
}

std::string SceneReader::readString(const char* what) {
    const size_t start = offset;
    const void* end = std::memchr(bytes.data() + start, 0, bytes.size() - start);
    if (end == nullptr) fail(std::string("file ends inside ") + what + " (no terminating zero)");
    const size_t length = static_cast<const uint8_t*>(end) - (bytes.data() + start);
    if (length > longestString)
        fail(std::string(what) + " of " + std::to_string(length) + " characters (at most " +
             std::to_string(longestString) + ")");
    std::string text(reinterpret_cast<const char*>(bytes.data() + start), length);
    offset += length + 1;
    OutputDebugStringA(text.c_str());
    OutputDebugStringA("\n");
    return text;
}

Vector3 SceneReader::readPoint(const char* what) {
    const uint8_t* p = take(12, what);
    const float a = bitCast<float>(littleEndian32(p));
    const float b = bitCast<float>(littleEndian32(p + 4));
    const float c = bitCast<float>(littleEndian32(p + 8));
    return {a, c, b};
}

Matrix4 SceneReader::readRotation(const char* what) {
    const uint8_t* p = take(36, what);
    Matrix4 rotation;
    rotation.setIdentity();
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            rotation.m[row][column] = bitCast<float>(littleEndian32(p + 4 * (3 * column + row)));
    return rotation;
}
