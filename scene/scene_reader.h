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
#include "scene/scene_object.h"

class Camera;
class Mesh;
class Scene;
class TargetCamera;

class SceneReader {
public:
    explicit SceneReader(Scene& scene);
    virtual ~SceneReader() = default;

    // The whole file; afterwards the scene's object list holds every object in
    // file order.
    void load(const char* fileName);
    // Opens fileName with the checked open and takes in its bytes.
    void openFile(const char* fileName);

    // The sections of the file, in file order.
    void readMagic();
    void readHeader();
    void readFog();
    void readMaterials();
    void readMaterialSet(int32_t index);
    void readMesh();
    void readCamera();
    // Name, parent name, tag, rotation and positions; flagsOut receives the
    // object's flags byte for the record to test its own bits.
    void readObjectHeader(SceneObject& object, uint8_t& flagsOut);
    void readFieldOfView(Camera& camera);

    // Little-endian primitives; what names the field for the error line.
    int32_t readInt32(const char* what);
    int16_t readInt16(const char* what);
    uint8_t readUint8(const char* what);
    float readFloat32(const char* what);
    void skipBytes(size_t count, const char* what);
    // A count of records of recordSize bytes each: never negative, and all of
    // them must fit in what is left of the file.
    int32_t readCount(const char* what, size_t recordSize);
    // The same test for a count read earlier.
    void checkCount(const char* what, int32_t count, size_t recordSize);
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
    // The same, at the offset where the header of object began.
    [[noreturn]] void failAtObject(const SceneObject& object, const std::string& problem) const;

    Scene& scene;
    int version = 0;              // 1 or 2 once the magic has been read
    bool readingCameras = false;  // rotation keys of cameras hold the roll only

private:
    const uint8_t* take(size_t count, const char* what);
    void checkExpandable(size_t keyCount, const char* track) const;
    void reserveTableMemory(size_t valueSize);
    void readEnvironment();
    void checkFrameCount() const;
    // Links an object the scene has adopted at the tail of the list.
    void append(SceneObject& object, int32_t kind);
    void readFaces(Mesh& mesh);
    void readTextureCoordinates(Mesh& mesh);
    void readCameraAnimation(Camera& camera, TargetCamera* targetCamera);
    [[noreturn]] void failAt(size_t where, const std::string& problem) const;
    // "error while reading <file> : <problem> at byte offset <where>" in the log.
    void logProblem(size_t where, const std::string& problem) const;

    std::string fileName;
    std::vector<uint8_t> bytes;
    size_t offset = 0;
    uint64_t tableBytes = 0;  // all per-frame tables expanded so far
    SceneObject objectsHead;  // heads the list of objects read; never handed on
    SceneObject* objectsTail = &objectsHead;
    std::vector<std::pair<const SceneObject*, size_t>> recordOffsets;  // where each object header began
};
