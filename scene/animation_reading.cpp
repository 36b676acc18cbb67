// Animation blocks of the scene file, read at the place each object record
// gives, and expanded into per-frame tables.

#include <algorithm>
#include <new>

#include "anim/sample_and_hold.h"
#include "base/fatal.h"
#include "base/log.h"
#include "platform/win32.h"
#include "scene/kvs_flags.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"

namespace {

using namespace kvs_flags;

constexpr size_t positionKeySize = 16;       // time, then x, z, y
constexpr size_t meshRotationKeySize = 20;   // time, then x, z, y, w
constexpr size_t cameraRotationKeySize = 8;  // time, then the roll

// A record without keys still replaces the track before it: the object is
// left with none of that sort (its rest position, or no turn).
template <typename Key>
auto expandOrStop(const std::vector<Key>& keys, int32_t frameCount, int32_t frameStep) {
    using Table = decltype(sampleAndHold(keys, frameCount, frameStep));
    if (keys.empty()) return Table{};
    try {
        return sampleAndHold(keys, frameCount, frameStep);
    } catch (const std::bad_alloc&) {
        fatalError(0);
    }
}

}  // namespace

bool SceneReader::readAnimation(PositionTrack& positionTrack, RotationTrack& rotationTrack) {
    const uint8_t kind = readUint8("animation kind");
    if (kind == noAnimation) return false;
    if (kind == sampledAnimation) readSampledAnimation(positionTrack, rotationTrack);
    return true;
}

void SceneReader::readSampledAnimation(PositionTrack& positionTrack, RotationTrack& rotationTrack) {
    OutputDebugStringA("reading a sampleDumped Anim\n");
    for (;;) {
        const uint8_t flags = readUint8("track flags");
        if (flags == endOfTrackList) return;
        if (flags & hasPositionTrack) readPositionTrack(positionTrack);
        if (flags & hasRotationTrack) readRotationTrack(rotationTrack);
    }
}

void SceneReader::readPositionTrack(PositionTrack& positionTrack) {
    const int32_t keyCount = readCount("position key count", positionKeySize);
    logFormat("Reading Sample Pos with %d keys\n", keyCount);
    std::vector<PositionKey> keys(static_cast<size_t>(keyCount));
    for (PositionKey& key : keys) {
        key.time = readInt32("position key time");
        key.value = readPoint("position key value");
    }
    if (!keys.empty()) {
        checkExpandable(keys.size(), "position");
        reserveTableMemory(sizeof(Vector3));
    }
    expandPositionKeys(positionTrack, keys);
}

void SceneReader::readRotationTrack(RotationTrack& rotationTrack) {
    const size_t keySize = readingCameras ? cameraRotationKeySize : meshRotationKeySize;
    const int32_t keyCount = readCount("rotation key count", keySize);
    OutputDebugStringA("Track de rotation en sample\n");
    logFormat("Reading Sample rot with %d keys\n", keyCount);
    std::vector<RotationKey> keys(static_cast<size_t>(keyCount));
    for (RotationKey& key : keys) {
        key.time = readInt32("rotation key time");
        const float a = readFloat32("rotation key value");
        if (readingCameras) {
            key.value.x = a;
            continue;
        }
        const float b = readFloat32("rotation key value");
        const float c = readFloat32("rotation key value");
        const float d = readFloat32("rotation key value");
        key.value = {a, c, b, d};
    }
    if (!keys.empty()) {
        checkExpandable(keys.size(), "rotation");
        reserveTableMemory(sizeof(Quaternion));
    }
    expandRotationKeys(rotationTrack, keys);
    logFormat("%zx\n", byteOffset());
}

// Without a positive frameStep no key time gives a frame: only a track with one
// key per frame can be used as it stands.
void SceneReader::checkExpandable(size_t keyCount, const char* track) const {
    if (scene.frameStep > 0 || keyCount == static_cast<size_t>(std::max(scene.frameCount, 0))) return;
    fail(std::string(track) + " track of " + std::to_string(keyCount) + " keys for " +
         std::to_string(scene.frameCount) + " frames needs a positive frame step, not " +
         std::to_string(scene.frameStep));
}

// A table costs memory per frame, not per key: a few bytes of file can ask for
// gigabytes. All the tables of one scene share one budget, and a file that
// asks for more is refused as memory that cannot be had.
void SceneReader::reserveTableMemory(size_t valueSize) {
    constexpr uint64_t budget = uint64_t{1} << 30;
    tableBytes += static_cast<uint64_t>(std::max(scene.frameCount, 0)) * valueSize;
    if (tableBytes <= budget) return;
    logProblem(offset, "animation tables of " + std::to_string(tableBytes) + " bytes exceed the budget of " +
                           std::to_string(budget) + " bytes");
    fatalError(0);
}

void SceneReader::expandPositionKeys(PositionTrack& positionTrack, const std::vector<PositionKey>& keys) {
    OutputDebugStringA("interpolation en SamplePos\n");
    if (keys.size() == static_cast<size_t>(std::max(scene.frameCount, 0)))
        OutputDebugStringA("export All Frame detect");
    positionTrack = expandOrStop(keys, scene.frameCount, scene.frameStep);
}

void SceneReader::expandRotationKeys(RotationTrack& rotationTrack, const std::vector<RotationKey>& keys) {
    OutputDebugStringA("interpolation en SampleRot\n");
    if (keys.size() == static_cast<size_t>(std::max(scene.frameCount, 0)))
        OutputDebugStringA("export All Frame detect");
    rotationTrack = expandOrStop(keys, scene.frameCount, scene.frameStep);
}
