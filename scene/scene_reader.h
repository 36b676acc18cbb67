#pragma once
// Reads one scene file front to back into a Scene. Every read is checked
// against the bytes the file really has: a short or inconsistent file ends in
// the fatal stop, with a log line naming the file, the problem and the offset.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "anim/animation_key.h"
#include "anim/tracks.h"
#include "math/matrix4.h"
#include "math/vector3.h"

class Scene;

class SceneReader {
public:
    explicit SceneReader(Scene& scene);
    virtual ~SceneReader() = default;

    // Opens fileName with the checked open and takes in its bytes.
    void openFile(const char* fileName);

    // Little-endian primitives; what names the field for the error line.
    int32_t readInt32(const char* what);
    int16_t readInt16(const char* what);
    uint8_t readUint8(const char* what);
    float readFloat32(const char* what);
    void skipBytes(size_t count, const char* what);
    // A count of records of recordSize bytes each: never negative, and all of
    // them must fit in what is left of the file.
    int32_t readCount(const char* what, size_t recordSize);
    // Characters up to a zero byte, at most 99 of them; echoed to the debugger output.
    std::string readString(const char* what);
    // Stored (a, b, c), returned as (a, c, b).
    Vector3 readPoint(const char* what);
    // Nine floats filling the rotation block column by column; the rest is identity.
    Matrix4 readRotation(const char* what);
    size_t byteOffset() const { return offset; }

    // An animation block; returns whether the object is animated. The tracks are
    // written only when the block holds one of their sort.
    bool readAnimation(PositionTrack& positionTrack, RotationTrack& rotationTrack);
    void readSampledAnimation(PositionTrack& positionTrack, RotationTrack& rotationTrack);
    void readPositionTrack(PositionTrack& positionTrack);
    void readRotationTrack(RotationTrack& rotationTrack);
    void expandPositionKeys(PositionTrack& positionTrack, const std::vector<PositionKey>& keys);
    void expandRotationKeys(RotationTrack& rotationTrack, const std::vector<RotationKey>& keys);

    // Logs the problem with the file name and the current offset, then stops.
    [[noreturn]] void fail(const std::string& problem) const;

    Scene& scene;
    int version = 0;              // 1 or 2 once the magic has been read
    bool readingCameras = false;  // rotation keys of cameras hold the roll only

private:
    const uint8_t* take(size_t count, const char* what);
    void checkExpandable(size_t keyCount, const char* track) const;

    std::string fileName;
    std::vector<uint8_t> bytes;
    size_t offset = 0;
};
