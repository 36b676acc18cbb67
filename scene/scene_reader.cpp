// The scene file from its magic to its material section, and the top-level
// order of its sections.

#include "scene/scene_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/fatal.h"
#include "base/log.h"
#include "scene/kvs_flags.h"
#include "scene/scene.h"

namespace {

constexpr size_t magicLength = 7;

// Smallest records, for checking counts before anything is allocated: a
// material is three colours, its transparency, flags and texture count; a set
// holds at least one; an object header has a one-byte name, flags, tag,
// rotation and two points; a mesh adds a material index, three counts and an
// animation kind; a free camera its kind byte, an animation kind and a fov count.
constexpr size_t smallestMaterial = 3 * 12 + 4 + 1 + 1;
constexpr size_t smallestMaterialSet = 4 + smallestMaterial;
constexpr size_t smallestObjectHeader = 1 + 1 + 2 + 36 + 12 + 12;
constexpr size_t smallestMesh = smallestObjectHeader + 4 + 4 + 4 + 4 + 1;
constexpr size_t smallestCamera = 1 + smallestObjectHeader + 1 + 4;

using namespace kvs_flags;

// Fog modes as D3DFOGMODE numbers them.
constexpr int32_t fogExp = 1;
constexpr int32_t fogExp2 = 2;
constexpr int32_t fogLinear = 3;

constexpr double fogDensityScale = 0.0001;

constexpr double leastTransparency = 0.004;  // anything less is fully opaque

Vector3 readColour(SceneReader& reader, const char* what) {
    const float red = reader.readFloat32(what);
    const float green = reader.readFloat32(what);
    return {red, green, reader.readFloat32(what)};
}

}  // namespace

void SceneReader::load(const char* name) {
    openFile(name);
    logWrite("-----------------------\nLoading File\n-----------------------\n");
    logWrite2("Reading kvor File :", name);
    readMagic();
    readHeader();
    if (version == 2)
        readFog();
    else
        scene.fogMode = 0;
    readMaterials();
    readingCameras = false;
    for (int32_t m = 0; m < scene.meshCount; ++m) readMesh();
    readingCameras = true;
    for (int32_t c = 0; c < scene.cameraCount; ++c) readCamera();
    scene.objects = objectsHead.next;
}

// A file shorter than a magic is as wrong as a wrong magic.
void SceneReader::readMagic() {
    const size_t length = std::min(magicLength, bytes.size());
    const std::string magic(reinterpret_cast<const char*>(bytes.data()), length);
    offset = length;
    logWrite(magic.c_str());
    if (magic == "kvor001") version = 1;
    if (magic == "kvor002") version = 2;
    if (version != 0) return;
    logWrite("wrong version number or incorrect file");
    fatalMessage("error : can't read the file");
}

void SceneReader::readHeader() {
    scene.name = readString("scene name");
    scene.firstFrame = readInt32("first frame");
    scene.lastFrame = readInt32("last frame");
    checkFrameCount();
    scene.frameCount = scene.lastFrame + 1;
    scene.headerValueC = readInt32("header value");
    scene.frameStep = readInt32("frame step");
    scene.meshCount = readCount("mesh count", smallestMesh);
    scene.cameraCount = readCount("camera count", smallestCamera);
    scene.extraCount = readInt32("extra count");
    readEnvironment();
}

// Every per-frame table has lastFrame + 1 entries, a count that an int32 can
// hold. A scene with no frame (lastFrame below 0) loads with empty tables and
// plays no frame.
void SceneReader::checkFrameCount() const {
    if (scene.lastFrame < std::numeric_limits<int32_t>::max()) return;
    fail("last frame " + std::to_string(scene.lastFrame) + " gives no usable frame count");
}

void SceneReader::readEnvironment() {
    const uint8_t flags = readUint8("environment flags");
    if (flags & environmentHasName)
        scene.environmentName = readString("environment name");
    else if (!(flags & environmentWithoutColour))
        scene.environmentColour = readColour(*this, "environment colour");
    if (!(flags & environmentWithoutAmbient)) scene.ambientColour = readColour(*this, "ambient colour");
}

void SceneReader::readFog() {
    const uint8_t flags = readUint8("fog flags");
    scene.fogMode = 0;
    if (!(flags & fogOn)) return;
    if (!(flags & fogExponential)) {
        scene.fogMode = fogLinear;
        scene.fogStart = readFloat32("fog start");
        scene.fogEnd = readFloat32("fog end");
        return;
    }
    scene.fogMode = (flags & fogSquared) ? fogExp2 : fogExp;
    scene.fogDensity = static_cast<float>(readFloat32("fog density") * fogDensityScale);
}

void SceneReader::readMaterials() {
    const int32_t setCount = readCount("material count", smallestMaterialSet);
    scene.materials->reserveSets(setCount);
    for (int32_t index = 0; index < setCount; ++index) readMaterialSet(index);
}

void SceneReader::readMaterialSet(int32_t index) {
    const int32_t subCount = std::max(readCount("sub-material count", smallestMaterial), 1);
    scene.materials->createSet(index, subCount);
    for (int32_t sub = 0; sub < subCount; ++sub) {
        const Vector3 ambient = readPoint("material ambient");
        const Vector3 diffuse = readPoint("material diffuse");
        const Vector3 specular = readPoint("material specular");
        float transparency = readFloat32("material transparency");
        if (transparency < leastTransparency) transparency = 0.0f;
        const uint8_t flags = readUint8("material flags");
        const auto textureCount = static_cast<int8_t>(readUint8("texture count"));
        std::optional<std::string> textureName;
        for (int name = 0; name < textureCount; ++name) {
            std::string read = readString("texture name");
            if (name == 0) textureName = std::move(read);
        }
        scene.materials->assignMaterial(index, sub, textureName ? textureName->c_str() : nullptr, flags,
                                        1.0f - transparency, ambient, diffuse, specular);
    }
}

void SceneReader::append(SceneObject& object, int32_t kind) {
    object.kind = kind;
    objectsTail->next = &object;
    objectsTail = &object;
}

void SceneReader::failAtObject(const SceneObject& object, const std::string& problem) const {
    for (const auto& [recorded, where] : recordOffsets)
        if (recorded == &object) failAt(where, problem);
    fail(problem);
}
